// One folder's part of the translation memory: a SQLite database in the user's cache folder, named after
// the folder, holding every line of the folder's scripts beside the same line of its translation, with
// full-text indexes over the distinct originals and translations; and the queries a lookup and a fill make.
//
// The tables, for every reader of the index:
//   scripts(id, nombre, tamanoOriginal, fechaOriginal, tamanoTraduccion, fechaTraduccion,
//           lineasOriginal, lineasTraduccion, traducidas)
//       one row per script; sizes and times (nanoseconds) of the files as indexed, -1 for a missing
//       translation; `traducidas` counts the non-empty translation lines within the original's count.
//   originales(id, clave, texto), traducciones(id, clave, texto)
//       each distinct non-empty line once; `clave` is a hash of the text.
//   pares(script, linea, original, traduccion)
//       line `linea` (from 0) of a script: the ids of its original and translation texts, NULL where the
//       line is empty or beyond that file's end; lines empty in both are left out.
//   originales_fts, traducciones_fts
//       FTS5 trigram indexes (case-insensitive, without positions) over the two text tables, for
//       substring searches (LIKE and GLOB use them too).
//   originales_palabras
//       an FTS5 word index (unicode61, without positions) over the originals, for the lookup's
//       candidates.
//   The three indexes hold the texts up to the ids kept in datos as 'catalogadas_originales' and
//   'catalogadas_traducciones': while scripts are indexed, new texts join them in batches, and all of
//   them by the end of the pass or after a save.
//   datos(clave, valor)
//       the folder's path ('carpeta'), the code-page choice the scripts were read with ('eleccion').
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

#include "codificacion.h"
#include "lectura.h"
#include "similitud.h"
#include "sistema_archivos.h"
#include "sqlite.h"

class BaseMemoria final
{
public:
    // The database file of `carpeta` in the folder of memories `carpetaBases`.
    static QString RutaBase(const QString& carpetaBases, const QString& carpeta);
    // The folder of the databases within the user's cache folder `carpetaCache`.
    static QString CarpetaBases(const QString& carpetaCache);
    // Removes a database file with its journal files.
    static void Eliminar(const QString& ruta);

    // Opens the folder's database, creating it; one that is damaged, of another version or of another
    // folder is started again. Raises ErrorSqlite when it cannot be opened or written.
    BaseMemoria(const QString& carpeta, const QString& ruta);
    ~BaseMemoria();
    BaseMemoria(const BaseMemoria&) = delete;
    BaseMemoria& operator=(const BaseMemoria&) = delete;

    const QString& carpeta() const { return carpeta_; }
    const QString& ruta() const { return ruta_; }

    // The folder's scripts, once the index has forgotten those no longer there. A changed code-page
    // choice makes every script read again.
    QStringList Preparar(const EleccionCarpeta& eleccion);
    // Reads the script pair again when its files changed since they were indexed, or drops the script
    // when the editor would refuse its original. `ceder` is called every so many lines, and may wait.
    void Indexar(const QString& nombre, const EleccionCarpeta& eleccion, SistemaArchivos& sistema,
                 const std::function<void(const std::function<void()>& soltar)>& ceder = {});
    // What a save wrote: the translation's lines, beside the original's.
    void Guardar(const QString& nombre, const QStringList& traduccion, const EleccionCarpeta& eleccion,
                 SistemaArchivos& sistema);
    // Puts the texts added since into the full-text indexes: all of them, or a batch when enough wait.
    // Until then a new text is found whole (IdOriginal) but not as a candidate.
    void Catalogar(bool todo);
    // Commits the writes made so far, at once or when the transaction has been open a while.
    void Confirmar(bool ahora);
    // A larger page cache while scripts are indexed; the memory is given back afterwards.
    void Indexando(bool indexando);
    // Runs the reads between the two calls in one transaction, unless one is open already.
    void EmpezarLectura();
    void TerminarLectura();

    // A line excluded from a lookup: the caret's own, as last saved.
    struct Excluida
    {
        qint64 script = -1;
        qint64 linea = -1;
    };
    Excluida LineaDe(const QString& nombre, qint64 linea);

    std::optional<qint64> IdOriginal(QStringView texto);
    QString TextoOriginal(qint64 id);
    // Originals that may resemble a text whose search pieces these are, most promising first (those
    // holding more of the pieces), at most `maximo`.
    QList<qint64> Candidatos(const Piezas& piezas, qsizetype maximo);

    // The lines that hold an original beside one of its translations, newest script first, at most
    // `maximo`; the time is the translation's (nanoseconds since the epoch).
    struct Ubicada
    {
        QString script;
        qint64 linea = 0;
        qint64 fecha = 0;
    };
    // The translations an original has, with how many lines use each, and, when asked for, the newest
    // of those lines.
    struct Uso
    {
        qint64 traduccion = 0;
        QString texto;
        int usos = 0;
        Ubicada reciente;
    };
    QList<Uso> Usos(qint64 original, Excluida excluida, bool conRecientes);
    QList<Ubicada> Recientes(qint64 original, const Uso& uso, Excluida excluida, qsizetype maximo);

    // Where each script stands as indexed, by name: the lines of its original and translation, the
    // translation's non-empty lines within the original's count, and when the translation was last
    // written (nanoseconds since the epoch; -1 without one). For the folder's status.
    struct ResumenScript
    {
        QString nombre;
        qint64 lineasOriginal = 0;
        qint64 lineasTraduccion = 0;
        qint64 traducidas = 0;
        qint64 fechaTraduccion = -1;
        friend bool operator==(const ResumenScript&, const ResumenScript&) = default;
    };
    QList<ResumenScript> Resumen();

private:
    struct Tabla;
    struct Sentencias;
    struct Script;

    void CrearEsquema();
    void Escribir();
    std::optional<Script> BuscarScript(const QString& nombre);
    void QuitarLineas(qint64 script);
    void QuitarScript(qint64 id);
    // The next line of a script being indexed; nothing after its last.
    using SiguienteLinea = std::function<std::optional<QString>()>;
    void Reemplazar(const QString& nombre, const SiguienteLinea& originales,
                    const SiguienteLinea& traducciones, Huella original, Huella traduccion);
    qint64 IdTexto(Tabla& tabla, const QString& texto);
    void QuitarTexto(Tabla& tabla, qint64 id);
    QStringList OriginalesGuardados(qint64 script, qint64 lineas);

    const QString carpeta_;
    const QString ruta_;
    std::unique_ptr<Conexion> conexion_;
    std::unique_ptr<Sentencias> sentencias_;
    qint64 inicioTransaccion_ = 0;
    bool lectura_ = false;
};

// Holds one read transaction over the queries of a lookup or a fill (see EmpezarLectura).
class LecturaBase final
{
public:
    explicit LecturaBase(BaseMemoria& base) : base_(base) { base_.EmpezarLectura(); }
    ~LecturaBase()
    {
        try {
            base_.TerminarLectura();
        } catch (const ErrorSqlite&) {
            // A read has nothing to lose; the next query reports what is wrong.
        }
    }
    LecturaBase(const LecturaBase&) = delete;
    LecturaBase& operator=(const LecturaBase&) = delete;

private:
    BaseMemoria& base_;
};
