// The SQLite connection and its statements.
#include "sqlite.h"

#include <sqlite3.h>

#include <QFile>

namespace {

[[noreturn]] void Lanzar(sqlite3* base, int codigo)
{
    throw ErrorSqlite(codigo, base ? sqlite3_errmsg(base) : sqlite3_errstr(codigo));
}

} // namespace

ErrorSqlite::ErrorSqlite(int codigo, const char* mensaje) : codigo_(codigo & 0xff), mensaje_(mensaje) {}

bool ErrorSqlite::esDano() const noexcept
{
    return codigo_ == SQLITE_CORRUPT || codigo_ == SQLITE_NOTADB || codigo_ == SQLITE_FORMAT;
}

bool ErrorSqlite::esConsultaNoValida() const noexcept
{
    return codigo_ == SQLITE_ERROR;
}

QString ErrorSqlite::motivo(const QString& ruta) const
{
    switch (codigo_) {
    case SQLITE_CANTOPEN:
        return QStringLiteral("no se puede abrir ni crear %1").arg(ruta);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("no se puede escribir en %1").arg(ruta);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("otro programa está usando %1").arg(ruta);
    case SQLITE_FULL:
        return QStringLiteral("el disco de %1 está lleno").arg(ruta);
    case SQLITE_IOERR:
        return QStringLiteral("error de entrada o salida en %1").arg(ruta);
    case SQLITE_NOMEM:
        return QStringLiteral("no hay memoria suficiente");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return QStringLiteral("%1 está dañada y no se pudo rehacer").arg(ruta);
    default:
        return QStringLiteral("error %1 de SQLite en %2").arg(QString::number(codigo_), ruta);
    }
}

Sentencia::Sentencia(sqlite3* base, const char* sql) : base_(base)
{
    if (const int codigo = sqlite3_prepare_v3(base, sql, -1, SQLITE_PREPARE_PERSISTENT, &sentencia_, nullptr);
        codigo != SQLITE_OK)
        Lanzar(base, codigo);
}

Sentencia::~Sentencia()
{
    sqlite3_finalize(sentencia_);
}

Sentencia::Sentencia(Sentencia&& otra) noexcept : base_(otra.base_), sentencia_(otra.sentencia_)
{
    otra.sentencia_ = nullptr;
}

Sentencia& Sentencia::ligar(int indice, qint64 valor)
{
    if (const int codigo = sqlite3_bind_int64(sentencia_, indice, valor); codigo != SQLITE_OK)
        Lanzar(base_, codigo);
    return *this;
}

Sentencia& Sentencia::ligar(int indice, QStringView texto)
{
    if (const int codigo =
            sqlite3_bind_text16(sentencia_, indice, texto.utf16(), int(texto.size() * 2), SQLITE_TRANSIENT);
        codigo != SQLITE_OK)
        Lanzar(base_, codigo);
    return *this;
}

Sentencia& Sentencia::ligarNulo(int indice)
{
    if (const int codigo = sqlite3_bind_null(sentencia_, indice); codigo != SQLITE_OK)
        Lanzar(base_, codigo);
    return *this;
}

bool Sentencia::paso()
{
    const int codigo = sqlite3_step(sentencia_);
    if (codigo == SQLITE_ROW)
        return true;
    if (codigo == SQLITE_DONE)
        return false;
    // The statement must be reset before it is used again; the error is the step's, not the reset's.
    sqlite3_reset(sentencia_);
    Lanzar(base_, codigo);
}

void Sentencia::ejecutar()
{
    while (paso()) {
    }
    reiniciar();
}

void Sentencia::reiniciar()
{
    sqlite3_reset(sentencia_);
    sqlite3_clear_bindings(sentencia_);
}

qint64 Sentencia::entero(int columna) const
{
    return sqlite3_column_int64(sentencia_, columna);
}

QString Sentencia::texto(int columna) const
{
    const auto* datos = static_cast<const char16_t*>(sqlite3_column_text16(sentencia_, columna));
    return QString(reinterpret_cast<const QChar*>(datos), sqlite3_column_bytes16(sentencia_, columna) / 2);
}

bool Sentencia::nulo(int columna) const
{
    return sqlite3_column_type(sentencia_, columna) == SQLITE_NULL;
}

Conexion::Conexion(const QString& ruta)
{
    const int codigo =
        sqlite3_open_v2(QFile::encodeName(ruta).constData(), &base_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (codigo != SQLITE_OK) {
        const ErrorSqlite error(codigo, base_ ? sqlite3_errmsg(base_) : sqlite3_errstr(codigo));
        sqlite3_close_v2(base_);
        throw error;
    }
    sqlite3_extended_result_codes(base_, 1);
}

Conexion::~Conexion()
{
    // Closes once the last statement is finalized, whatever the order the owner destroys them in.
    sqlite3_close_v2(base_);
}

void Conexion::ejecutar(const char* sql)
{
    if (const int codigo = sqlite3_exec(base_, sql, nullptr, nullptr, nullptr); codigo != SQLITE_OK)
        Lanzar(base_, codigo);
}

Sentencia Conexion::preparar(const char* sql)
{
    return Sentencia(base_, sql);
}

qint64 Conexion::ultimoId() const
{
    return sqlite3_last_insert_rowid(base_);
}

bool Conexion::enTransaccion() const
{
    return sqlite3_get_autocommit(base_) == 0;
}

void Conexion::liberarMemoria()
{
    sqlite3_db_release_memory(base_);
}
