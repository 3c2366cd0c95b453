// Reading and writing one value of an INI profile file.
#pragma once

#include <QString>

#include "sistema_archivos.h"

// The largest bookmark file read or written: the profile functions' own buffers are far smaller, and a
// larger one is no bookmark file.
inline constexpr qint64 maximoPerfil = qint64(1) << 20;

// The value of `clave` in `seccion` of `archivo`, or "" when the file, section or key is missing.
// Leaves the caller's `clave` in lower case.
QString LeerIni(const QString& seccion, QString& clave, const QString& archivo,
                SistemaArchivos& sistema = SistemaReal());

// Writes `valor` under the upper-case form of `clave` in `seccion` of `archivo`, replacing an earlier
// value. A failed write is silent and leaves the file as it was.
void EscribirIni(const QString& seccion, const QString& clave, const QString& valor, const QString& archivo,
                 SistemaArchivos& sistema = SistemaReal());
