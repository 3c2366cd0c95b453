// File operations of the editor: whole-file reads, atomic replacement, deletion and folder creation.
// Every failure is raised as the run-time error a translator is shown.
#pragma once

#include <QByteArray>
#include <QString>

// Reads a whole file. Missing file 53, missing folder 76, no permission 70, a folder 75, I/O 57.
QByteArray LeerArchivo(const QString& ruta);

// Replaces the file with `datos` atomically: the bytes go to a temporary file in the same folder,
// which is synced and renamed over the target. After any failure the old file is as it was.
void EscribirArchivoAtomico(const QString& ruta, const QByteArray& datos);

// Deletes a regular file or a symbolic link (never what it points to). Anything else is error 53.
void EliminarArchivo(const QString& ruta);

// Creates one folder; error 75 when something of that name exists.
void CrearCarpeta(const QString& ruta);

// A seam for tests: makes the n-th call (counting from 1, from now on) of one kind of operation fail
// with the given errno value. Operations not scheduled run normally.
enum class OperacionArchivo { Abrir, Leer, Escribir, Vaciar, Renombrar };
void ProgramarFallo(OperacionArchivo operacion, int enesima, int codigoErrno);
void QuitarFallos();
