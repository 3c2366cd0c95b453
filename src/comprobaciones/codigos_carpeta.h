// A folder's own code pattern, kept in its bookmark file beside the code-page choice.
#pragma once

#include <QString>

#include "sistema_archivos.h"

// The pattern in `carpeta`/Velarto.vrk, section "Comprobaciones", key "Codigos"; "" when there is none.
QString LeerCodigosCarpeta(const QString& carpeta, SistemaArchivos& sistema = SistemaReal());
// Keeps the pattern, in quotes so that it reads back exactly whatever blanks or quotes open or close it.
// An empty pattern empties the key (the defaults apply again) and never creates the file or the section.
// Every other byte of the file stays as it was; a failed write is silent, as for the bookmark.
void EscribirCodigosCarpeta(const QString& carpeta, const QString& expresion,
                            SistemaArchivos& sistema = SistemaReal());
