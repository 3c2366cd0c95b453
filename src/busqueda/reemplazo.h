// Replacing in the folder's translations only: the plan that counts what would change and the question
// that asks for it, the writes (each translation as a save writes it), what was left alone and why, and
// undoing the last replacement.
#pragma once

#include <optional>

#include <QList>
#include <QMetaType>
#include <QSet>
#include <QString>
#include <QStringList>

#include "archivos.h"
#include "busqueda.h"
#include "texto_archivo.h"

// What the replacement must know besides the files.
struct ContextoReemplazo
{
    QString carpeta{};
    // The script loaded in the window: its replacement goes into the box, never straight to its file.
    QString cargado{};
    QStringList lineasCaja{};
    // Scripts with unsaved text in a draft: left as they are.
    QSet<QString> conBorrador{};
};

// A translation to write, as read when the plan was made.
struct CambioTraduccion
{
    QString script{};
    QString ruta{};
    int apariciones = 0;
    QStringList lineas{}; // with the replacement made
    FormatoTexto formato{};
    HuellaArchivo huella{};
    QByteArray anteriores{}; // the file's bytes
};

// A script left alone, and why ("es de solo lectura").
struct Omitido
{
    QString script{};
    QString motivo{};
    friend bool operator==(const Omitido&, const Omitido&) = default;
};

struct PlanReemplazo
{
    QString carpeta{};
    QList<CambioTraduccion> cambios{};
    // The loaded script's box with the replacement made, when it has any.
    std::optional<QStringList> caja{};
    int aparicionesCaja = 0;
    QList<Omitido> omitidos{};

    int apariciones() const;
    int traducciones() const { return int(cambios.size()) + (caja ? 1 : 0); }
};

// Reads the translations of `scripts` (those the index found a match in) and replaces in their lines; the
// loaded one is replaced in its box lines instead. Read-only translations and those with a draft are
// left out with their reason, unread ones too.
PlanReemplazo PlanearReemplazo(const ContextoReemplazo& contexto, const OpcionesBusqueda& opciones,
                               const QString& reemplazo, const QStringList& scripts,
                               SistemaArchivos& sistema = SistemaReal());

// "¿Reemplazar 143 apariciones en 27 traducciones?"; with nothing to replace, "No hay nada que
// reemplazar en las traducciones."
QString TextoPregunta(const PlanReemplazo& plan);

// A translation a replacement wrote: its bytes before, and the record of the file written.
struct TraduccionEscrita
{
    QString script{};
    QString ruta{};
    QByteArray anteriores{};
    HuellaArchivo huella{};
    QStringList lineas{}; // the lines written
};

struct HechoReemplazo
{
    QList<TraduccionEscrita> escritas{};
    int apariciones = 0;
    QList<Omitido> omitidos{};
};

// Writes each planned translation as a save writes it: in the code page a save would choose for it
// (refusing a character it cannot hold), with its own line ends, atomically, or in place where a save
// would. One changed on disk since the plan read it is left alone, and so is one that cannot be written.
HechoReemplazo EjecutarReemplazo(const PlanReemplazo& plan, SistemaArchivos& sistema = SistemaReal());

// "Se han reemplazado 143 apariciones en 27 traducciones.", then the scripts left alone with why.
QString TextoHecho(const HechoReemplazo& hecho, int aparicionesCaja);

struct HechoDeshacer
{
    QList<TraduccionEscrita> restauradas{}; // `lineas`: the lines put back
    QStringList cambiadas{};                // changed since the replacement: left as they are
    QList<Omitido> fallidas{};
};

// Puts back the bytes of every translation the replacement wrote, unless the file changed since.
HechoDeshacer DeshacerReemplazo(const HechoReemplazo& hecho, SistemaArchivos& sistema = SistemaReal());
// "Se han restaurado 27 traducciones.", then those changed since, named.
QString TextoDeshacer(const HechoDeshacer& hecho);

Q_DECLARE_METATYPE(PlanReemplazo)
Q_DECLARE_METATYPE(HechoReemplazo)
Q_DECLARE_METATYPE(HechoDeshacer)
