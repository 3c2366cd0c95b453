// One draft file: its name from the translation it belongs to, and its contents, a short text header
// followed by the text in UTF-8.
#pragma once

#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "proceso.h"

struct Borrador
{
    QString rutaTraduccion; // absolute and clean
    QDateTime fecha;        // when it was kept, UTC
    QString texto;          // the box's lines joined by '\n'
    // The editor that kept it; unknown for a draft of the first version, which did not say.
    std::optional<IdentidadProceso> escritor = std::nullopt;
};

// The largest text a draft holds, in UTF-8 bytes. The box never holds a text that large in practice;
// a draft file that claims more is not read at all.
inline constexpr qint64 largoMaximoBorrador = qint64(256) * 1024 * 1024;
// Room the header may take before the text starts.
inline constexpr qint64 largoMaximoCabecera = 64 * 1024;

// The folder of the drafts within the user's data folder `carpetaDatos`.
QString CarpetaBorradores(const QString& carpetaDatos);
// The key drafts are filed under: the translation's absolute, clean path.
QString ClaveBorrador(const QString& rutaTraduccion);
// The draft's file name: a readable stem of the script's name and a hash of the translation's path,
// so that scripts of the same name in different folders never share a draft.
QString NombreArchivoBorrador(const QString& rutaTraduccion);
// True for the names NombreArchivoBorrador gives (not for temporary files beside them).
bool EsNombreBorrador(const QString& nombre);

// The file's bytes: version 2, or version 1 when the writer is unknown. Error 6 when the text is larger
// than largoMaximoBorrador.
QByteArray CodificarBorrador(const Borrador& borrador);
// The bytes CodificarBorrador puts before a text of `largoTexto` UTF-8 bytes; the draft's own text is not
// looked at. A long text may so be encoded where the caller likes, to follow the header.
QByteArray CabeceraBorrador(const Borrador& borrador, qint64 largoTexto);
// The draft a file holds, or nothing when the file is not a whole draft of version 1 or 2: a wrong
// first line, a missing or malformed field, a text shorter or longer than announced, invalid UTF-8.
std::optional<Borrador> DecodificarBorrador(const QByteArray& datos);
