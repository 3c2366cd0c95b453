// The format a save of the loaded pair's translation writes.
#pragma once

#include <QStringList>

#include "codificacion.h"
#include "par_cargado.h"

// Decided by the folder's choice, the pair's own files and, for a new translation, the code pages of the
// folder's other translations and of its originals (see FormatoTraduccion).
FormatoTexto FormatoGuardado(const ParCargado& par, const QString& carpeta, TraduccionesCarpeta& traducidas,
                             OriginalesCarpeta& originales, const QStringList& lineas);
