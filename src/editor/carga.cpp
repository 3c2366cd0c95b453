// Loading a script pair: the earlier translation into the box, the original's lines into the list.
#include "frmEditor.h"

#include <limits>

#include <QElapsedTimer>
#include <QLabel>

#include "archivos.h"
#include "boton_imagen.h"
#include "caja_texto.h"
#include "ceder.h"
#include "errores.h"

namespace {

// How long a load reads before it lets the window handle its events.
constexpr qint64 msEntreCesiones = 20;

// Reads the lines of a file, yielding to the event loop after every stretch of reading work.
// Returns false when the load was superseded while it yielded.
template <typename Vigente, typename Tramo>
bool LeerPorTramos(LectorLineas& lector, Vigente sigueVigente, Tramo entregar)
{
    QElapsedTimer reloj;
    reloj.start();
    QStringList tramo;
    while (!lector.fin()) {
        tramo.append(lector.siguiente());
        if (reloj.elapsed() < msEntreCesiones)
            continue;
        entregar(std::exchange(tramo, {}));
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
    const quint64 carga = ++cargaActual_;
    // Until this pair is read, nothing on disk is known to belong to it: a deletion meanwhile must not take
    // the previous script's translation for this one's.
    OlvidarPar();
    HabilitarAcciones(false);
    lstOriginal->clear();
    txtTraducido->clear();

    ParCargado par{.rutaOriginal = rutaOriginal(), .rutaTraduccion = rutaTraduccion()};
    QStringList traduccion;
    if (!LeerTraduccion(par, carga, traduccion))
        return;
    par_ = par;
    txtTraducido->setLineas(traduccion);

    qint32 total = 0;
    try {
        if (!LeerOriginal(par, carga, total))
            return;
    } catch (const ErrorEjecucion& error) {
        OlvidarPar();
        MostrarError(error.numero(), error.descripcion());
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

// Reads the translation into `lineas` and what it learns into `par`; a translation that is missing or
// cannot be read leaves the box empty. False only when a newer load took over meanwhile.
bool frmEditor::LeerTraduccion(ParCargado& par, quint64 carga, QStringList& lineas)
{
    try {
        LectorLineas lector(LeerArchivo(par.rutaTraduccion));
        par.formatoTraduccion = lector.formato();
        if (!LeerPorTramos(
                lector, [&] { return SigueVigente(carga); }, [&](QStringList tramo) { lineas.append(tramo); }))
            return false;
        par.hayTraducido = true;
    } catch (const ErrorEjecucion&) {
        // The original is loaded alone.
    }
    return SigueVigente(carga);
}

// Lists the original's lines and sums their lengths; false when the load was superseded.
bool frmEditor::LeerOriginal(ParCargado& par, quint64 carga, qint32& total)
{
    LectorLineas lector(LeerArchivo(par.rutaOriginal));
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
