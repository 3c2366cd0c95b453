// The warnings a translator chose to ignore, per translation, kept in the user's data folder and never
// beside the scripts. A warning is ignored on one pair of lines: its key holds the text of both lines, so
// a change of either brings the warning back.
#pragma once

#include <QSet>
#include <QString>

#include "sistema_archivos.h"

// The key of a warning on a pair of lines, from the lines' hashes (ResumenLinea::huella) and the
// warning's text. Stable across runs: it is what the file keeps.
quint64 ClaveAviso(quint64 huellaOriginal, quint64 huellaTraduccion, const QString& texto);

class AvisosIgnorados final
{
public:
    // None, kept nowhere: guardar() does nothing.
    AvisosIgnorados() = default;

    // The warnings ignored in the translation at `rutaTraduccion`, from its file in
    // `carpetaDatos`/ignorados. A missing file, or one that is not a whole list of this version or of
    // this translation, is no warning ignored (and is left as it is).
    static AvisosIgnorados Leer(const QString& carpetaDatos, const QString& rutaTraduccion,
                                SistemaArchivos& sistema = SistemaReal());
    // The file's name for a translation: a readable stem of its name and a hash of its absolute path.
    static QString NombreArchivo(const QString& rutaTraduccion);

    const QString& archivo() const { return archivo_; }
    bool vacio() const { return claves_.isEmpty(); }
    bool contiene(quint64 clave) const { return claves_.contains(clave); }
    void agregar(quint64 clave) { claves_.insert(clave); }
    void quitar(quint64 clave) { claves_.remove(clave); }

    // Writes the list, replacing the file atomically; creates the folder (owner only) when needed.
    // Raises the run-time error of a failed write.
    void guardar(SistemaArchivos& sistema = SistemaReal()) const;

private:
    QString archivo_;
    QString rutaTraduccion_;
    QSet<quint64> claves_;
};
