// What a load learned about the selected script's pair: the two paths, whether the translation was
// read, and the text format of each file (the format a save writes is decided at the save, in
// codificacion.cpp). The window holds the one that the current load committed.
#pragma once

#include <QString>

#include "archivos.h"
#include "huella_texto.h"
#include "texto_archivo.h"

struct ParCargado
{
    QString rutaOriginal{};
    QString rutaTraduccion{};
    // The translation file was opened and read whole (or written by a save).
    bool hayTraducido = false;
    FormatoTexto formatoTraduccion{};
    FormatoTexto formatoOriginal{};
    // Why a translation that is there could not be read ("70:Permiso denegado"); "" when it was read or
    // is missing.
    QString traduccionIlegible{};
    // The original was read whole too: the pair is loaded.
    bool completo = false;
    // The fingerprint of the translation's lines as read (or as last saved): the box holds no unsaved
    // change while its lines have this one. The lines themselves are not kept: the box holds them.
    HuellaTexto traduccionLeida{};
    // The translation file as it was read or last saved (or missing then): a save asks before it
    // replaces a file that someone else changed since.
    HuellaArchivo huellaTraduccion{};
};
