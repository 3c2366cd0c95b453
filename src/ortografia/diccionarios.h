// The Spanish Hunspell dictionaries installed on the machine, found where Hunspell's own tools look.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One installed dictionary: its locale code (es_ES), the name a translator reads and its two files.
struct Diccionario
{
    QString codigo;
    QString nombre;
    QString afijos;   // .aff
    QString palabras; // .dic

    friend bool operator==(const Diccionario&, const Diccionario&) = default;
};

// The folders searched, first wins: each folder of DICPATH, the user's and the system's data folders'
// "hunspell", then the Debian and older MySpell locations.
QStringList CarpetasDiccionarios();

// The Spanish dictionaries (es, es_XX) whose two files can be read, each code once: es_ES first, then
// the rest by readable name.
QList<Diccionario> BuscarDiccionarios(const QStringList& carpetas = CarpetasDiccionarios());

// "Español (España)", "Español (México)": the language and the country in Spanish.
QString NombreLegible(const QString& codigo);
