// The folder's bookmark: the place in the file list that the original program kept, and the script and
// line it stood at, in the section "Marcador" of the folder's bookmark file.
#pragma once

#include <QString>

#include "sistema_archivos.h"

struct Marcador
{
    // The position in the file list, as "Indice" holds it: 0 where the file or key is missing, -1 for none.
    int indice = 0;
    // The script's name ("Archivo"); empty where the file has none.
    QString archivo{};
    // The caret's line, from 1 ("Linea"); 0 where the file has none.
    int linea = 0;
};

// The bookmark of `carpeta`. "Indice" is read as the original program reads it: the number at its start,
// rounded, error 6 outside 16 bits. A missing file is an empty bookmark; a file that is there but cannot
// be read, or that is larger than `maximoPerfil`, raises its run-time error.
Marcador LeerMarcador(const QString& carpeta, SistemaArchivos& sistema = SistemaReal());

// Keeps `marcador` in the bookmark file of `carpeta`, its three keys in one replacement of the file; every
// other byte stays. As with EscribirIni a failed write is silent: ComprobarReemplazable tells beforehand
// whether the file may be replaced.
void EscribirMarcador(const QString& carpeta, const Marcador& marcador,
                      SistemaArchivos& sistema = SistemaReal());
