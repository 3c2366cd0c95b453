// The scripts of a folder as the memory sees them: what tells that a file changed, and its lines read as
// a load reads them.
#pragma once

#include <optional>

#include <QStringList>

#include "sistema_archivos.h"
#include "texto_archivo.h"

// A file's size and modification time (in nanoseconds); -1 and -1 when it is missing or no regular file.
struct Huella
{
    qint64 tamano = -1;
    qint64 fecha = -1;
    friend bool operator==(const Huella&, const Huella&) = default;
};

Huella HuellaDe(const QString& ruta);

// The file's lines, read with the same reader and code-page rules as a load; nothing when the editor
// would refuse it (missing, no regular file, too large, a line too long to show).
std::optional<QStringList> LeerScript(const QString& ruta, std::optional<Codificacion> eleccion,
                                      SistemaArchivos& sistema);
