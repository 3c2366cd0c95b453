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
constexpr qint64 msPorTransaccion = 1000;
// Rows a search piece may bring before it counts as too common to tell candidates apart.
constexpr qint64 maximoPorPieza = 1000;
// Common pieces looked up together, all of them and all but one, when rare ones bring too few.
constexpr qsizetype maximoComunes = 6;

const char* const esquema = R"(
BEGIN;
CREATE TABLE datos(clave TEXT PRIMARY KEY, valor TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE scripts(id INTEGER PRIMARY KEY, nombre TEXT NOT NULL UNIQUE,
    tamanoOriginal INTEGER NOT NULL, fechaOriginal INTEGER NOT NULL,
    tamanoTraduccion INTEGER NOT NULL, fechaTraduccion INTEGER NOT NULL,
    lineasOriginal INTEGER NOT NULL, lineasTraduccion INTEGER NOT NULL, traducidas INTEGER NOT NULL);
CREATE TABLE originales(id INTEGER PRIMARY KEY, clave INTEGER NOT NULL, texto TEXT NOT NULL);
CREATE INDEX originales_clave ON originales(clave);
CREATE TABLE traducciones(id INTEGER PRIMARY KEY, clave INTEGER NOT NULL, texto TEXT NOT NULL);
CREATE INDEX traducciones_clave ON traducciones(clave);
CREATE TABLE pares(script INTEGER NOT NULL, linea INTEGER NOT NULL, original INTEGER, traduccion INTEGER,
    PRIMARY KEY(script, linea)) WITHOUT ROWID;
CREATE INDEX pares_original ON pares(original, traduccion) WHERE original IS NOT NULL;
CREATE INDEX pares_traduccion ON pares(traduccion) WHERE traduccion IS NOT NULL;
CREATE VIRTUAL TABLE originales_fts USING fts5(texto, content='originales', content_rowid='id',
    tokenize='trigram', detail='none');
CREATE VIRTUAL TABLE traducciones_fts USING fts5(texto, content='traducciones', content_rowid='id',
    tokenize='trigram', detail='none');
CREATE TRIGGER originales_alta AFTER INSERT ON originales BEGIN
    INSERT INTO originales_fts(rowid, texto) VALUES (new.id, new.texto); END;
CREATE TRIGGER originales_baja AFTER DELETE ON originales BEGIN
    INSERT INTO originales_fts(originales_fts, rowid, texto) VALUES ('delete', old.id, old.texto); END;
CREATE TRIGGER traducciones_alta AFTER INSERT ON traducciones BEGIN
    INSERT INTO traducciones_fts(rowid, texto) VALUES (new.id, new.texto); END;
CREATE TRIGGER traducciones_baja AFTER DELETE ON traducciones BEGIN
    INSERT INTO traducciones_fts(traducciones_fts, rowid, texto) VALUES ('delete', old.id, old.texto); END;
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

struct BaseMemoria::Sentencias
{
    explicit Sentencias(Conexion& c)
        : buscarScript(
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
          buscarOriginal(c.preparar("SELECT id FROM originales WHERE clave = ?1 AND texto = ?2")),
          insertarOriginal(c.preparar("INSERT INTO originales(clave, texto) VALUES (?1, ?2)")),
          borrarOriginal(c.preparar("DELETE FROM originales WHERE id = ?1 AND NOT EXISTS "
                                    "(SELECT 1 FROM pares WHERE original = ?1)")),
          buscarTraduccion(c.preparar("SELECT id FROM traducciones WHERE clave = ?1 AND texto = ?2")),
          insertarTraduccion(c.preparar("INSERT INTO traducciones(clave, texto) VALUES (?1, ?2)")),
          borrarTraduccion(c.preparar("DELETE FROM traducciones WHERE id = ?1 AND NOT EXISTS "
                                      "(SELECT 1 FROM pares WHERE traduccion = ?1)")),
          textoOriginal(c.preparar("SELECT texto FROM originales WHERE id = ?1")),
          originalesGuardados(c.preparar("SELECT p.linea, o.texto FROM pares p JOIN originales o "
                                         "ON o.id = p.original WHERE p.script = ?1")),
          candidatos(c.preparar("SELECT rowid FROM originales_fts WHERE originales_fts MATCH ?1 LIMIT ?2")),
          usos(c.preparar("SELECT p.traduccion, t.texto, count(*), max(s.fechaTraduccion) FROM pares p "
                          "JOIN traducciones t ON t.id = p.traduccion JOIN scripts s ON s.id = p.script "
                          "WHERE p.original = ?1 AND p.traduccion IS NOT NULL "
                          "AND NOT (p.script = ?2 AND p.linea = ?3) GROUP BY p.traduccion")),
          ubicaciones(c.preparar("SELECT s.nombre, p.linea FROM pares p JOIN scripts s ON s.id = p.script "
                                 "WHERE p.original = ?1 AND p.traduccion = ?2 "
                                 "AND NOT (p.script = ?3 AND p.linea = ?4) "
                                 "ORDER BY s.fechaTraduccion DESC, s.nombre, p.linea LIMIT ?5")),
          leerDato(c.preparar("SELECT valor FROM datos WHERE clave = ?1")),
          escribirDato(c.preparar("INSERT OR REPLACE INTO datos(clave, valor) VALUES (?1, ?2)"))
    {
    }

    Sentencia buscarScript;
    Sentencia nombresScripts;
    Sentencia insertarScript;
    Sentencia actualizarScript;
    Sentencia borrarScript;
    Sentencia releerTodos;
    Sentencia idsDeScript;
    Sentencia borrarPares;
    Sentencia insertarPar;
    Sentencia buscarOriginal;
    Sentencia insertarOriginal;
    Sentencia borrarOriginal;
    Sentencia buscarTraduccion;
    Sentencia insertarTraduccion;
    Sentencia borrarTraduccion;
    Sentencia textoOriginal;
    Sentencia originalesGuardados;
    Sentencia candidatos;
    Sentencia usos;
    Sentencia ubicaciones;
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
        // Readers never wait for the writer, and a commit syncs only at checkpoints: a cache may lose
        // its last moments in a power cut, which the next opening indexes again.
        conexion_->ejecutar(
            "PRAGMA busy_timeout = 3000; PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; "
            "PRAGMA cache_size = -8192; PRAGMA temp_store = MEMORY;");
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
        s.borrarOriginal.ligar(1, id).ejecutar();
    for (const qint64 id : traducciones)
        s.borrarTraduccion.ligar(1, id).ejecutar();
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
            s.insertarPar.ligar(3, IdTexto(true, o));
        if (t.isEmpty())
            s.insertarPar.ligarNulo(4);
        else
            s.insertarPar.ligar(4, IdTexto(false, t));
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

qint64 BaseMemoria::IdTexto(bool deOriginal, const QString& texto)
{
    Sentencias& s = *sentencias_;
    Sentencia& buscar = deOriginal ? s.buscarOriginal : s.buscarTraduccion;
    const qint64 clave = Clave(texto);
    buscar.ligar(1, clave).ligar(2, texto);
    const bool hallado = buscar.paso();
    const qint64 id = hallado ? buscar.entero(0) : 0;
    buscar.reiniciar();
    if (hallado)
        return id;
    (deOriginal ? s.insertarOriginal : s.insertarTraduccion).ligar(1, clave).ligar(2, texto).ejecutar();
    return conexion_->ultimoId();
}

BaseMemoria::Excluida BaseMemoria::LineaDe(const QString& nombre, qint64 linea)
{
    const std::optional<Script> script = BuscarScript(nombre);
    return script ? Excluida{script->id, linea} : Excluida{};
}

std::optional<qint64> BaseMemoria::IdOriginal(QStringView texto)
{
    Sentencia& s = sentencias_->buscarOriginal;
    s.ligar(1, Clave(texto)).ligar(2, texto);
    const std::optional<qint64> id = s.paso() ? std::optional(s.entero(0)) : std::nullopt;
    s.reiniciar();
    return id;
}

QString BaseMemoria::TextoOriginal(qint64 id)
{
    Sentencia& s = sentencias_->textoOriginal;
    s.ligar(1, id);
    const QString texto = s.paso() ? s.texto(0) : QString();
    s.reiniciar();
    return texto;
}

QList<qint64> BaseMemoria::Candidatos(const QStringList& piezas, qsizetype maximo)
{
    Sentencia& s = sentencias_->candidatos;
    QHash<qint64, int> aciertos;
    // Adds the texts an expression finds, each counting `peso` pieces; false when they are too many to
    // tell anything, and then nothing is added.
    const auto buscar = [&](const QString& expresion, int peso) {
        QList<qint64> ids;
        s.ligar(1, expresion).ligar(2, maximoPorPieza + 1);
        while (s.paso())
            ids.append(s.entero(0));
        s.reiniciar();
        if (ids.size() > maximoPorPieza)
            return false;
        for (const qint64 id : ids)
            aciertos[id] += peso;
        return true;
    };
    QStringList comunes;
    for (const QString& pieza : piezas) {
        const QString expresion = Expresion(pieza);
        if (!buscar(expresion, 1))
            comunes.append(expresion);
    }
    // A line of common words only: the texts holding all of them, or all but one.
    if (aciertos.size() < maximo && !comunes.isEmpty()) {
        if (comunes.size() > maximoComunes)
            comunes.resize(maximoComunes);
        const auto juntas = [](const QStringList& expresiones) {
            return QStringLiteral("(%1)").arg(expresiones.join(QStringLiteral(") AND (")));
        };
        buscar(juntas(comunes), int(comunes.size()));
        for (qsizetype i = 0; comunes.size() > 1 && i < comunes.size(); ++i) {
            QStringList menosUna = comunes;
            menosUna.removeAt(i);
            buscar(juntas(menosUna), int(menosUna.size()));
        }
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

QList<BaseMemoria::Uso> BaseMemoria::Usos(qint64 original, Excluida excluida)
{
    Sentencia& s = sentencias_->usos;
    s.ligar(1, original).ligar(2, excluida.script).ligar(3, excluida.linea);
    QList<Uso> usos;
    while (s.paso())
        usos.append({s.entero(0), s.texto(1), int(s.entero(2)), s.entero(3)});
    s.reiniciar();
    return usos;
}

QList<std::pair<QString, qint64>> BaseMemoria::Ubicaciones(qint64 original, qint64 traduccion,
                                                           Excluida excluida, qsizetype maximo)
{
    Sentencia& s = sentencias_->ubicaciones;
    s.ligar(1, original)
        .ligar(2, traduccion)
        .ligar(3, excluida.script)
        .ligar(4, excluida.linea)
        .ligar(5, maximo);
    QList<std::pair<QString, qint64>> ubicaciones;
    while (s.paso())
        ubicaciones.append({s.texto(0), s.entero(1)});
    s.reiniciar();
    return ubicaciones;
}
