// One folder's database: its tables, keeping them up to date with the folder's files, and the queries.
#include "base_memoria.h"

#include <algorithm>
#include <chrono>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "archivos.h"
#include "carpeta_scripts.h"

namespace {

constexpr qint64 versionEsquema = 1;
// A transaction stays open this long while scripts are indexed: one commit per script would spend
// more on syncing than on indexing, and a killed editor loses at most this stretch, which the next
// opening indexes again.
constexpr qint64 msPorTransaccion = 10000;
// Rows a search piece may bring before it counts as too common to tell candidates apart.
constexpr qint64 maximoPorPieza = 300;
// New texts put into the trigram index at a time while scripts are indexed.
constexpr qint64 textosPorCatalogo = 20000;
// New texts in the indexes that make merging them worth while.
constexpr qint64 textosPorOptimizacion = 50000;
// Lines of a pair above which its newest lines are looked for script by script.
constexpr int usosParaOrdenar = 64;
// Common words looked up together when rare ones cannot find every candidate.
constexpr qsizetype maximoComunes = 3;

const char* const esquema = R"(
BEGIN;
CREATE TABLE datos(clave TEXT PRIMARY KEY, valor TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE scripts(id INTEGER PRIMARY KEY, nombre TEXT NOT NULL UNIQUE,
    tamanoOriginal INTEGER NOT NULL, fechaOriginal INTEGER NOT NULL,
    tamanoTraduccion INTEGER NOT NULL, fechaTraduccion INTEGER NOT NULL,
    lineasOriginal INTEGER NOT NULL, lineasTraduccion INTEGER NOT NULL, traducidas INTEGER NOT NULL);
CREATE INDEX scripts_fecha ON scripts(fechaTraduccion, nombre);
CREATE TABLE originales(id INTEGER PRIMARY KEY AUTOINCREMENT, clave INTEGER NOT NULL, texto TEXT NOT NULL);
CREATE INDEX originales_clave ON originales(clave);
CREATE TABLE traducciones(id INTEGER PRIMARY KEY AUTOINCREMENT, clave INTEGER NOT NULL, texto TEXT NOT NULL);
CREATE INDEX traducciones_clave ON traducciones(clave);
CREATE TABLE pares(script INTEGER NOT NULL, linea INTEGER NOT NULL, original INTEGER, traduccion INTEGER,
    PRIMARY KEY(script, linea)) WITHOUT ROWID;
CREATE INDEX pares_original ON pares(original, traduccion) WHERE original IS NOT NULL;
CREATE INDEX pares_traduccion ON pares(traduccion) WHERE traduccion IS NOT NULL;
CREATE VIRTUAL TABLE originales_fts USING fts5(texto, content='originales', content_rowid='id',
    tokenize='trigram', detail='none', columnsize=0);
CREATE VIRTUAL TABLE traducciones_fts USING fts5(texto, content='traducciones', content_rowid='id',
    tokenize='trigram', detail='none', columnsize=0);
CREATE VIRTUAL TABLE originales_palabras USING fts5(texto, content='originales', content_rowid='id',
    tokenize='unicode61', detail='none', columnsize=0);
INSERT INTO datos(clave, valor) VALUES ('catalogadas_originales', '0'), ('catalogadas_traducciones', '0');
)";

qint64 MsAhora()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// FNV-1a over the UTF-16 units: the same on every machine and in every run, unlike qHash.
qint64 Clave(QStringView texto)
{
    quint64 h = 14695981039346656037ULL;
    for (const QChar c : texto) {
        h = (h ^ (c.unicode() & 0xff)) * 1099511628211ULL;
        h = (h ^ (c.unicode() >> 8)) * 1099511628211ULL;
    }
    return qint64(h);
}

// The FTS5 query for texts holding every trigram of a piece.
QString Expresion(const QString& pieza)
{
    const QList<uint> codigos = pieza.toUcs4();
    QStringList trigramas;
    for (qsizetype i = 0; i + 3 <= codigos.size(); ++i) {
        QString trigrama = QString::fromUcs4(reinterpret_cast<const char32_t*>(codigos.constData() + i), 3);
        trigramas.append(u'"' + trigrama.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"');
    }
    return trigramas.join(u" AND ");
}

QString NombreEleccion(const EleccionCarpeta& eleccion)
{
    const auto nombre = [](const std::optional<Codificacion>& c) {
        return c ? c->nombre() : QString();
    };
    return nombre(eleccion.original) + u'|' + nombre(eleccion.traduccion);
}

} // namespace

struct BaseMemoria::Script
{
    qint64 id = 0;
    Huella original;
    Huella traduccion;
    qint64 lineasOriginal = 0;
};

// One of the two text tables, originals or translations, and the full-text indexes over it.
struct BaseMemoria::Tabla
{
    // The statements that keep one full-text index.
    struct Indice
    {
        Sentencia indexar;
        Sentencia desindexar;
        Sentencia optimizar;
    };

    Tabla(Conexion& c, const char* tabla, const char* columna, std::initializer_list<const char*> indices)
        : nombre(tabla), claveCatalogo(QString(u"catalogadas_" + QLatin1StringView(tabla))),
          buscar(Preparar(c, "SELECT id FROM %1 WHERE clave = ?1 AND texto = ?2")),
          insertar(Preparar(c, "INSERT INTO %1(clave, texto) VALUES (?1, ?2)")),
          texto(Preparar(c, "SELECT texto FROM %1 WHERE id = ?1")),
          huerfano(Preparar(c, QStringLiteral("SELECT texto FROM %1 WHERE id = ?1 AND NOT EXISTS "
                                              "(SELECT 1 FROM pares WHERE %2 = ?1)")
                                   .arg(QString::fromLatin1(tabla), QString::fromLatin1(columna)))),
          borrar(Preparar(c, "DELETE FROM %1 WHERE id = ?1")),
          hasta(Preparar(c, "SELECT max(id) FROM (SELECT id FROM %1 WHERE id > ?1 ORDER BY id LIMIT ?2)")),
          pendientes(Preparar(c, "SELECT count(*) FROM %1 WHERE id > ?1"))
    {
        for (const char* indice : indices) {
            const auto sql = [&](const char* plantilla) {
                // By name: not every statement names the table.
                return Preparar(c, QString::fromLatin1(plantilla)
                                       .replace(QStringLiteral("%1"), QString::fromLatin1(tabla))
                                       .replace(QStringLiteral("%2"), QString::fromLatin1(indice)));
            };
            indices_.push_back(
                {sql("INSERT INTO %2(rowid, texto) SELECT id, texto FROM %1 WHERE id > ?1 AND id <= ?2"),
                 sql("INSERT INTO %2(%2, rowid, texto) VALUES ('delete', ?1, ?2)"),
                 sql("INSERT INTO %2(%2) VALUES ('optimize')")});
        }
    }

    static Sentencia Preparar(Conexion& c, const QString& sql)
    {
        return c.preparar(sql.toUtf8().constData());
    }
    Sentencia Preparar(Conexion& c, const char* sql) const
    {
        return Preparar(c, QString::fromLatin1(sql).arg(QString::fromLatin1(nombre)));
    }

    const char* nombre;
    const QString claveCatalogo; // in datos
    Sentencia buscar;
    Sentencia insertar;
    Sentencia texto;
    Sentencia huerfano;
    Sentencia borrar;
    Sentencia hasta;
    Sentencia pendientes;
    std::vector<Indice> indices_;
    // Texts up to this id are in the full-text indexes; later ones are added in batches (Catalogar).
    qint64 catalogadas = 0;
    qint64 porCatalogar = 0;
    // Texts added to the indexes since they were last merged into one segment each.
    qint64 sinOptimizar = 0;
};

struct BaseMemoria::Sentencias
{
    explicit Sentencias(Conexion& c)
        : originales(c, "originales", "original", {"originales_fts", "originales_palabras"}),
          traducciones(c, "traducciones", "traduccion", {"traducciones_fts"}),
          buscarScript(
              c.preparar("SELECT id, tamanoOriginal, fechaOriginal, tamanoTraduccion, fechaTraduccion, "
                         "lineasOriginal FROM scripts WHERE nombre = ?1")),
          nombresScripts(c.preparar("SELECT id, nombre FROM scripts")),
          insertarScript(
              c.preparar("INSERT INTO scripts(nombre, tamanoOriginal, fechaOriginal, tamanoTraduccion, "
                         "fechaTraduccion, lineasOriginal, lineasTraduccion, traducidas) "
                         "VALUES (?1, -1, -1, -1, -1, 0, 0, 0)")),
          actualizarScript(c.preparar("UPDATE scripts SET tamanoOriginal = ?2, fechaOriginal = ?3, "
                                      "tamanoTraduccion = ?4, fechaTraduccion = ?5, lineasOriginal = ?6, "
                                      "lineasTraduccion = ?7, traducidas = ?8 WHERE id = ?1")),
          borrarScript(c.preparar("DELETE FROM scripts WHERE id = ?1")),
          releerTodos(c.preparar("UPDATE scripts SET tamanoOriginal = -2")),
          idsDeScript(c.preparar("SELECT original, traduccion FROM pares WHERE script = ?1")),
          borrarPares(c.preparar("DELETE FROM pares WHERE script = ?1")),
          insertarPar(
              c.preparar("INSERT INTO pares(script, linea, original, traduccion) VALUES (?1, ?2, ?3, ?4)")),
          originalesGuardados(c.preparar("SELECT p.linea, o.texto FROM pares p JOIN originales o "
                                         "ON o.id = p.original WHERE p.script = ?1")),
          conPalabra(c.preparar("SELECT rowid FROM originales_palabras WHERE originales_palabras MATCH ?1 "
                                "LIMIT ?2")),
          conTrigramas(c.preparar("SELECT rowid FROM originales_fts WHERE originales_fts MATCH ?1 LIMIT ?2")),
          usos(c.preparar(
              "SELECT traduccion, count(*) FROM pares WHERE original = ?1 AND traduccion IS NOT NULL "
              "AND NOT (script = ?2 AND linea = ?3) GROUP BY traduccion")),
          recientes(
              c.preparar("SELECT s.nombre, p.linea, s.fechaTraduccion FROM pares p "
                         "JOIN scripts s ON s.id = p.script WHERE p.original = ?1 AND p.traduccion = ?2 "
                         "AND NOT (p.script = ?3 AND p.linea = ?4) "
                         "ORDER BY s.fechaTraduccion DESC, s.nombre DESC, p.linea LIMIT ?5")),
          scriptsRecientes(c.preparar("SELECT s.id, s.nombre, s.fechaTraduccion FROM scripts s WHERE EXISTS "
                                      "(SELECT 1 FROM pares p WHERE p.original = ?1 AND p.traduccion = ?2 "
                                      "AND p.script = s.id AND NOT (p.script = ?3 AND p.linea = ?4)) "
                                      "ORDER BY s.fechaTraduccion DESC, s.nombre DESC LIMIT ?5")),
          lineasEnScript(
              c.preparar("SELECT linea FROM pares WHERE original = ?1 AND traduccion = ?2 "
                         "AND script = ?3 AND NOT (script = ?4 AND linea = ?5) ORDER BY linea LIMIT ?6")),
          leerDato(c.preparar("SELECT valor FROM datos WHERE clave = ?1")),
          escribirDato(c.preparar("INSERT OR REPLACE INTO datos(clave, valor) VALUES (?1, ?2)"))
    {
    }

    Tabla originales;
    Tabla traducciones;
    Sentencia buscarScript;
    Sentencia nombresScripts;
    Sentencia insertarScript;
    Sentencia actualizarScript;
    Sentencia borrarScript;
    Sentencia releerTodos;
    Sentencia idsDeScript;
    Sentencia borrarPares;
    Sentencia insertarPar;
    Sentencia originalesGuardados;
    Sentencia conPalabra;
    Sentencia conTrigramas;
    Sentencia usos;
    Sentencia recientes;
    Sentencia scriptsRecientes;
    Sentencia lineasEnScript;
    Sentencia leerDato;
    Sentencia escribirDato;
};

QString BaseMemoria::RutaBase(const QString& carpetaBases, const QString& carpeta)
{
    QString canonica = QFileInfo(carpeta).canonicalFilePath();
    if (canonica.isEmpty())
        canonica = QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(canonica.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(carpetaBases).filePath(QString::fromLatin1(hash) + u".sqlite");
}

void BaseMemoria::Eliminar(const QString& ruta)
{
    for (const QString& resto : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(ruta + resto);
}

BaseMemoria::BaseMemoria(const QString& carpeta, const QString& ruta)
    : carpeta_(QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath())), ruta_(ruta)
{
    const auto abrir = [this] {
        conexion_ = std::make_unique<Conexion>(ruta_);
        // Readers never wait for the writer, and nothing is synced: the database is a cache, a crash of
        // the editor loses nothing committed, and what a power cut damages is built again.
        conexion_->ejecutar(
            "PRAGMA busy_timeout = 3000; PRAGMA journal_mode = WAL; PRAGMA synchronous = OFF; "
            "PRAGMA wal_autocheckpoint = 4096; PRAGMA cache_size = -16384; PRAGMA temp_store = MEMORY;");
        Sentencia version = conexion_->preparar("PRAGMA user_version");
        return version.paso() ? version.entero(0) : 0;
    };
    // A fresh database in place of whatever the file held.
    const auto empezar = [&] {
        sentencias_.reset();
        conexion_.reset();
        Eliminar(ruta_);
        abrir();
        CrearEsquema();
        sentencias_ = std::make_unique<Sentencias>(*conexion_);
    };
    try {
        bool suya = abrir() == versionEsquema;
        if (suya) {
            sentencias_ = std::make_unique<Sentencias>(*conexion_);
            Sentencia& leer = sentencias_->leerDato;
            leer.ligar(1, u"carpeta");
            suya = leer.paso() && leer.texto(0) == carpeta_;
            leer.reiniciar();
        }
        if (!suya)
            empezar();
    } catch (const ErrorSqlite& error) {
        if (!error.esDano())
            throw;
        empezar();
    }
    for (Tabla* tabla : {&sentencias_->originales, &sentencias_->traducciones}) {
        Sentencia& leer = sentencias_->leerDato;
        leer.ligar(1, tabla->claveCatalogo);
        tabla->catalogadas = leer.paso() ? leer.texto(0).toLongLong() : 0;
        leer.reiniciar();
        tabla->pendientes.ligar(1, tabla->catalogadas);
        tabla->porCatalogar = tabla->pendientes.paso() ? tabla->pendientes.entero(0) : 0;
        tabla->pendientes.reiniciar();
    }
}

BaseMemoria::~BaseMemoria()
{
    try {
        Confirmar(true);
    } catch (const ErrorSqlite&) {
        // What was not committed is indexed again at the next opening.
    }
    sentencias_.reset();
}

void BaseMemoria::CrearEsquema()
{
    conexion_->ejecutar(esquema);
    Sentencia dato = conexion_->preparar("INSERT INTO datos(clave, valor) VALUES ('carpeta', ?1)");
    dato.ligar(1, carpeta_).ejecutar();
    conexion_->ejecutar("PRAGMA user_version = 1; COMMIT;");
}

void BaseMemoria::Escribir()
{
    if (conexion_->enTransaccion())
        return;
    conexion_->ejecutar("BEGIN IMMEDIATE");
    inicioTransaccion_ = MsAhora();
}

void BaseMemoria::Confirmar(bool ahora)
{
    if (conexion_->enTransaccion() && (ahora || MsAhora() - inicioTransaccion_ >= msPorTransaccion))
        conexion_->ejecutar("COMMIT");
}

void BaseMemoria::Indexando(bool indexando)
{
    // Indexing inserts all over the text and pair indexes; a cache that holds most of them spares
    // reading and writing the same pages again and again. Lookups need far less.
    if (indexando) {
        conexion_->ejecutar("PRAGMA cache_size = -65536");
    } else {
        // The journal that indexing filled goes into the database, and its file back to nothing.
        conexion_->ejecutar("PRAGMA cache_size = -16384; PRAGMA wal_checkpoint(TRUNCATE);");
        conexion_->liberarMemoria();
    }
}

void BaseMemoria::EmpezarLectura()
{
    if (conexion_->enTransaccion())
        return;
    conexion_->ejecutar("BEGIN");
    lectura_ = true;
}

void BaseMemoria::TerminarLectura()
{
    if (std::exchange(lectura_, false))
        conexion_->ejecutar("COMMIT");
}

std::optional<BaseMemoria::Script> BaseMemoria::BuscarScript(const QString& nombre)
{
    Sentencia& s = sentencias_->buscarScript;
    s.ligar(1, nombre);
    std::optional<Script> script;
    if (s.paso())
        script = Script{s.entero(0), {s.entero(1), s.entero(2)}, {s.entero(3), s.entero(4)}, s.entero(5)};
    s.reiniciar();
    return script;
}

QStringList BaseMemoria::Preparar(const EleccionCarpeta& eleccion)
{
    Sentencias& s = *sentencias_;
    const QString nombreEleccion = NombreEleccion(eleccion);
    s.leerDato.ligar(1, u"eleccion");
    const std::optional<QString> anterior =
        s.leerDato.paso() ? std::optional(s.leerDato.texto(0)) : std::nullopt;
    s.leerDato.reiniciar();
    if (anterior != nombreEleccion) {
        Escribir();
        // Scripts are read in the folder's code pages: another choice may read every line differently.
        s.releerTodos.ejecutar();
        s.escribirDato.ligar(1, u"eleccion").ligar(2, nombreEleccion).ejecutar();
    }
    const QStringList nombres = ArchivosScript(carpeta_);
    const QSet<QString> presentes(nombres.cbegin(), nombres.cend());
    QList<qint64> quitados;
    while (s.nombresScripts.paso()) {
        if (!presentes.contains(s.nombresScripts.texto(1)))
            quitados.append(s.nombresScripts.entero(0));
    }
    s.nombresScripts.reiniciar();
    for (const qint64 id : quitados)
        QuitarScript(id);
    return nombres;
}

// Removes a script's lines, and the texts no other line uses.
void BaseMemoria::QuitarLineas(qint64 script)
{
    Sentencias& s = *sentencias_;
    QSet<qint64> originales;
    QSet<qint64> traducciones;
    s.idsDeScript.ligar(1, script);
    while (s.idsDeScript.paso()) {
        if (!s.idsDeScript.nulo(0))
            originales.insert(s.idsDeScript.entero(0));
        if (!s.idsDeScript.nulo(1))
            traducciones.insert(s.idsDeScript.entero(1));
    }
    s.idsDeScript.reiniciar();
    s.borrarPares.ligar(1, script).ejecutar();
    for (const qint64 id : originales)
        QuitarTexto(s.originales, id);
    for (const qint64 id : traducciones)
        QuitarTexto(s.traducciones, id);
}

// Removes a text no line uses any more, from its table and its trigram index.
void BaseMemoria::QuitarTexto(Tabla& tabla, qint64 id)
{
    tabla.huerfano.ligar(1, id);
    const std::optional<QString> texto =
        tabla.huerfano.paso() ? std::optional(tabla.huerfano.texto(0)) : std::nullopt;
    tabla.huerfano.reiniciar();
    if (!texto)
        return;
    if (id <= tabla.catalogadas) {
        for (Tabla::Indice& indice : tabla.indices_)
            indice.desindexar.ligar(1, id).ligar(2, *texto).ejecutar();
    }
    tabla.borrar.ligar(1, id).ejecutar();
}

void BaseMemoria::QuitarScript(qint64 id)
{
    Escribir();
    QuitarLineas(id);
    sentencias_->borrarScript.ligar(1, id).ejecutar();
}

void BaseMemoria::Indexar(const QString& nombre, const EleccionCarpeta& eleccion, SistemaArchivos& sistema)
{
    // The files' marks before their contents: a change while they are read shows at the next opening.
    const QString rutaOriginal = CarpetaScripts::RutaOriginal(carpeta_, nombre);
    const QString rutaTraduccion = CarpetaScripts::RutaTraduccion(carpeta_, nombre);
    const Huella original = HuellaDe(rutaOriginal);
    const Huella traduccion = HuellaDe(rutaTraduccion);
    const std::optional<Script> script = BuscarScript(nombre);
    if (script && script->original == original && script->traduccion == traduccion)
        return;
    const std::optional<QStringList> originales = LeerScript(rutaOriginal, eleccion.original, sistema);
    if (!originales) {
        if (script)
            QuitarScript(script->id);
        return;
    }
    const QStringList traducciones =
        traduccion.tamano < 0
            ? QStringList()
            : LeerScript(rutaTraduccion, eleccion.traduccion, sistema).value_or(QStringList());
    Reemplazar(nombre, *originales, traducciones, original, traduccion);
}

void BaseMemoria::Guardar(const QString& nombre, const QStringList& traduccion,
                          const EleccionCarpeta& eleccion, SistemaArchivos& sistema)
{
    const QString rutaOriginal = CarpetaScripts::RutaOriginal(carpeta_, nombre);
    const Huella original = HuellaDe(rutaOriginal);
    const Huella huellaTraduccion = HuellaDe(CarpetaScripts::RutaTraduccion(carpeta_, nombre));
    const std::optional<Script> script = BuscarScript(nombre);
    QStringList originales;
    if (script && script->original == original) {
        originales = OriginalesGuardados(script->id, script->lineasOriginal);
    } else {
        const std::optional<QStringList> leidas = LeerScript(rutaOriginal, eleccion.original, sistema);
        if (!leidas)
            return;
        originales = *leidas;
    }
    Reemplazar(nombre, originales, traduccion, original, huellaTraduccion);
}

QStringList BaseMemoria::OriginalesGuardados(qint64 script, qint64 lineas)
{
    QStringList originales(lineas);
    Sentencia& s = sentencias_->originalesGuardados;
    s.ligar(1, script);
    while (s.paso()) {
        if (const qint64 linea = s.entero(0); linea < lineas)
            originales[linea] = s.texto(1);
    }
    s.reiniciar();
    return originales;
}

void BaseMemoria::Reemplazar(const QString& nombre, const QStringList& originales,
                             const QStringList& traducciones, Huella original, Huella traduccion)
{
    Escribir();
    Sentencias& s = *sentencias_;
    qint64 id = 0;
    if (const std::optional<Script> script = BuscarScript(nombre)) {
        id = script->id;
        QuitarLineas(id);
    } else {
        s.insertarScript.ligar(1, nombre).ejecutar();
        id = conexion_->ultimoId();
    }
    qint64 traducidas = 0;
    const qsizetype lineas = std::max(originales.size(), traducciones.size());
    for (qsizetype i = 0; i < lineas; ++i) {
        const QString o = originales.value(i);
        const QString t = traducciones.value(i);
        if (i < originales.size() && !t.isEmpty())
            ++traducidas;
        if (o.isEmpty() && t.isEmpty())
            continue;
        s.insertarPar.ligar(1, id).ligar(2, i);
        if (o.isEmpty())
            s.insertarPar.ligarNulo(3);
        else
            s.insertarPar.ligar(3, IdTexto(s.originales, o));
        if (t.isEmpty())
            s.insertarPar.ligarNulo(4);
        else
            s.insertarPar.ligar(4, IdTexto(s.traducciones, t));
        s.insertarPar.ejecutar();
    }
    s.actualizarScript.ligar(1, id)
        .ligar(2, original.tamano)
        .ligar(3, original.fecha)
        .ligar(4, traduccion.tamano)
        .ligar(5, traduccion.fecha)
        .ligar(6, originales.size())
        .ligar(7, traducciones.size())
        .ligar(8, traducidas)
        .ejecutar();
}

qint64 BaseMemoria::IdTexto(Tabla& tabla, const QString& texto)
{
    const qint64 clave = Clave(texto);
    tabla.buscar.ligar(1, clave).ligar(2, texto);
    const bool hallado = tabla.buscar.paso();
    const qint64 id = hallado ? tabla.buscar.entero(0) : 0;
    tabla.buscar.reiniciar();
    if (hallado)
        return id;
    tabla.insertar.ligar(1, clave).ligar(2, texto).ejecutar();
    ++tabla.porCatalogar;
    return conexion_->ultimoId();
}

void BaseMemoria::Catalogar(bool todo)
{
    for (Tabla* tabla : {&sentencias_->originales, &sentencias_->traducciones}) {
        if (tabla->porCatalogar == 0 || (!todo && tabla->porCatalogar < textosPorCatalogo))
            continue;
        Escribir();
        for (;;) {
            // In batches: a trigram index takes many rows in one statement far faster than one by one.
            tabla->hasta.ligar(1, tabla->catalogadas).ligar(2, textosPorCatalogo);
            const qint64 hasta = tabla->hasta.paso() && !tabla->hasta.nulo(0) ? tabla->hasta.entero(0) : 0;
            tabla->hasta.reiniciar();
            if (hasta == 0)
                break;
            for (Tabla::Indice& indice : tabla->indices_)
                indice.indexar.ligar(1, tabla->catalogadas).ligar(2, hasta).ejecutar();
            tabla->sinOptimizar += hasta - tabla->catalogadas;
            tabla->catalogadas = hasta;
            sentencias_->escribirDato.ligar(1, tabla->claveCatalogo)
                .ligar(2, QString::number(hasta))
                .ejecutar();
            if (!todo)
                break;
        }
        tabla->porCatalogar = 0;
        // Many batches leave many segments, and every query reads each of them: once a pass has added
        // many texts, each index is merged into one, which takes a second or two for a million lines.
        if (todo && tabla->sinOptimizar >= textosPorOptimizacion) {
            for (Tabla::Indice& indice : tabla->indices_)
                indice.optimizar.ejecutar();
            tabla->sinOptimizar = 0;
        }
        if (!todo) {
            // What a partial batch left behind.
            tabla->pendientes.ligar(1, tabla->catalogadas);
            tabla->porCatalogar = tabla->pendientes.paso() ? tabla->pendientes.entero(0) : 0;
            tabla->pendientes.reiniciar();
        }
    }
}

BaseMemoria::Excluida BaseMemoria::LineaDe(const QString& nombre, qint64 linea)
{
    const std::optional<Script> script = BuscarScript(nombre);
    return script ? Excluida{script->id, linea} : Excluida{};
}

std::optional<qint64> BaseMemoria::IdOriginal(QStringView texto)
{
    Sentencia& s = sentencias_->originales.buscar;
    s.ligar(1, Clave(texto)).ligar(2, texto);
    const std::optional<qint64> id = s.paso() ? std::optional(s.entero(0)) : std::nullopt;
    s.reiniciar();
    return id;
}

QString BaseMemoria::TextoOriginal(qint64 id)
{
    Sentencia& s = sentencias_->originales.texto;
    s.ligar(1, id);
    const QString texto = s.paso() ? s.texto(0) : QString();
    s.reiniciar();
    return texto;
}

QList<qint64> BaseMemoria::Candidatos(const Piezas& piezas, qsizetype maximo)
{
    QHash<qint64, int> aciertos;
    // Adds the texts an expression finds, each counting `peso` pieces; false when they are too many to
    // tell anything apart, and then nothing is added. A word the index's tokenizer splits where this
    // one does not makes a phrase the index cannot take, and finds nothing.
    const auto buscar = [&](Sentencia& s, const QString& expresion, int peso) {
        QList<qint64> ids;
        try {
            s.ligar(1, expresion).ligar(2, maximoPorPieza + 1);
            while (s.paso())
                ids.append(s.entero(0));
        } catch (const ErrorSqlite& error) {
            if (!error.esConsultaNoValida())
                throw;
            return true;
        }
        s.reiniciar();
        if (ids.size() > maximoPorPieza)
            return false;
        for (const qint64 id : ids)
            aciertos[id] += peso;
        return true;
    };
    QStringList comunes;
    qsizetype raras = 0;
    for (const QString& palabra : piezas.palabras) {
        const QString expresion = u'"' + QString(palabra).replace(u'"', QStringLiteral("\"\"")) + u'"';
        if (buscar(sentencias_->conPalabra, expresion, 1))
            ++raras;
        else
            comunes.append(expresion);
    }
    for (const QString& trozo : piezas.ideogramas)
        buscar(sentencias_->conTrigramas, Expresion(trozo), 1);
    // A text 70 % alike lacks at most 3 in 7 of the line's words (fewer when it is shorter, since every
    // extra word of its own counts too): with more rare words than that, it holds one of them and has
    // been found. Otherwise the texts holding the longest common words together are candidates too; not
    // all of them, since a search for many common words together reads most of the index.
    if (raras * 7 <= piezas.total * 3 && comunes.size() >= 2) {
        if (comunes.size() > maximoComunes)
            comunes.resize(maximoComunes);
        buscar(sentencias_->conPalabra, comunes.join(QStringLiteral(" AND ")), int(comunes.size()));
    }
    QList<std::pair<int, qint64>> orden;
    orden.reserve(aciertos.size());
    for (auto it = aciertos.cbegin(); it != aciertos.cend(); ++it)
        orden.append({it.value(), it.key()});
    const qsizetype cuantos = std::min(maximo, orden.size());
    std::partial_sort(orden.begin(), orden.begin() + cuantos, orden.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    QList<qint64> ids;
    for (qsizetype i = 0; i < cuantos; ++i)
        ids.append(orden[i].second);
    return ids;
}

QList<BaseMemoria::Uso> BaseMemoria::Usos(qint64 original, Excluida excluida, bool conRecientes)
{
    Sentencia& s = sentencias_->usos;
    s.ligar(1, original).ligar(2, excluida.script).ligar(3, excluida.linea);
    QList<Uso> usos;
    while (s.paso())
        usos.append({s.entero(0), {}, int(s.entero(1)), {}});
    s.reiniciar();
    for (Uso& uso : usos) {
        Sentencia& texto = sentencias_->traducciones.texto;
        texto.ligar(1, uso.traduccion);
        uso.texto = texto.paso() ? texto.texto(0) : QString();
        texto.reiniciar();
        if (conRecientes)
            uso.reciente = Recientes(original, uso, excluida, 1).value(0);
    }
    return usos;
}

QList<BaseMemoria::Ubicada> BaseMemoria::Recientes(qint64 original, const Uso& uso, Excluida excluida,
                                                   qsizetype maximo)
{
    QList<Ubicada> ubicadas;
    // A pair of few lines is sorted whole; one of many is looked for script by script, newest first,
    // which finds it at once instead of sorting thousands of lines.
    if (uso.usos <= usosParaOrdenar) {
        Sentencia& s = sentencias_->recientes;
        s.ligar(1, original).ligar(2, uso.traduccion).ligar(3, excluida.script).ligar(4, excluida.linea);
        s.ligar(5, maximo);
        while (s.paso())
            ubicadas.append({s.texto(0), s.entero(1), s.entero(2)});
        s.reiniciar();
        return ubicadas;
    }
    Sentencia& scripts = sentencias_->scriptsRecientes;
    scripts.ligar(1, original).ligar(2, uso.traduccion).ligar(3, excluida.script).ligar(4, excluida.linea);
    scripts.ligar(5, maximo);
    QList<std::tuple<qint64, QString, qint64>> halladas;
    while (scripts.paso())
        halladas.append({scripts.entero(0), scripts.texto(1), scripts.entero(2)});
    scripts.reiniciar();
    Sentencia& lineas = sentencias_->lineasEnScript;
    for (const auto& [id, nombre, fecha] : halladas) {
        lineas.ligar(1, original).ligar(2, uso.traduccion).ligar(3, id).ligar(4, excluida.script);
        lineas.ligar(5, excluida.linea).ligar(6, maximo - ubicadas.size());
        while (lineas.paso())
            ubicadas.append({nombre, lineas.entero(0), fecha});
        lineas.reiniciar();
        if (ubicadas.size() >= maximo)
            break;
    }
    return ubicadas;
}
