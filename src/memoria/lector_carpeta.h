// A second, read-only look at one folder's memory database, for the folder's search and status: the
// texts that may hold a piece of text, the lines that hold a text, and each script's lines as indexed.
// It reads the database the memory keeps (see BaseMemoria for its tables) through a connection of its
// own, so that a search never waits behind the memory's indexing; it never writes.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class Conexion;

class LectorCarpeta final
{
public:
    // The folder's database in the memory's folder of databases under the user's cache folder
    // `carpetaCache` (see MemoriaTraduccion); nothing while the memory has not made it yet. Raises
    // ErrorSqlite when it is there but cannot be read.
    static std::unique_ptr<LectorCarpeta> Abrir(const QString& carpetaCache, const QString& carpeta);
    ~LectorCarpeta();
    LectorCarpeta(const LectorCarpeta&) = delete;
    LectorCarpeta& operator=(const LectorCarpeta&) = delete;

    const QString& carpeta() const { return carpeta_; }

    // Reads between the two calls see the database as it was at the first read.
    void EmpezarLectura();
    void TerminarLectura();

    enum class Lado { Originales, Traducciones };
    // The distinct texts of a side that may hold `pieza`, ignoring case, through the trigram index
    // (texts not yet in it included); every text when `pieza` is shorter than three characters. `leer`
    // returns false to stop; then so does this.
    bool Textos(Lado lado, QStringView pieza,
                const std::function<bool(qint64 id, const QString& texto)>& leer);
    QString Texto(Lado lado, qint64 id);

    // A line of a script: the ids of its original and translation texts, 0 where the line is empty.
    struct Linea
    {
        qint64 script = 0;
        qint64 linea = 0;
        qint64 original = 0;
        qint64 traduccion = 0;
    };
    // The lines holding one of the texts `ids` on that side, asked for many at a time.
    void LineasCon(Lado lado, const QList<qint64>& ids, QList<Linea>& lineas);
    // Every line of the folder that is not empty on both sides, in no order; `leer` returns false to stop.
    bool TodasLasLineas(const std::function<bool(const Linea&)>& leer);
    // The scripts' names by id.
    QHash<qint64, QString> Scripts();

    // Each script's figures as indexed, by name: the same as BaseMemoria::Resumen, for code that
    // cannot include the memory's own header (its Huella is also a function of the script checks).
    struct ResumenScript
    {
        QString nombre;
        qint64 lineasOriginal = 0;
        qint64 lineasTraduccion = 0;
        qint64 traducidas = 0;
        qint64 fechaTraduccion = -1; // nanoseconds since the epoch; -1 without a translation
    };
    QList<ResumenScript> Resumen();
    // A script's original and translation lines as indexed, each as long as its file.
    struct TextosScript
    {
        QStringList original;
        QStringList traduccion;
    };
    std::optional<TextosScript> TextosDe(const QString& nombre);

private:
    struct Sentencias;
    LectorCarpeta(const QString& carpeta, const QString& ruta);

    const QString carpeta_;
    std::unique_ptr<Conexion> conexion_;
    std::unique_ptr<Sentencias> sentencias_;
    bool lectura_ = false;
};
