#include "caja_grabadora.h"

Respuesta CajaGrabadora::Mostrar(const QString& texto, Botones botones, Icono icono, const QString& titulo)
{
    mostrados.append({texto, botones, icono, titulo});
    if (!respuestas.isEmpty())
        return respuestas.takeFirst();
    return botones == Botones::Aceptar ? Respuesta::Aceptar : Respuesta::Cancelar;
}

QStringList CajaGrabadora::textos() const
{
    QStringList lista;
    for (const MensajeMostrado& m : mostrados)
        lista.append(m.texto);
    return lista;
}
