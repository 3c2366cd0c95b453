// The folders a script folder adds to its translation memory (other chapters, an earlier game), kept in
// the folder's bookmark file, section "Memoria", keys "Carpeta1", "Carpeta2"… without gaps.
#pragma once

#include <QStringList>

#include "sistema_archivos.h"

// The added folders as the file keeps them, up to the first key missing or empty.
QStringList LeerCarpetasMemoria(const QString& carpeta, SistemaArchivos& sistema = SistemaReal());
// The absolute path of a kept folder: a relative one counts from `carpeta`.
QString RutaAnadida(const QString& carpeta, const QString& valor);
// Keeps `anadidas` as the list, through the profile store, which leaves every other byte of the file as
// it was; the key after the last one is emptied when it held a folder. An empty list never creates the
// section.
void EscribirCarpetasMemoria(const QString& carpeta, const QStringList& anadidas,
                             SistemaArchivos& sistema = SistemaReal());
