// Replacing in the folder's translations, and undoing it.
#include "reemplazo.h"

#include <QFileInfo>

#include "carpeta_scripts.h"
#include "codificacion.h"
#include "errores.h"
#include "numeros.h"

namespace {

// The lines of a file's bytes, read as a load reads a translation of the folder.
QStringList Lineas(const QByteArray& bytes, const EleccionCarpeta& eleccion, FormatoTexto* formato = nullptr)
{
    LectorLineas lector(bytes, eleccion.traduccion);
    QStringList lineas;
    while (!lector.fin())
        lineas.append(lector.siguiente());
    if (formato)
        *formato = lector.formato();
    return lineas;
}

QStringList ReemplazarLineas(const QStringList& lineas, const PatronBusqueda& patron,
                             const QString& reemplazo, int& apariciones)
{
    QStringList nuevas;
    nuevas.reserve(lineas.size());
    apariciones = 0;
    for (const QString& linea : lineas) {
        int cuantas = 0;
        nuevas.append(patron.Reemplazar(linea, reemplazo, cuantas));
        apariciones += cuantas;
    }
    return nuevas;
}

// The code page a save of this translation chooses, by the same rules (FormatoTraduccion): the folder's
// choice, the translation's own, the folder's other translations, then its originals.
class Formatos final
{
public:
    explicit Formatos(const QString& carpeta) : carpeta_(carpeta), eleccion_(LeerEleccion(carpeta)) {}

    const EleccionCarpeta& eleccion() const { return eleccion_; }

    FormatoTexto Para(const CambioTraduccion& cambio)
    {
        EvidenciaTraduccion evidencia{
            .eleccion = eleccion_.traduccion, .hayTraducido = true, .traduccion = cambio.formato};
        if (!evidencia.eleccion && !cambio.formato.evidencia) {
            evidencia.otras = traducidas_.MasComun(carpeta_, cambio.script);
            if (!evidencia.otras) {
                try {
                    LeerLineas(CarpetaScripts::RutaOriginal(carpeta_, cambio.script), &evidencia.original,
                               eleccion_.original);
                } catch (const ErrorEjecucion&) {
                    // Without its original the translation's own format decides.
                }
                evidencia.originales = originales_.MasComun(carpeta_, eleccion_.original,
                                                            [this] { return ArchivosScript(carpeta_); });
            }
        }
        return FormatoTraduccion(evidencia, VistasDe(cambio.lineas));
    }

private:
    const QString carpeta_;
    const EleccionCarpeta eleccion_;
    TraduccionesCarpeta traducidas_;
    OriginalesCarpeta originales_;
};

// "«ā» no cabe en Europa occidental (Windows-1252)", as the checks say it.
QString NoCabe(const QStringList& lineas, qsizetype linea, const FormatoTexto& formato)
{
    const qsizetype indice = std::max<qsizetype>(CaracterNoCodificable(VistasDe(lineas), linea, formato), 0);
    const QString& texto = lineas[linea];
    const QString caracter = texto.mid(indice, texto[indice].isHighSurrogate() ? 2 : 1);
    return u"«" + caracter + u"» no cabe en " + formato.codificacion.nombreLegible();
}

HuellaArchivo Escribir(const QString& ruta, const QByteArray& bytes, SistemaArchivos& sistema)
{
    return ReemplazoPara(ruta) == Reemplazo::EnSitio ? EscribirArchivoEnSitio(ruta, bytes, sistema)
                                                     : EscribirArchivoAtomico(ruta, bytes, sistema);
}

QString ListaOmitidos(const QList<Omitido>& omitidos)
{
    QString texto;
    for (const Omitido& omitido : omitidos)
        texto += u"\n«" + omitido.script + u"»: " + omitido.motivo;
    return texto;
}

QString Apariciones(qint64 n)
{
    return ConMiles(n) + (n == 1 ? u" aparición" : u" apariciones");
}

QString Traducciones(qint64 n)
{
    return ConMiles(n) + (n == 1 ? u" traducción" : u" traducciones");
}

} // namespace

int PlanReemplazo::apariciones() const
{
    int total = aparicionesCaja;
    for (const CambioTraduccion& cambio : cambios)
        total += cambio.apariciones;
    return total;
}

PlanReemplazo PlanearReemplazo(const ContextoReemplazo& contexto, const OpcionesBusqueda& opciones,
                               const QString& reemplazo, const QStringList& scripts, SistemaArchivos& sistema)
{
    PlanReemplazo plan{.carpeta = contexto.carpeta};
    const PatronBusqueda patron(opciones);
    if (!patron.valido())
        return plan;
    const EleccionCarpeta eleccion = LeerEleccion(contexto.carpeta);
    if (!contexto.cargado.isEmpty()) {
        int apariciones = 0;
        QStringList lineas = ReemplazarLineas(contexto.lineasCaja, patron, reemplazo, apariciones);
        if (apariciones > 0) {
            plan.caja = std::move(lineas);
            plan.aparicionesCaja = apariciones;
        }
    }
    for (const QString& script : scripts) {
        if (script == contexto.cargado)
            continue;
        if (contexto.conBorrador.contains(script)) {
            plan.omitidos.append({script, QStringLiteral("tiene texto sin guardar")});
            continue;
        }
        CambioTraduccion cambio{.script = script,
                                .ruta = CarpetaScripts::RutaTraduccion(contexto.carpeta, script)};
        try {
            cambio.anteriores = LeerArchivo(cambio.ruta, sistema, maximoArchivo, &cambio.huella);
            cambio.lineas = ReemplazarLineas(Lineas(cambio.anteriores, eleccion, &cambio.formato), patron,
                                             reemplazo, cambio.apariciones);
        } catch (const ErrorEjecucion& error) {
            plan.omitidos.append({script, u"no se pudo leer: " + error.descripcion()});
            continue;
        }
        if (cambio.apariciones == 0)
            continue;
        try {
            ComprobarReemplazable(cambio.ruta);
        } catch (const ErrorEjecucion&) {
            plan.omitidos.append({script, QStringLiteral("es de solo lectura")});
            continue;
        }
        plan.cambios.append(std::move(cambio));
    }
    return plan;
}

QString TextoPregunta(const PlanReemplazo& plan)
{
    if (plan.apariciones() == 0)
        return QStringLiteral("No hay nada que reemplazar en las traducciones.");
    return u"¿Reemplazar " + Apariciones(plan.apariciones()) + u" en " + Traducciones(plan.traducciones()) +
           u'?';
}

HechoReemplazo EjecutarReemplazo(const PlanReemplazo& plan, SistemaArchivos& sistema)
{
    HechoReemplazo hecho{.omitidos = plan.omitidos};
    Formatos formatos(plan.carpeta);
    for (const CambioTraduccion& cambio : plan.cambios) {
        if (HaCambiado(cambio.ruta, cambio.huella, sistema)) {
            hecho.omitidos.append(
                {cambio.script, QStringLiteral("ha cambiado en el disco desde que se leyó")});
            continue;
        }
        const FormatoTexto formato = formatos.Para(cambio);
        const QList<QStringView> lineas = VistasDe(cambio.lineas);
        if (const qsizetype linea = LineaNoCodificable(lineas, formato); linea >= 0) {
            hecho.omitidos.append({cambio.script, NoCabe(cambio.lineas, linea, formato)});
            continue;
        }
        try {
            const HuellaArchivo huella = Escribir(cambio.ruta, CodificarLineas(lineas, formato), sistema);
            hecho.escritas.append({cambio.script, cambio.ruta, cambio.anteriores, huella, cambio.lineas});
            hecho.apariciones += cambio.apariciones;
        } catch (const ErrorEjecucion& error) {
            hecho.omitidos.append({cambio.script, u"no se pudo escribir: " + error.descripcion()});
        }
    }
    return hecho;
}

QString TextoHecho(const HechoReemplazo& hecho, int aparicionesCaja)
{
    const qint64 apariciones = hecho.apariciones + aparicionesCaja;
    const qint64 traducciones = hecho.escritas.size() + (aparicionesCaja > 0 ? 1 : 0);
    QString texto = apariciones == 0
                        ? QStringLiteral("No se ha reemplazado nada.")
                        : (apariciones == 1 ? u"Se ha reemplazado " : u"Se han reemplazado ") +
                              Apariciones(apariciones) + u" en " + Traducciones(traducciones) + u'.';
    if (!hecho.omitidos.isEmpty())
        texto += u"\n\nSe han dejado como estaban:" + ListaOmitidos(hecho.omitidos);
    return texto;
}

HechoDeshacer DeshacerReemplazo(const HechoReemplazo& hecho, SistemaArchivos& sistema)
{
    HechoDeshacer deshecho;
    for (const TraduccionEscrita& escrita : hecho.escritas) {
        if (HaCambiado(escrita.ruta, escrita.huella, sistema)) {
            deshecho.cambiadas.append(escrita.script);
            continue;
        }
        try {
            const HuellaArchivo huella = Escribir(escrita.ruta, escrita.anteriores, sistema);
            const QString carpeta = QFileInfo(QFileInfo(escrita.ruta).absolutePath()).absolutePath();
            deshecho.restauradas.append({escrita.script, escrita.ruta, escrita.anteriores, huella,
                                         Lineas(escrita.anteriores, LeerEleccion(carpeta))});
        } catch (const ErrorEjecucion& error) {
            deshecho.fallidas.append({escrita.script, u"no se pudo escribir: " + error.descripcion()});
        }
    }
    return deshecho;
}

QString TextoDeshacer(const HechoDeshacer& hecho)
{
    const qint64 n = hecho.restauradas.size();
    QString texto = n == 0 ? QStringLiteral("No se ha restaurado ninguna traducción.")
                           : (n == 1 ? u"Se ha restaurado " : u"Se han restaurado ") + Traducciones(n) + u'.';
    if (!hecho.cambiadas.isEmpty()) {
        texto += u"\n\nHan cambiado desde el reemplazo y se han dejado como están:";
        for (const QString& script : hecho.cambiadas)
            texto += u"\n«" + script + u"»";
    }
    if (!hecho.fallidas.isEmpty())
        texto += u"\n\nNo se han podido restaurar:" + ListaOmitidos(hecho.fallidas);
    return texto;
}
