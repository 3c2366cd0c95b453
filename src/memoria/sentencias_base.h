// The statements of one folder's database, shared by the files that keep it and query it.
#pragma once

#include <vector>

#include "base_memoria.h"

// FNV-1a over the UTF-16 units: the same on every machine and in every run, unlike qHash.
inline qint64 Clave(QStringView texto)
{
    quint64 h = 14695981039346656037ULL;
    for (const QChar c : texto) {
        h = (h ^ (c.unicode() & 0xff)) * 1099511628211ULL;
        h = (h ^ (c.unicode() >> 8)) * 1099511628211ULL;
    }
    return qint64(h);
}

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
          resumen(c.preparar("SELECT nombre, lineasOriginal, lineasTraduccion, traducidas, fechaTraduccion "
                             "FROM scripts ORDER BY nombre")),
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
    Sentencia resumen;
    Sentencia leerDato;
    Sentencia escribirDato;
};
