// Code pages per folder and the translation's code page.
#include "codificacion.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QThreadPool>

#include "archivos.h"
#include "carpeta_scripts.h"
#include "errores.h"
#include "ini.h"

namespace {

const QString seccion = CarpetaScripts::seccionCodificacion.toString();

using CarpetaScripts::RutaMarcador;

QString Clave(TipoArchivo tipo)
{
    return tipo == TipoArchivo::Original ? QStringLiteral("Original") : QStringLiteral("Traduccion");
}

std::optional<Codificacion> LeerClave(const QString& carpeta, TipoArchivo tipo)
{
    QString clave = Clave(tipo);
    const QString valor = LeerIni(seccion, clave, RutaMarcador(carpeta));
    return valor.isEmpty() ? std::nullopt : Codificacion::PorNombre(valor);
}

// The code pages the named files of `carpeta` show, by name; a file that cannot be read shows nothing.
QHash<QString, Codificacion> CodificacionesDe(const QString& carpeta, const QStringList& nombres,
                                              std::optional<Codificacion> eleccion)
{
    QHash<QString, Codificacion> codificaciones;
    const QDir dir(carpeta);
    for (const QString& nombre : nombres) {
        try {
            if (const auto codificacion = CodificacionMostrada(dir.filePath(nombre), eleccion))
                codificaciones.insert(nombre, *codificacion);
        } catch (const ErrorEjecucion&) {
        }
    }
    return codificaciones;
}

// What `aprender` returns, worked out on the pool's thread. The pool finishes its tasks before the process
// ends; one no longer waited for is simply dropped.
template <typename Aprender>
auto EnSegundoPlano(Aprender aprender) -> std::shared_future<decltype(aprender())>
{
    auto promesa = std::make_shared<std::promise<decltype(aprender())>>();
    std::shared_future<decltype(aprender())> futuro = promesa->get_future().share();
    QThreadPool::globalInstance()->start([promesa, aprender = std::move(aprender)] {
        try {
            promesa->set_value(aprender());
        } catch (...) {
            // Raised again to whoever waits for it, as if it had been worked out there.
            promesa->set_exception(std::current_exception());
        }
    });
    return futuro;
}

} // namespace

EleccionCarpeta LeerEleccion(const QString& carpeta)
{
    // Every load asks; most folders have no bookmark file, and then nothing is opened.
    if (!QFileInfo::exists(RutaMarcador(carpeta)))
        return {};
    return {LeerClave(carpeta, TipoArchivo::Original), LeerClave(carpeta, TipoArchivo::Traduccion)};
}

void EscribirEleccion(const QString& carpeta, TipoArchivo tipo, std::optional<Codificacion> codificacion,
                      SistemaArchivos& sistema)
{
    QString clave = Clave(tipo);
    const QString ruta = RutaMarcador(carpeta);
    // Without a choice to remove, the file is not touched: "Automática" alone never creates the section.
    if (!codificacion && LeerIni(seccion, clave, ruta, sistema).isEmpty())
        return;
    EscribirIni(seccion, Clave(tipo), codificacion ? codificacion->nombre() : QString(), ruta, sistema);
}

QHash<QString, Codificacion> CodificacionesTraducidas(const QString& carpeta)
{
    const QDir traducidos(CarpetaScripts::RutaTraducidos(carpeta));
    return CodificacionesDe(traducidos.path(), traducidos.entryList(QDir::Files | QDir::Hidden), {});
}

QHash<QString, Codificacion> CodificacionesOriginales(const QString& carpeta, const QStringList& nombres,
                                                      std::optional<Codificacion> eleccion)
{
    return CodificacionesDe(carpeta, nombres, eleccion);
}

std::optional<Codificacion> MasComun(const QHash<QString, Codificacion>& codificaciones,
                                     const QString& excluido)
{
    const QList<Codificacion> todas = Codificacion::Todas();
    QList<int> cuentas(todas.size(), 0);
    for (auto i = codificaciones.cbegin(); i != codificaciones.cend(); ++i) {
        if (i.key() != excluido)
            ++cuentas[todas.indexOf(i.value())];
    }
    const auto mayor = std::max_element(cuentas.cbegin(), cuentas.cend());
    if (*mayor == 0)
        return std::nullopt;
    return todas[mayor - cuentas.cbegin()];
}

FormatoTexto FormatoTraduccion(const EvidenciaTraduccion& evidencia, const QList<QStringView>& lineas)
{
    const FormatoTexto& traduccion = evidencia.traduccion;
    const FormatoTexto& original = evidencia.original;
    FormatoTexto formato;
    formato.finLinea = evidencia.hayTraducido ? traduccion.finLinea : original.finLinea;
    const auto en = [&](Codificacion codificacion) {
        formato.codificacion = codificacion;
        // A file keeps its own byte-order mark; a new translation takes the original's, and a new UTF-16
        // one gets its mark, by which it reads back without a choice.
        if (evidencia.hayTraducido && traduccion.codificacion == codificacion)
            formato.bom = traduccion.bom;
        else if (original.evidencia && original.codificacion == codificacion)
            formato.bom = original.bom;
        else
            formato.bom = codificacion.esUtf16();
        return formato;
    };
    if (evidencia.eleccion)
        return en(*evidencia.eleccion);
    if (evidencia.hayTraducido && traduccion.evidencia)
        return en(traduccion.codificacion);
    if (evidencia.otras)
        return en(*evidencia.otras);
    // What the originals show holds only when it can write the translation's text.
    const auto siCabe = [&](Codificacion codificacion) -> std::optional<FormatoTexto> {
        const FormatoTexto formato = en(codificacion);
        return LineaNoCodificable(lineas, formato) < 0 ? std::optional(formato) : std::nullopt;
    };
    if (original.evidencia) {
        if (const auto enOriginal = siCabe(original.codificacion))
            return *enOriginal;
    }
    if (evidencia.originales) {
        if (const auto enOriginales = siCabe(*evidencia.originales))
            return *enOriginales;
    }
    return en(Codificacion::Utf8);
}

void TraduccionesCarpeta::Preparar(const QString& carpeta)
{
    if (carpeta_ == carpeta && (codificaciones_ || aprendiendo_.valid()))
        return;
    carpeta_ = carpeta;
    codificaciones_.reset();
    anotadas_.clear();
    aprendiendo_ = EnSegundoPlano([carpeta] { return CodificacionesTraducidas(carpeta); });
}

QHash<QString, Codificacion>& TraduccionesCarpeta::Sabidas()
{
    if (!codificaciones_) {
        codificaciones_ = aprendiendo_.get();
        aprendiendo_ = {};
        for (const auto& [nombre, codificacion] : std::as_const(anotadas_)) {
            if (codificacion)
                codificaciones_->insert(nombre, *codificacion);
            else
                codificaciones_->remove(nombre);
        }
        anotadas_.clear();
    }
    return *codificaciones_;
}

std::optional<Codificacion> TraduccionesCarpeta::MasComun(const QString& carpeta, const QString& excluido)
{
    Preparar(carpeta);
    return ::MasComun(Sabidas(), excluido);
}

void TraduccionesCarpeta::Anotar(const QString& carpeta, const QString& nombre, const FormatoTexto& formato)
{
    if (carpeta_ != carpeta || !(codificaciones_ || aprendiendo_.valid()))
        return;
    const std::optional<Codificacion> codificacion =
        formato.evidencia ? std::optional(formato.codificacion) : std::nullopt;
    if (!codificaciones_) {
        anotadas_.append({nombre, codificacion});
        return;
    }
    if (codificacion)
        codificaciones_->insert(nombre, *codificacion);
    else
        codificaciones_->remove(nombre);
}

void TraduccionesCarpeta::Olvidar()
{
    codificaciones_.reset();
    aprendiendo_ = {};
    anotadas_.clear();
}

void OriginalesCarpeta::Preparar(const QString& carpeta, std::optional<Codificacion> eleccion,
                                 std::function<QStringList()> nombres)
{
    if (masComun_.valid() && carpeta_ == carpeta && eleccion_ == eleccion)
        return;
    carpeta_ = carpeta;
    eleccion_ = eleccion;
    masComun_ = EnSegundoPlano([carpeta, eleccion, nombres = std::move(nombres)] {
        return ::MasComun(CodificacionesOriginales(carpeta, nombres(), eleccion), QString());
    });
}

std::optional<Codificacion> OriginalesCarpeta::MasComun(const QString& carpeta,
                                                        std::optional<Codificacion> eleccion,
                                                        std::function<QStringList()> nombres)
{
    Preparar(carpeta, eleccion, std::move(nombres));
    return masComun_.get();
}

void OriginalesCarpeta::Olvidar()
{
    masComun_ = {};
}
