// Reading a folder's memory database for the folder's search and status.
#include "lector_carpeta.h"

#include <QFileInfo>

#include "base_memoria.h"
#include "sqlite.h"

namespace {

// As the memory names them: one database per folder.
QString RutaDe(const QString& carpetaCache, const QString& carpeta)
{
    return BaseMemoria::RutaBase(BaseMemoria::CarpetaBases(carpetaCache), carpeta);
}

// An FTS5 query for texts holding every trigram of `pieza`: the index keeps no positions, so a phrase
// cannot be asked for, and the caller checks each text found.
QString ConsultaTrigramas(QStringView pieza)
{
    const QList<uint> puntos = pieza.toUcs4();
    QStringList trigramas;
    for (qsizetype i = 0; i + 3 <= puntos.size(); ++i) {
        QString trigrama = QString::fromUcs4(reinterpret_cast<const char32_t*>(puntos.constData() + i), 3);
        trigramas.append(u'"' + trigrama.replace(u'"', QStringLiteral("\"\"")) + u'"');
    }
    trigramas.removeDuplicates();
    return trigramas.join(QStringLiteral(" AND "));
}

// Texts asked for at a time by LineasCon: one statement instead of one per text.
constexpr int idsPorConsulta = 256;

QByteArray EnLista(const char* columna)
{
    QByteArray sql =
        QByteArray("SELECT script, linea, original, traduccion FROM pares WHERE ") + columna + " IN (?1";
    for (int i = 2; i <= idsPorConsulta; ++i)
        sql += ",?" + QByteArray::number(i);
    return sql + ')';
}

} // namespace

struct LectorCarpeta::Sentencias
{
    explicit Sentencias(Conexion& c)
        : trigramasOriginales(c.preparar("SELECT o.id, o.texto FROM originales_fts f JOIN originales o "
                                         "ON o.id = f.rowid WHERE originales_fts MATCH ?1")),
          trigramasTraducciones(c.preparar("SELECT t.id, t.texto FROM traducciones_fts f JOIN traducciones t "
                                           "ON t.id = f.rowid WHERE traducciones_fts MATCH ?1")),
          desdeOriginales(c.preparar("SELECT id, texto FROM originales WHERE id > ?1")),
          desdeTraducciones(c.preparar("SELECT id, texto FROM traducciones WHERE id > ?1")),
          textoOriginal(c.preparar("SELECT texto FROM originales WHERE id = ?1")),
          textoTraduccion(c.preparar("SELECT texto FROM traducciones WHERE id = ?1")),
          conOriginal(c.preparar(EnLista("original").constData())),
          conTraduccion(c.preparar(EnLista("traduccion").constData())),
          todas(c.preparar("SELECT script, linea, original, traduccion FROM pares")),
          scripts(c.preparar("SELECT id, nombre FROM scripts")),
          resumen(c.preparar("SELECT nombre, lineasOriginal, lineasTraduccion, traducidas, fechaTraduccion "
                             "FROM scripts ORDER BY nombre")),
          script(c.preparar("SELECT id, lineasOriginal, lineasTraduccion FROM scripts WHERE nombre = ?1")),
          pares(c.preparar("SELECT p.linea, o.texto, t.texto FROM pares p "
                           "LEFT JOIN originales o ON o.id = p.original "
                           "LEFT JOIN traducciones t ON t.id = p.traduccion WHERE p.script = ?1")),
          dato(c.preparar("SELECT valor FROM datos WHERE clave = ?1"))
    {
    }

    Sentencia trigramasOriginales;
    Sentencia trigramasTraducciones;
    Sentencia desdeOriginales;
    Sentencia desdeTraducciones;
    Sentencia textoOriginal;
    Sentencia textoTraduccion;
    Sentencia conOriginal;
    Sentencia conTraduccion;
    Sentencia todas;
    Sentencia scripts;
    Sentencia resumen;
    Sentencia script;
    Sentencia pares;
    Sentencia dato;
};

std::unique_ptr<LectorCarpeta> LectorCarpeta::Abrir(const QString& carpetaCache, const QString& carpeta)
{
    const QString ruta = RutaDe(carpetaCache, carpeta);
    // Opening would create it, and the memory would then find a database that is not its own.
    if (!QFileInfo(ruta).isFile())
        return nullptr;
    std::unique_ptr<LectorCarpeta> lector(new LectorCarpeta(carpeta, ruta));
    return lector->sentencias_ ? std::move(lector) : nullptr;
}

LectorCarpeta::LectorCarpeta(const QString& carpeta, const QString& ruta)
    : carpeta_(carpeta), conexion_(std::make_unique<Conexion>(ruta))
{
    conexion_->ejecutar("PRAGMA busy_timeout = 3000; PRAGMA query_only = 1;");
    Sentencia version = conexion_->preparar("PRAGMA user_version");
    // A database the memory has not finished making yet has no tables to read.
    if (version.paso() && version.entero(0) >= 1)
        sentencias_ = std::make_unique<Sentencias>(*conexion_);
}

LectorCarpeta::~LectorCarpeta()
{
    try {
        TerminarLectura();
    } catch (const ErrorSqlite&) {
        // A read has nothing to lose.
    }
    sentencias_.reset();
}

void LectorCarpeta::EmpezarLectura()
{
    if (std::exchange(lectura_, true))
        return;
    conexion_->ejecutar("BEGIN");
}

void LectorCarpeta::TerminarLectura()
{
    if (std::exchange(lectura_, false))
        conexion_->ejecutar("COMMIT");
}

bool LectorCarpeta::Textos(Lado lado, QStringView pieza,
                           const std::function<bool(qint64 id, const QString& texto)>& leer)
{
    const bool originales = lado == Lado::Originales;
    qint64 desde = 0;
    if (pieza.size() >= 3) {
        Sentencia& dato = sentencias_->dato;
        dato.ligar(1, originales ? u"catalogadas_originales" : u"catalogadas_traducciones");
        desde = dato.paso() ? dato.texto(0).toLongLong() : 0;
        dato.reiniciar();
        Sentencia& s = originales ? sentencias_->trigramasOriginales : sentencias_->trigramasTraducciones;
        s.ligar(1, ConsultaTrigramas(pieza));
        bool seguir = true;
        while (seguir && s.paso())
            seguir = leer(s.entero(0), s.texto(1));
        s.reiniciar();
        if (!seguir)
            return false;
    }
    // Texts the trigram index does not hold yet, or all of them.
    Sentencia& s = originales ? sentencias_->desdeOriginales : sentencias_->desdeTraducciones;
    s.ligar(1, desde);
    bool seguir = true;
    while (seguir && s.paso())
        seguir = leer(s.entero(0), s.texto(1));
    s.reiniciar();
    return seguir;
}

QString LectorCarpeta::Texto(Lado lado, qint64 id)
{
    Sentencia& s = lado == Lado::Originales ? sentencias_->textoOriginal : sentencias_->textoTraduccion;
    s.ligar(1, id);
    QString texto = s.paso() ? s.texto(0) : QString();
    s.reiniciar();
    return texto;
}

void LectorCarpeta::LineasCon(Lado lado, const QList<qint64>& ids, QList<Linea>& lineas)
{
    Sentencia& s = lado == Lado::Originales ? sentencias_->conOriginal : sentencias_->conTraduccion;
    for (qsizetype desde = 0; desde < ids.size(); desde += idsPorConsulta) {
        // A last short batch repeats its first id, which finds nothing new: IN takes each line once.
        for (int i = 0; i < idsPorConsulta; ++i)
            s.ligar(i + 1, ids[desde + i < ids.size() ? desde + i : desde]);
        while (s.paso())
            lineas.append(
                {s.entero(0), s.entero(1), s.nulo(2) ? 0 : s.entero(2), s.nulo(3) ? 0 : s.entero(3)});
        s.reiniciar();
    }
}

bool LectorCarpeta::TodasLasLineas(const std::function<bool(const Linea&)>& leer)
{
    Sentencia& s = sentencias_->todas;
    bool seguir = true;
    while (seguir && s.paso())
        seguir = leer({s.entero(0), s.entero(1), s.nulo(2) ? 0 : s.entero(2), s.nulo(3) ? 0 : s.entero(3)});
    s.reiniciar();
    return seguir;
}

QHash<qint64, QString> LectorCarpeta::Scripts()
{
    QHash<qint64, QString> nombres;
    Sentencia& s = sentencias_->scripts;
    while (s.paso())
        nombres.insert(s.entero(0), s.texto(1));
    s.reiniciar();
    return nombres;
}

QList<LectorCarpeta::ResumenScript> LectorCarpeta::Resumen()
{
    QList<ResumenScript> resumen;
    Sentencia& s = sentencias_->resumen;
    while (s.paso())
        resumen.append({s.texto(0), s.entero(1), s.entero(2), s.entero(3), s.entero(4)});
    s.reiniciar();
    return resumen;
}

std::optional<LectorCarpeta::TextosScript> LectorCarpeta::TextosDe(const QString& nombre)
{
    Sentencia& s = sentencias_->script;
    s.ligar(1, nombre);
    if (!s.paso()) {
        s.reiniciar();
        return std::nullopt;
    }
    const qint64 id = s.entero(0);
    TextosScript textos;
    textos.original.resize(s.entero(1));
    textos.traduccion.resize(s.entero(2));
    s.reiniciar();
    Sentencia& p = sentencias_->pares;
    p.ligar(1, id);
    while (p.paso()) {
        const qint64 linea = p.entero(0);
        if (linea < textos.original.size() && !p.nulo(1))
            textos.original[linea] = p.texto(1);
        if (linea < textos.traduccion.size() && !p.nulo(2))
            textos.traduccion[linea] = p.texto(2);
    }
    p.reiniciar();
    return textos;
}
