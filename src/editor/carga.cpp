// Loading a script pair: the earlier translation into the box, the original's lines into the list.
#include "frmEditor.h"

#include <limits>

#include <QElapsedTimer>
#include <QLabel>
#include <QScopeGuard>

#include "archivos.h"
#include "boton_imagen.h"
#include "caja_texto.h"
#include "ceder.h"
#include "errores.h"

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

// Reads the lines of a file and hands them over a few at a time, yielding to the event loop after every
// stretch of work. Returns false when the load was superseded while it yielded.
template <typename Vigente, typename Tramo>
bool LeerPorTramos(LectorLineas& lector, Vigente sigueVigente, Tramo entregar)
{
    QElapsedTimer reloj;
    reloj.start();
    QStringList tramo;
    qsizetype numero = 0;
    while (!lector.fin()) {
        tramo.append(ComprobarLinea(lector.siguiente(), ++numero));
        if (tramo.size() < lineasPorEntrega && reloj.elapsed() < msEntreCesiones)
            continue;
        entregar(std::exchange(tramo, {}));
        if (reloj.elapsed() < msEntreCesiones)
            continue;
        Ceder();
        if (!sigueVigente())
            return false;
        reloj.restart();
    }
    entregar(std::move(tramo));
    return true;
}

} // namespace

void frmEditor::File1_Click()
{
    DejarBorrador();
    const quint64 carga = ++cargaActual_;
    // Until this pair is read, nothing on disk is known to belong to it: a deletion meanwhile must not take
    // the previous script's translation for this one's.
    OlvidarPar();
    HabilitarAcciones(false);
    lstOriginal->clear();

    ParCargado par{.rutaOriginal = rutaOriginal(), .rutaTraduccion = rutaTraduccion()};
    if (!LeerTraduccion(par, carga))
        return;
    par_ = par;
    EmpezarBorrador();

    ListarOriginal(par, carga);
}

// Lists the original and, once it is read whole, commits the pair as loaded. A failure empties the counters
// and forgets the pair.
void frmEditor::ListarOriginal(ParCargado& par, quint64 carga)
{
    qint32 total = 0;
    try {
        if (!LeerOriginal(par, carga, total))
            return;
    } catch (const ErrorEjecucion& error) {
        OlvidarPar();
        LimpiarContadores();
        MostrarError(error);
        return;
    }
    par.completo = true;
    par_ = par;
    lblLtlo->setText(QString::number(total));
    HabilitarAcciones(true);
}

void frmEditor::OlvidarPar()
{
    par_ = {};
}

// Fills the box with the translation and records in `par` what it learns. A translation that is missing
// or cannot be read leaves the box empty and the original is loaded alone. False only when a newer load
// took over meanwhile.
bool frmEditor::LeerTraduccion(ParCargado& par, quint64 carga)
{
    txtTraducido->empezarCarga();
    const auto fin = qScopeGuard([this] { txtTraducido->terminarCarga(); });
    try {
        LectorLineas lector(LeerArchivo(par.rutaTraduccion, archivos_), EleccionCodificacion().traduccion);
        par.formatoTraduccion = lector.formato();
        if (!LeerPorTramos(
                lector, [&] { return SigueVigente(carga); },
                [&](const QStringList& tramo) {
                    txtTraducido->anadirLineas(tramo);
                    par.traduccionLeida.append(tramo);
                }))
            return false;
        par.hayTraducido = true;
    } catch (const ErrorEjecucion& error) {
        if (!SigueVigente(carga))
            return false;
        txtTraducido->clear();
        // A translation that is there but was not read must not be replaced by a save of the empty box.
        if (error.numero() != Errores::ArchivoNoEncontrado && error.numero() != Errores::RutaNoEncontrada)
            par.traduccionIlegible = error.texto();
        if (error.tieneAviso())
            MostrarError(error);
    }
    return SigueVigente(carga);
}
// Lists the original's lines and sums their lengths; false when the load was superseded.
bool frmEditor::LeerOriginal(ParCargado& par, quint64 carga, qint32& total)
{
    LectorLineas lector(LeerArchivo(par.rutaOriginal, archivos_), EleccionCodificacion().original);
    par.formatoOriginal = lector.formato();
    qint64 suma = 0;
    const bool vigente = LeerPorTramos(
        lector, [&] { return SigueVigente(carga); },
        [&](const QStringList& tramo) {
            for (const QString& linea : tramo)
                suma += linea.size();
            lstOriginal->addItems(tramo);
        });
    if (!vigente)
        return false;
    if (suma > std::numeric_limits<qint32>::max())
        throw ErrorEjecucion(Errores::Desbordamiento);
    total = qint32(suma);
    return true;
}
