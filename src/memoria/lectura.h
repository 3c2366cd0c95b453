// The scripts of a folder as the memory sees them: what tells that a file changed, and its lines read as
// a load reads them.
#pragma once

#include <optional>
#include <utility>

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

// A script's lines one at a time, read with the same reader and code-page rules as a load: the memory
// holds a file's bytes while it indexes it, never all its lines at once.
class LineasScript final
{
public:
    // Nothing when the editor would refuse the file (missing, no regular file, too large, a line too long
    // to show).
    static std::optional<LineasScript> Abrir(const QString& ruta, std::optional<Codificacion> eleccion,
                                             SistemaArchivos& sistema);

    // The next line; nothing after the last.
    std::optional<QString> siguiente();

private:
    explicit LineasScript(LectorLineas lector) : lector_(std::move(lector)) {}

    LectorLineas lector_;
};
