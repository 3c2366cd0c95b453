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
    hayTraducido = false;
    HabilitarAcciones(false);
    lstOriginal->clear();
    txtTraducido->clear();

    QStringList traduccion;
    hayTraducido = LeerTraduccion(rutaTraduccion(), carga, traduccion);
    if (!SigueVigente(carga))
        return;
    txtTraducido->setLineas(traduccion);

    qint32 total = 0;
    try {
        if (!LeerOriginal(carga, total))
            return;
    } catch (const ErrorEjecucion& error) {
        hayTraducido = false;
        MostrarError(error.numero(), error.descripcion());
        return;
    }
    lblLtlo->setText(QString::number(total));
    HabilitarAcciones(true);
}

// Reads the translation into `lineas`; false when there is none or it cannot be read, in which case
// `lineas` holds what was read before the failure.
bool frmEditor::LeerTraduccion(const QString& ruta, quint64 carga, QStringList& lineas)
{
    try {
        LectorLineas lector(LeerArchivo(ruta));
        formatoPar_ = lector.formato();
        LeerPorTramos(
            lector, [&] { return SigueVigente(carga); }, [&](QStringList tramo) { lineas.append(tramo); });
        return true;
    } catch (const ErrorEjecucion&) {
        return false;
    }
}

// Lists the original's lines and sums their lengths; false when the load was superseded.
bool frmEditor::LeerOriginal(quint64 carga, qint32& total)
{
    LectorLineas lector(LeerArchivo(rutaOriginal()));
    if (!hayTraducido)
        formatoPar_ = lector.formato();
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
