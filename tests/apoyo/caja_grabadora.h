// A message box for tests: records every box the window shows and answers as the test scripted.
#pragma once

#include <QList>
#include <QStringList>

#include "mensajes.h"

struct MensajeMostrado
{
    QString texto;
    Botones botones;
    Icono icono;
    QString titulo;
};

class CajaGrabadora final : public CajaMensajes
{
public:
    Respuesta Mostrar(const QString& texto, Botones botones, Icono icono, const QString& titulo) override;

    QStringList textos() const;
    void olvidar() { mostrados.clear(); }

    QList<MensajeMostrado> mostrados;
    // Answers given in order; when none is left, OK boxes answer OK and the others Cancel.
    QList<Respuesta> respuestas;
};
