// What the translation memory answers: the matches for a line, the ways an original was translated,
// the lines a fill gives the box; and the sentences the window shows about them.
#pragma once

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include "similitud.h"

// Where a remembered pair is: the folder (the translator's own or an added one), the script's file name
// and the line, from 0.
struct Ubicacion
{
    QString carpeta;
    QString script;
    qsizetype linea = 0;
    friend bool operator==(const Ubicacion&, const Ubicacion&) = default;
};

// One remembered pair that resembles the line looked up.
struct Coincidencia
{
    // 100 only for an identical original; otherwise at most 99 (see Porcentaje), never under 70.
    int porcentaje = 0;
    QString original;
    QString traduccion;
    // The most recently saved line that holds the pair, and how many lines hold it.
    Ubicacion ubicacion;
    int usos = 0;
    // The stretches of `original` that differ from the line looked up, to highlight.
    QList<Tramo> diferencias;
};

// One way the identical original was translated, and where: the most recently saved lines first, at
// most a few of them (`usos` counts them all).
struct Manera
{
    QString traduccion;
    int usos = 0;
    QDateTime fecha;
    QList<Ubicacion> ubicaciones;
};

struct ResultadoConsulta
{
    // The number Consultar returned.
    quint64 numero = 0;
    QString original;
    // At most five, best first.
    QList<Coincidencia> coincidencias;
    // Every way the identical original was translated in the memory, most used first: two or more
    // call for the notice (TextoManeras).
    QList<Manera> maneras;
};

struct ResultadoRelleno
{
    // The number Rellenar returned.
    quint64 numero = 0;
    // The box's lines after the fill, to apply as one edit; equal to the lines given when nothing was filled.
    QStringList lineas;
    int rellenadas = 0;
};

// "Preparando la memoria: 412 de 1.023 scripts".
QString TextoPreparando(int hechos, int total);
// "Traducido de 2 maneras distintas en la carpeta".
QString TextoManeras(qsizetype maneras);
// Why the memory of a folder cannot be used: "La memoria de traducción no está disponible: …" for the
// translator's folder, "La memoria de la carpeta «…» no está disponible: …" for an added one.
QString TextoNoDisponible(const QString& carpeta, bool propia, const QString& motivo);

Q_DECLARE_METATYPE(ResultadoConsulta)
Q_DECLARE_METATYPE(ResultadoRelleno)
