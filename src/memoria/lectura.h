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
    // to show). `sistema` must outlive the script.
    static std::optional<LineasScript> Abrir(const QString& ruta, std::optional<Codificacion> eleccion,
                                             SistemaArchivos& sistema);

    // The next line; nothing after the last.
    std::optional<QString> siguiente();
    // Lets go of the file's bytes while the indexing waits: the next line reads the file again and goes
    // on after the lines already given. A file refused by then ends there; one changed by then gives its
    // own lines from that point, and its new date has the script indexed again at the next opening.
    void Soltar() { lector_.reset(); }

private:
    LineasScript(const QString& ruta, std::optional<Codificacion> eleccion, SistemaArchivos& sistema,
                 LectorLineas lector)
        : ruta_(ruta), eleccion_(eleccion), sistema_(&sistema), lector_(std::move(lector))
    {
    }
    static std::optional<LectorLineas> Leer(const QString& ruta, std::optional<Codificacion> eleccion,
                                            SistemaArchivos& sistema);

    QString ruta_;
    std::optional<Codificacion> eleccion_;
    SistemaArchivos* sistema_;
    std::optional<LectorLineas> lector_;
    qint64 dadas_ = 0;
    bool terminado_ = false;
};
