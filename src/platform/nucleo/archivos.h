// File operations of the editor: whole-file reads, atomic replacement, deletion and folder creation.
// Every failure is raised as the run-time error a translator is shown. The calls go through `sistema`.
#pragma once

#include <QByteArray>
#include <QString>

#include "sistema_archivos.h"

// Reads a whole file. Missing file 53, missing folder 76, no permission 70, a folder 75, I/O 57.
QByteArray LeerArchivo(const QString& ruta, SistemaArchivos& sistema = SistemaReal());

// Replaces the file with `datos` atomically: the bytes go to a temporary file in the same folder,
// which is synced and renamed over the target. After any failure the old file is as it was.
void EscribirArchivoAtomico(const QString& ruta, const QByteArray& datos,
                            SistemaArchivos& sistema = SistemaReal());

// Deletes a regular file or a symbolic link (never what it points to). Anything else is error 53.
void EliminarArchivo(const QString& ruta);

// Creates one folder; error 75 when something of that name exists.
void CrearCarpeta(const QString& ruta);
