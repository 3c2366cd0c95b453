// File operations of the editor: whole-file reads, atomic replacement, deletion (to the trash or for good)
// and folder creation.
// Every failure is raised as the run-time error a translator is shown. The calls go through `sistema`.
//
// Only regular files (after links are followed) are read, replaced or deleted, and never one whose mode
// makes it read-only: translators mark finished work that way, and it holds for root too.
#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

#include "sistema_archivos.h"

// The largest script or translation the editor opens. Its text takes twice that in memory, once in the
// box or the list and once while it is decoded, which a desktop can spare; a larger file is no script.
inline constexpr qint64 maximoArchivo = qint64(512) << 20;

// Reads a whole file of at most `maximo` bytes. Missing file 53, missing folder 76, no permission 70,
// a folder 75, I/O 57; a file that is not a regular one (a pipe, a device, a socket) or that is larger
// than `maximo` is error 75 with a message of its own. Opening never blocks.
QByteArray LeerArchivo(const QString& ruta, SistemaArchivos& sistema = SistemaReal(),
                       qint64 maximo = maximoArchivo);
// Reads a file as LeerArchivo does, with the same refusals and errors, a block at a time, so that a reader
// keeps only what it needs: `alAbrir` gets the file's size once it is open, and `bloque` each block in
// turn until it returns false or the file ends.
void RecorrerArchivo(const QString& ruta, const std::function<void(qint64)>& alAbrir,
                     const std::function<bool(QByteArrayView)>& bloque,
                     SistemaArchivos& sistema = SistemaReal(), qint64 maximo = maximoArchivo);

// Replaces the file with `datos` atomically: the bytes go to a temporary file in the same folder,
// which is synced and renamed over the target. After any failure the old file is as it was. The
// temporary has no name until it is complete where the file system allows it; otherwise it is named
// after this process, and the temporaries of processes that are gone are removed by the next write
// into that folder. Error 75 when the target is read-only or not a regular file.
void EscribirArchivoAtomico(const QString& ruta, const QByteArray& datos,
                            SistemaArchivos& sistema = SistemaReal());

// Error 75 when `ruta` exists and is read-only or not a regular file (after links), or holds more than
// `maximo` bytes: such a file is not replaced.
void ComprobarReemplazable(const QString& ruta, qint64 maximo = maximoArchivo);

// Deletes a regular file or a symbolic link (never what it points to). Anything else is error 53; a
// read-only file is error 75.
void EliminarArchivo(const QString& ruta);
// Error 75 when `ruta` is a read-only regular file, which EliminarArchivo refuses; nothing is removed.
void ComprobarNoProtegido(const QString& ruta);

// The user's trash, where file managers show deleted files and restore them: "Trash" in the user's data
// folder ($XDG_DATA_HOME, by default ~/.local/share), the one Qt's moveToTrash takes for files on the
// home's file system. Empty where the user has no data folder.
QString PapeleraDelUsuario();

enum class ResultadoPapelera { EnPapelera, SinPapelera };

// Moves a regular file or a link to the desktop's trash, from which a file manager restores it: the
// user's trash, or for a file on another file system the trash at that file system's top folder. Refuses
// what EliminarArchivo refuses, with the same errors, and raises the error of a move that fails. SinPapelera,
// with the file untouched, where no trash can take it (the user's is on another file system and the
// file's own cannot have one, or the user has no data folder): the caller may then delete the file.
ResultadoPapelera MoverAPapelera(const QString& ruta, SistemaArchivos& sistema = SistemaReal());

// Creates one folder; error 75 when something of that name exists.
void CrearCarpeta(const QString& ruta);

// A size for people, in the Spanish way: "2,0 GiB", "35,4 MiB", "812 bytes".
QString TamanoLegible(qint64 bytes);
