// File operations of the editor: whole-file reads and a record of what was read, replacement of a file
// (atomically, or in place where a new file would lose something), deletion (to the trash or for good)
// and folder creation. Every
// failure is raised as the run-time error a translator is shown. The calls go through `sistema`.
//
// Only regular files (after links are followed) are read, replaced or deleted, and never one whose mode
// makes it read-only: translators mark finished work that way, and it holds for root too.
#pragma once

#include <functional>
#include <stop_token>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "sistema_archivos.h"

// The largest script or translation the editor opens. Its text takes twice that in memory, once in the
// box or the list and once while it is decoded, which a desktop can spare; a larger file is no script.
inline constexpr qint64 maximoArchivo = qint64(512) << 20;

// What a read or a write left on disk, enough to tell later whether the file is still that one. The
// digest is a fast hash of the bytes, made to tell files apart within one run, not a cryptographic one.
struct HuellaArchivo
{
    bool existe = false;
    quint64 dispositivo = 0;
    quint64 nodo = 0;
    qint64 tamano = 0;
    qint64 modificacion = 0; // ns since the epoch
    qint64 cambio = 0;       // the last change of the file's data or attributes, ns since the epoch
    qint64 tomada = 0;       // when this record was taken, ns since the epoch
    size_t resumen = 0;
};

// Reads a whole file of at most `maximo` bytes. Missing file 53, missing folder 76, no permission 70,
// a folder 75, I/O 57; a file that is not a regular one (a pipe, a device, a socket, a loop of links)
// or that is larger than `maximo` is error 75 with a message of its own. Opening never blocks, so this
// is the way every file the editor reads is opened. `huella`, when given, records the file read, or a
// missing file when the read fails. A stop asked through `parar` ends the read early, with only part of
// the file: whoever asked for it throws the result away.
QByteArray LeerArchivo(const QString& ruta, SistemaArchivos& sistema = SistemaReal(),
                       qint64 maximo = maximoArchivo, HuellaArchivo* huella = nullptr,
                       std::stop_token parar = {});

// Reads a file as LeerArchivo does, with the same refusals and errors, a block at a time, so that a reader
// keeps only what it needs: `alAbrir` gets the file's size once it is open, and `bloque` each block in
// turn until it returns false or the file ends.
void RecorrerArchivo(const QString& ruta, const std::function<void(qint64)>& alAbrir,
                     const std::function<bool(QByteArrayView)>& bloque,
                     SistemaArchivos& sistema = SistemaReal(), qint64 maximo = maximoArchivo);

// Whether the file at `ruta` is no longer the one `huella` records: other bytes, there when it was
// missing, or missing when it was there. A file that cannot be read now counts as changed. The bytes
// are read again only when the file's size, times and inode do not settle it.
bool HaCambiado(const QString& ruta, const HuellaArchivo& huella, SistemaArchivos& sistema = SistemaReal());

// How a save replaces a file without losing what the file itself carries.
enum class Reemplazo {
    // A complete new file is renamed over the old one (EscribirArchivoAtomico).
    Atomico,
    // The file has other hard links, or an owner or group that this process cannot give a new file: a
    // new file would split the links or change hands, so the bytes are written into the file itself
    // (EscribirArchivoEnSitio), after the caller has kept its old content elsewhere.
    EnSitio,
};
// How `ruta` (after links) should be replaced; Atomico for a missing file.
Reemplazo ReemplazoPara(const QString& ruta);

// Replaces the file with `datos` atomically: the bytes go to a temporary file in the same folder,
// which is synced and renamed over the target. A symbolic link is followed and its target replaced, in
// the target's folder; the owner, group and mode of the replaced file are kept where the system allows.
// After any failure the old file is as it was. The temporary has no name until it is complete where the
// file system allows it; otherwise it is named after this process, and the temporaries of editors that
// are gone are removed by the next write into that folder (QuitarTemporalesAbandonados). Error 75 when the
// target is read-only or not a regular file. Returns the record of the file written.
HuellaArchivo EscribirArchivoAtomico(const QString& ruta, const QByteArray& datos,
                                     SistemaArchivos& sistema = SistemaReal());

// Gives a file's bytes a stretch at a time: puts the next stretch in `tramo` and returns true, or returns
// false once there is no more.
using ProductorBytes = std::function<bool(QByteArray& tramo)>;

// EscribirArchivoAtomico for a file too large to hold whole once more: its bytes are written as `producir`
// gives them. The same refusals, errors, guarantees and record.
HuellaArchivo EscribirArchivoAtomicoPorTramos(const QString& ruta, const ProductorBytes& producir,
                                              SistemaArchivos& sistema = SistemaReal());

// Writes `datos` into the existing file itself (after links), synced, keeping its inode, links, owner
// and mode; a missing file is written as EscribirArchivoAtomico does. Space for a longer text is taken
// before a byte is overwritten; a write that fails afterwards puts the old bytes back as far as the
// system lets it, and raises the failure all the same: the file may be damaged, so the caller keeps the
// old content before it calls. Errors as EscribirArchivoAtomico.
HuellaArchivo EscribirArchivoEnSitio(const QString& ruta, const QByteArray& datos,
                                     SistemaArchivos& sistema = SistemaReal());

// Removes from `carpeta` the temporaries that editors left behind and nobody will finish: named exactly
// as the editor names them, and written by an editor process that has ended, or by one of another boot
// or machine more than a day ago. Names of earlier versions, which carry the process number alone, are
// removed only when the file is empty. Anything else, a file of the user's included, stays.
void QuitarTemporalesAbandonados(const QString& carpeta);

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
// file's own cannot have one, the user has no data folder or cannot write the trash's information folder,
// or the file's name is too long to be given an information file): the caller may then delete the file.
ResultadoPapelera MoverAPapelera(const QString& ruta, SistemaArchivos& sistema = SistemaReal());

// Raises the error of opening the folder for reading (70 unreadable, 76 missing): a folder whose list
// of files cannot be read.
void ComprobarCarpetaLegible(const QString& carpeta, SistemaArchivos& sistema = SistemaReal());

// Creates one folder; error 75 when something of that name exists.
void CrearCarpeta(const QString& ruta);
// Creates the folder and any missing folder above it with mode 0700, and takes the group's and others'
// access away from the folder itself if it already exists: for what the editor keeps for the user alone.
void CrearCarpetaPrivada(const QString& carpeta);

// The scripts of a folder: its regular, non-hidden files (links to one included) whose names match
// "*.txt" ignoring case, ordered by name ignoring case.
QStringList ArchivosScript(const QString& carpeta);

// A size for people, in the Spanish way: "2,0 GiB", "35,4 MiB", "812 bytes".
QString TamanoLegible(qint64 bytes);
