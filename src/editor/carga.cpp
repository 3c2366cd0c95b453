// Loading a script pair: the earlier translation into the box, the original's lines into the list.
#include "frmEditor.h"

#include <algorithm>
#include <limits>

#include <QElapsedTimer>
#include <QScopeGuard>

#include "archivos.h"
#include "carpeta_scripts.h"
#include "ceder.h"
#include "errores.h"
#include "lectura_lineas.h"
#include "proteger.h"

namespace {

// How long a load works before it lets the window handle its events.
constexpr qint64 msEntreCesiones = 20;
// How many lines go into the box or the list at a time, so that no delivery holds the window long.
constexpr qsizetype lineasPorEntrega = 2048;
// The longest line the box and the list are given. The toolkit's text layout fails on lines of about
// 135 million characters; a script line of a million is already far beyond any real one.
constexpr qsizetype maximoLinea = qsizetype(1) << 20;

const QString& ComprobarLinea(const QString& linea, qsizetype numero)
{
    if (linea.size() > maximoLinea)
        throw ErrorEjecucion::ConAviso(
            Errores::ErrorAccesoRuta,
            QStringLiteral("La línea %1 es demasiado larga para mostrarla (%2 caracteres; como máximo %3).")
                .arg(QString::number(numero), QString::number(linea.size()), QString::number(maximoLinea)));
    return linea;
}

// Hands over the lines of a file as the worker that reads and decodes it delivers them, a slice at a
// time, yielding to the event loop after every stretch of work and waiting in it while the worker has
// nothing ready. Calls `leida` once the worker is done, while its last slices still wait. Returns false
// when the load was superseded while it yielded.
template <typename Vigente, typename Tramo, typename Leida = void (*)()>
bool LeerPorTramos(
    LecturaLineas& lectura, Vigente sigueVigente, Tramo entregar, Leida leida = [] {})
{
    QElapsedTimer reloj;
    reloj.start();
    qsizetype numero = 0;
    bool avisada = false;
    for (;;) {
        if (!avisada && lectura.leida()) {
            avisada = true;
            leida();
        }
        if (const std::optional<QStringList> tramo = lectura.Tomar()) {
            for (const QString& linea : *tramo)
                ComprobarLinea(linea, ++numero);
            entregar(*tramo);
            if (reloj.elapsed() < msEntreCesiones)
                continue;
            Ceder();
        } else if (lectura.terminada()) {
            return true;
        } else {
            EsperarEventos();
        }
        if (!sigueVigente())
            return false;
        reloj.restart();
    }
}

// Puts `lineas` into the box in place of what it holds, a slice at a time with yields, as a load does;
// false when superseded meanwhile.
template <typename Vigente>
bool RellenarCaja(CajaTexto& caja, const QStringList& lineas, Vigente sigueVigente)
{
    caja.empezarCarga();
    const auto fin = qScopeGuard([&] { caja.terminarCarga(); });
    caja.vaciar();
    QElapsedTimer reloj;
    reloj.start();
    for (qsizetype desde = 0; desde < lineas.size(); desde += lineasPorEntrega) {
        caja.anadirLineas(lineas.mid(desde, lineasPorEntrega));
        if (reloj.elapsed() < msEntreCesiones)
            continue;
        Ceder();
        if (!sigueVigente())
            return false;
        reloj.restart();
    }
    return true;
}

// Fills the box with the translation, sets `texto` to what it put there (its lines joined by '\n') and
// records in `par` what it learns. A translation that is missing or cannot be read leaves the box empty
// and the original is loaded alone. Calls `leida` once the file is read, while the box still fills. False
// only when a newer load took over meanwhile.
template <typename Vigente, typename Leida>
bool LeerTraduccion(CajaTexto& caja, SistemaArchivos& archivos, CajaMensajes& mensajes,
                    std::optional<Codificacion> eleccion, ParCargado& par, TextoCompacto& texto,
                    Vigente sigueVigente, Leida leida)
{
    caja.empezarCarga();
    const auto fin = qScopeGuard([&] { caja.terminarCarga(); });
    try {
        // The worker also joins the text the box will hold, so that the window's thread does not.
        LecturaLineas lectura(par.rutaTraduccion, archivos, eleccion, LecturaLineas::Texto::Entero);
        caja.vaciar();
        if (!LeerPorTramos(
                lectura, sigueVigente,
                [&](const QStringList& tramo) {
                    caja.anadirLineas(tramo);
                    par.traduccionLeida.Anadir(tramo);
                },
                leida))
            return false;
        texto = lectura.texto();
        par.formatoTraduccion = lectura.formato();
        par.huellaTraduccion = lectura.huella();
        par.hayTraducido = true;
    } catch (const ErrorEjecucion& error) {
        if (!sigueVigente())
            return false;
        caja.vaciar();
        texto = {};
        // A translation that is there but was not read must not be replaced by a save of the empty box.
        if (error.numero() != Errores::ArchivoNoEncontrado && error.numero() != Errores::RutaNoEncontrada)
            par.traduccionIlegible = error.texto();
        if (error.tieneAviso())
            MostrarError(mensajes, error);
    }
    return sigueVigente();
}

// Reads the original into `lectura` on a thread of its own, to the end without waiting for the list, which
// keeps every line anyway.
void LeerOriginalAdelantado(std::optional<LecturaLineas>& lectura, const QString& ruta,
                            SistemaArchivos& archivos, std::optional<Codificacion> eleccion)
{
    if (!lectura)
        lectura.emplace(ruta, archivos, eleccion, LecturaLineas::Texto::No, LecturaLineas::Adelanto::Todo);
}

// Lists the original's lines and sums their lengths; false when the load was superseded.
template <typename Vigente>
bool LeerOriginal(ListaSimple& lista, LecturaLineas& lectura, ParCargado& par, Vigente sigueVigente,
                  qint32& total)
{
    qint64 suma = 0;
    const bool vigente = LeerPorTramos(lectura, sigueVigente, [&](const QStringList& tramo) {
        for (const QString& linea : tramo)
            suma += linea.size();
        lista.anadirLineas(tramo);
    });
    if (!vigente)
        return false;
    lista.terminarCarga();
    par.formatoOriginal = lectura.formato();
    if (suma > std::numeric_limits<qint32>::max())
        throw ErrorEjecucion(Errores::Desbordamiento);
    total = qint32(suma);
    return true;
}

// The folder's code-page choice; none while no folder is shown.
EleccionCarpeta Eleccion(const QString& carpeta)
{
    return carpeta.isEmpty() ? EleccionCarpeta{} : LeerEleccion(carpeta);
}

} // namespace

void frmEditor::File1_Click()
{
    Q_EMIT vida_.saliendo();
    const quint64 carga = ++cargaActual_;
    // Until this pair is read, nothing on disk is known to belong to it: a deletion meanwhile must not take
    // the previous script's translation for this one's.
    par_ = {};
    HabilitarAcciones(false);
    lstOriginal->clear();

    const QString carpeta = Dir1->ruta();
    ParCargado par{.rutaOriginal = CarpetaScripts::RutaOriginal(carpeta, File1->nombreArchivo()),
                   .rutaTraduccion = CarpetaScripts::RutaTraduccion(carpeta, File1->nombreArchivo())};
    const auto vigente = [this, carga] {
        return carga == cargaActual_;
    };
    const EleccionCarpeta eleccion = Eleccion(carpeta);
    // The original is read as soon as the translation is, while the box still fills: its lines are ready
    // for the list by then. Not sooner: a reader alongside the translation's, on a thread of its own, takes
    // fresh memory for its lines, where one started after it reuses what the translation's slices gave
    // back (a million-line pair peaked 150 MiB higher).
    std::optional<LecturaLineas> original;
    const auto leerOriginal = [&] {
        LeerOriginalAdelantado(original, par.rutaOriginal, archivos_, eleccion.original);
    };
    TextoCompacto texto;
    if (!LeerTraduccion(*txtTraducido, archivos_, mensajes_, eleccion.traduccion, par, texto, vigente,
                        leerOriginal))
        return;
    par_ = par;
    Q_EMIT vida_.traduccionLeida(par_, texto);

    leerOriginal();
    ListarOriginal(par, carga, *original);
}

// Lists the original and, once it is read whole, commits the pair as loaded. A failure empties the counters
// and forgets the pair.
void frmEditor::ListarOriginal(ParCargado& par, quint64 carga, LecturaLineas& lectura)
{
    qint32 total = 0;
    try {
        const auto vigente = [this, carga] {
            return carga == cargaActual_;
        };
        if (!LeerOriginal(*lstOriginal, lectura, par, vigente, total))
            return;
    } catch (const ErrorEjecucion& error) {
        par_ = {};
        LimpiarContadores();
        Q_EMIT vida_.noCargado();
        MostrarError(mensajes_, error);
        return;
    }
    par.completo = true;
    par_ = par;
    lblLtlo->setText(QString::number(total));
    HabilitarAcciones(true);
    Q_EMIT vida_.cargado(par_);
}

void frmEditor::Releer(TipoArchivo tipo)
{
    const quint64 carga = ++cargaActual_;
    const auto vigente = [this, carga] {
        return carga == cargaActual_;
    };
    ParCargado par = par_;
    if (tipo == TipoArchivo::Original) {
        // While the list fills again, the pair is not whole: nothing may be saved or deleted by it.
        par_.completo = false;
        HabilitarAcciones(false);
        lstOriginal->clear();
        std::optional<LecturaLineas> lectura;
        LeerOriginalAdelantado(lectura, par.rutaOriginal, archivos_, Eleccion(Dir1->ruta()).original);
        ListarOriginal(par, carga, *lectura);
        return;
    }
    // The file is read whole before the box changes: a translation that is gone or unreadable leaves the
    // box as it is, and a save writes it. Typing meanwhile keeps what was typed.
    QStringList lineas;
    TextoCompacto texto;
    try {
        LecturaLineas lectura(par.rutaTraduccion, archivos_, Eleccion(Dir1->ruta()).traduccion,
                              LecturaLineas::Texto::Entero);
        const int revision = txtTraducido->document()->revision();
        if (!LeerPorTramos(lectura, vigente, [&](const QStringList& tramo) { lineas.append(tramo); }) ||
            txtTraducido->document()->revision() != revision)
            return;
        texto = lectura.texto();
        par.formatoTraduccion = lectura.formato();
        par.huellaTraduccion = lectura.huella();
    } catch (const ErrorEjecucion&) {
        return;
    }
    par_.completo = false;
    HabilitarAcciones(false);
    if (!RellenarCaja(*txtTraducido, lineas, vigente))
        return;
    par.traduccionLeida = HuellaTexto(VistasDe(lineas));
    par_ = par;
    HabilitarAcciones(true);
    Q_EMIT vida_.traduccionLeida(par_, texto);
}
