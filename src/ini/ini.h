// Reading and writing values of an INI profile file (the bookmark file).
#pragma once

#include <utility>

#include <QList>
#include <QString>
#include <QStringList>

#include "sistema_archivos.h"

// The largest bookmark file read or written: the profile functions' own buffers are far smaller, and a
// larger one is no bookmark file.
inline constexpr qint64 maximoPerfil = qint64(1) << 20;

// The value of `clave` in `seccion` of `archivo`, or "" when the file, section or key is missing or the
// file cannot be read.
// Leaves the caller's `clave` in lower case.
QString LeerIni(const QString& seccion, QString& clave, const QString& archivo,
                SistemaArchivos& sistema = SistemaReal());

// The values of `claves` in `seccion` of `archivo` ("" for each one missing), from one reading of the file.
// Unlike LeerIni, a file that is there but cannot be read (larger than `maximoPerfil`, not a regular file,
// no permission, an I/O error) raises its run-time error; only a missing file reads as empty.
QStringList LeerClaves(const QString& seccion, const QStringList& claves, const QString& archivo,
                       SistemaArchivos& sistema = SistemaReal());

// Writes `valor` under the upper-case form of `clave` in `seccion` of `archivo`, replacing an earlier
// value. A failed write is silent and leaves the file as it was.
void EscribirIni(const QString& seccion, const QString& clave, const QString& valor, const QString& archivo,
                 SistemaArchivos& sistema = SistemaReal());
// Writes several keys of one section as EscribirIni writes each, in one replacement of the file.
void EscribirClaves(const QString& seccion, const QList<std::pair<QString, QString>>& valores,
                    const QString& archivo, SistemaArchivos& sistema = SistemaReal());
