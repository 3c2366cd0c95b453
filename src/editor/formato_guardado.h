// The format a save of the loaded pair's translation writes.
#pragma once

#include <optional>

#include <QList>
#include <QStringView>

#include "codificacion.h"
#include "par_cargado.h"

// Decided by the folder's choice, the pair's own files and, for a new translation, the code pages of the
// folder's other translations and of its originals (see FormatoTraduccion).
FormatoTexto FormatoGuardado(const ParCargado& par, const QString& carpeta, TraduccionesCarpeta& traducidas,
                             OriginalesCarpeta& originales, const QList<QStringView>& lineas);
// The code page a save writes whatever the text holds, which refuses a character it cannot write: the
// folder's choice, the translation's own, or the folder's other translations'. None while the text decides
// (a new translation goes into UTF-8 when the original's code page cannot hold it).
std::optional<Codificacion> CodificacionFija(const ParCargado& par, const QString& carpeta,
                                             TraduccionesCarpeta& traducidas);
