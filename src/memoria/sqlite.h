// A thin owner of one SQLite connection and its prepared statements: every failure is raised as an
// ErrorSqlite that keeps SQLite's result code, so that the caller can tell a damaged database from one
// it cannot write.
#pragma once

#include <exception>

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

class ErrorSqlite final : public std::exception
{
public:
    ErrorSqlite(int codigo, const char* mensaje);

    // SQLite's primary result code (SQLITE_CORRUPT, SQLITE_READONLY...).
    int codigo() const noexcept { return codigo_; }
    const char* what() const noexcept override { return mensaje_.constData(); }
    // The file is no database of ours any more: damaged, or not a database at all.
    bool esDano() const noexcept;
    // The statement itself was refused (SQLITE_ERROR): a query the database cannot take.
    bool esConsultaNoValida() const noexcept;
    // Why the database at `ruta` failed, in Spanish, for the translator: "no se puede escribir en …".
    QString motivo(const QString& ruta) const;

private:
    int codigo_;
    QByteArray mensaje_;
};

class Sentencia final
{
public:
    Sentencia(sqlite3* base, const char* sql);
    ~Sentencia();
    Sentencia(Sentencia&& otra) noexcept;
    Sentencia& operator=(Sentencia&&) = delete;
    Sentencia(const Sentencia&) = delete;
    Sentencia& operator=(const Sentencia&) = delete;

    // Parameters count from 1. A text is copied, so it need not outlive the call.
    Sentencia& ligar(int indice, qint64 valor);
    Sentencia& ligar(int indice, QStringView texto);
    Sentencia& ligarNulo(int indice);
    // One step: true while it yields a row, false once done. Raises the step's error.
    bool paso();
    // Runs to the end, for statements that yield no rows.
    void ejecutar();
    // Ready to run again with new parameters.
    void reiniciar();

    // Columns count from 0.
    qint64 entero(int columna) const;
    QString texto(int columna) const;
    bool nulo(int columna) const;

private:
    sqlite3* base_;
    sqlite3_stmt* sentencia_ = nullptr;
};

class Conexion final
{
public:
    // Opens the database file, creating it; raises what SQLite says.
    explicit Conexion(const QString& ruta);
    ~Conexion();
    Conexion(const Conexion&) = delete;
    Conexion& operator=(const Conexion&) = delete;

    // Runs one or more statements that yield no rows.
    void ejecutar(const char* sql);
    Sentencia preparar(const char* sql);
    qint64 ultimoId() const;
    bool enTransaccion() const;
    // Frees the page cache's memory that no statement holds.
    void liberarMemoria();

private:
    sqlite3* base_ = nullptr;
};
