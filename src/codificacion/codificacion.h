// Code pages per folder: the translator's choice kept in the folder's bookmark file, the code pages the
// folder's translations show, and the rules that decide the code page a translation is written in.
#pragma once

#include <functional>
#include <future>
#include <optional>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "sistema_archivos.h"
#include "texto_archivo.h"

enum class TipoArchivo { Original, Traduccion };

// The folder's choice for each kind of file; nothing where the editor decides by itself.
struct EleccionCarpeta
{
    std::optional<Codificacion> original{};
    std::optional<Codificacion> traduccion{};
};

// The choice kept in `carpeta`/Velarto.vrk, section "Codificacion", keys "Original" and "Traduccion".
// A name that is not a supported code page counts as no choice.
EleccionCarpeta LeerEleccion(const QString& carpeta);
// Keeps (or, with nothing, removes) the choice through the profile store, which leaves every other byte
// of the file as it was.
void EscribirEleccion(const QString& carpeta, TipoArchivo tipo, std::optional<Codificacion> codificacion,
                      SistemaArchivos& sistema = SistemaReal());

// The code pages of the translations in `carpeta`/Traducidos that show theirs, by file name. Each file is
// read only as far as its code page shows (see CodificacionMostrada), so a folder of long translations
// costs little more than its first lines holding a byte above 127.
QHash<QString, Codificacion> CodificacionesTraducidas(const QString& carpeta);
// The same for the originals `nombres` of `carpeta` (the file list's), read with the folder's choice for
// originals as a load reads them.
QHash<QString, Codificacion> CodificacionesOriginales(const QString& carpeta, const QStringList& nombres,
                                                      std::optional<Codificacion> eleccion);
// The code page most of them have, leaving out `excluido`; on a tie, the one listed first in
// Codificacion::Todas().
std::optional<Codificacion> MasComun(const QHash<QString, Codificacion>& codificaciones,
                                     const QString& excluido);

// The code pages of one folder's translations, learned off the calling thread (a translation that is
// ASCII only is read whole before it is known to show none) and kept up to date by the saves made there;
// asking about another folder starts again.
class TraduccionesCarpeta final
{
public:
    TraduccionesCarpeta() = default;
    TraduccionesCarpeta(const TraduccionesCarpeta&) = delete;
    TraduccionesCarpeta& operator=(const TraduccionesCarpeta&) = delete;

    // Starts learning `carpeta`'s translations in the background, unless they are known or being learned.
    void Preparar(const QString& carpeta);
    // The code page most of `carpeta`'s translations have, leaving out `excluido`; waits for a learning
    // still under way.
    std::optional<Codificacion> MasComun(const QString& carpeta, const QString& excluido);
    // A save wrote `nombre` in `formato`.
    void Anotar(const QString& carpeta, const QString& nombre, const FormatoTexto& formato);
    // What was learned may be stale: the next question reads the folder again.
    void Olvidar();

private:
    // What was learned, once the learning is over.
    QHash<QString, Codificacion>& Sabidas();

    QString carpeta_;
    std::shared_future<QHash<QString, Codificacion>> aprendiendo_;
    std::optional<QHash<QString, Codificacion>> codificaciones_;
    // The saves made while the folder was being learned, applied to what it learns.
    QList<std::pair<QString, std::optional<Codificacion>>> anotadas_;
};

// The code page most of one folder's originals show, learned off the calling thread (an original that is
// ASCII only is read whole before it is known to show none) with the folder's choice for originals at the
// time; another folder or another choice starts again.
class OriginalesCarpeta final
{
public:
    OriginalesCarpeta() = default;
    OriginalesCarpeta(const OriginalesCarpeta&) = delete;
    OriginalesCarpeta& operator=(const OriginalesCarpeta&) = delete;

    // Starts learning in the background, unless it is known or being learned. `nombres` gives the
    // folder's originals; it is called once, on the learning's thread.
    void Preparar(const QString& carpeta, std::optional<Codificacion> eleccion,
                  std::function<QStringList()> nombres);
    // What Preparar learns; waits for a learning still under way.
    std::optional<Codificacion> MasComun(const QString& carpeta, std::optional<Codificacion> eleccion,
                                         std::function<QStringList()> nombres);
    // What was learned may be stale: the next question reads the folder again.
    void Olvidar();

private:
    QString carpeta_;
    std::optional<Codificacion> eleccion_;
    std::shared_future<std::optional<Codificacion>> masComun_;
};

// What decides a translation's code page.
struct EvidenciaTraduccion
{
    std::optional<Codificacion> eleccion{}; // the folder's choice for translations
    bool hayTraducido = false;              // the translation was read from its file
    FormatoTexto traduccion{};
    std::optional<Codificacion> otras{}; // the most common one among the folder's other translations
    FormatoTexto original{};
    std::optional<Codificacion> originales{}; // the most common one among the folder's originals
};

// The format a translation holding `lineas` is written in. The first that applies: the folder's choice;
// the translation's own evidence; the folder's other translations; the original's code page when the
// original shows it and it can hold every character; the one most of the folder's originals show when it
// can hold every character; UTF-8. Lines end as the translation's do, or as the original's for a new
// translation.
FormatoTexto FormatoTraduccion(const EvidenciaTraduccion& evidencia, const QList<QStringView>& lineas);
