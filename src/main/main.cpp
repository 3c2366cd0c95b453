// Process entry: the application, its Spanish translation and the editor window.
#include <QApplication>

#include "frmEditor.h"
#include "idioma.h"
#include "senales.h"

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velarto"));
    InstalarTraduccionQt();
    TerminarAlRecibirSenales();

    frmEditor ventana;
    ventana.show();
    return QApplication::exec();
}
