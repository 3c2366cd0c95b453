// One folder's database: opening or starting it, and keeping its tables up to date with the folder.
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
#include "sentencias_base.h"

namespace {

// A list's lines one at a time, for BaseMemoria::Reemplazar.
std::function<std::optional<QString>()> DeLista(const QStringList& lineas)
{
    return [&lineas, i = qsizetype(0)]() mutable -> std::optional<QString> {
        if (i >= lineas.size())
            return std::nullopt;
        return lineas[i++];
    };
}

// Lines indexed between two calls of a pause's check.
constexpr qint64 lineasEntreCesiones = 4096;

// A script's lines one at a time; none from a script that was not read. `ceder`, when given, is called
// before every `lineasEntreCesiones` lines.
std::function<std::optional<QString>()> DeScript(std::optional<LineasScript>& script,
                                                 std::function<void()> ceder = {})
{
    return [&script, ceder = std::move(ceder), leidas = qint64(0)]() mutable -> std::optional<QString> {
        if (ceder && ++leidas % lineasEntreCesiones == 0)
            ceder();
        return script ? script->siguiente() : std::nullopt;
    };
}

constexpr qint64 versionEsquema = 1;
// A transaction stays open this long while scripts are indexed: each commit writes every index page
// the transaction touched, and pages touched by many short ones are written many times. A killed
// editor loses at most this stretch, which the next opening indexes again.
constexpr qint64 msPorTransaccion = 10000;
// New texts put into the trigram index at a time while scripts are indexed.
constexpr qint64 textosPorCatalogo = 20000;
// New texts in the indexes that make merging them worth while.
constexpr qint64 textosPorOptimizacion = 50000;

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

QString NombreEleccion(const EleccionCarpeta& eleccion)
{
    const auto nombre = [](const std::optional<Codificacion>& c) {
        return c ? c->nombre() : QString();
    };
    return nombre(eleccion.original) + u'|' + nombre(eleccion.traduccion);
}

} // namespace

QString BaseMemoria::CarpetaBases(const QString& carpetaCache)
{
    return QDir(carpetaCache).filePath(QStringLiteral("memoria"));
}

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

void BaseMemoria::Indexar(const QString& nombre, const EleccionCarpeta& eleccion, SistemaArchivos& sistema,
                          const std::function<void(const std::function<void()>& soltar)>& ceder)
{
    // The files' marks before their contents: a change while they are read shows at the next opening.
    const QString rutaOriginal = CarpetaScripts::RutaOriginal(carpeta_, nombre);
    const QString rutaTraduccion = CarpetaScripts::RutaTraduccion(carpeta_, nombre);
    const Huella original = HuellaDe(rutaOriginal);
    const Huella traduccion = HuellaDe(rutaTraduccion);
    const std::optional<Script> script = BuscarScript(nombre);
    if (script && script->original == original && script->traduccion == traduccion)
        return;
    std::optional<LineasScript> originales = LineasScript::Abrir(rutaOriginal, eleccion.original, sistema);
    if (!originales) {
        if (script)
            QuitarScript(script->id);
        return;
    }
    std::optional<LineasScript> traducciones =
        traduccion.tamano < 0 ? std::nullopt
                              : LineasScript::Abrir(rutaTraduccion, eleccion.traduccion, sistema);
    const auto soltar = [&] {
        originales->Soltar();
        if (traducciones)
            traducciones->Soltar();
    };
    std::function<void()> cederSoltando;
    if (ceder)
        cederSoltando = [&] {
            ceder(soltar);
        };
    Reemplazar(nombre, DeScript(originales, cederSoltando), DeScript(traducciones), original, traduccion);
}

void BaseMemoria::Guardar(const QString& nombre, const QStringList& traduccion,
                          const EleccionCarpeta& eleccion, SistemaArchivos& sistema)
{
    const QString rutaOriginal = CarpetaScripts::RutaOriginal(carpeta_, nombre);
    const Huella original = HuellaDe(rutaOriginal);
    const Huella huellaTraduccion = HuellaDe(CarpetaScripts::RutaTraduccion(carpeta_, nombre));
    const std::optional<Script> script = BuscarScript(nombre);
    if (script && script->original == original) {
        const QStringList originales = OriginalesGuardados(script->id, script->lineasOriginal);
        Reemplazar(nombre, DeLista(originales), DeLista(traduccion), original, huellaTraduccion);
        return;
    }
    std::optional<LineasScript> originales = LineasScript::Abrir(rutaOriginal, eleccion.original, sistema);
    if (originales)
        Reemplazar(nombre, DeScript(originales), DeLista(traduccion), original, huellaTraduccion);
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

void BaseMemoria::Reemplazar(const QString& nombre, const SiguienteLinea& originales,
                             const SiguienteLinea& traducciones, Huella original, Huella traduccion)
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
    qint64 lineasOriginal = 0;
    qint64 lineasTraduccion = 0;
    for (qint64 i = 0;; ++i) {
        const std::optional<QString> original = originales();
        const std::optional<QString> traducida = traducciones();
        if (!original && !traducida)
            break;
        lineasOriginal += original.has_value();
        lineasTraduccion += traducida.has_value();
        const QString o = original.value_or(QString());
        const QString t = traducida.value_or(QString());
        if (original && !t.isEmpty())
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
        .ligar(6, lineasOriginal)
        .ligar(7, lineasTraduccion)
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
