// Qt's keys and modifiers in the traditional numbers.
#include "teclas.h"

int CodigoTecla(int teclaQt)
{
    switch (teclaQt) {
    case Qt::Key_Delete:
        return Teclas::Supr;
    case Qt::Key_F12:
        return Teclas::F12;
    default:
        return 0;
    }
}

int EstadoShift(Qt::KeyboardModifiers modificadores)
{
    return (modificadores & Qt::ShiftModifier ? Shift::Mayusculas : 0) |
           (modificadores & Qt::ControlModifier ? Shift::Control : 0) |
           (modificadores & Qt::AltModifier ? Shift::Alt : 0);
}
