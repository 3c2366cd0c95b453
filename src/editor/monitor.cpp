// The live length monitor's ticks and what wakes its timer.
#include "monitor.h"

#include <cmath>

#include <QAbstractEventDispatcher>
#include <QLabel>
#include <QTimer>

#include "caja_texto.h"
#include "errores.h"
#include "formato_documento.h"
#include "numeros.h"
#include "texto.h"

namespace {

const QString avisoLineas = QStringLiteral("Líneas en archivo traducido superan") +
                            QStringLiteral(" las líneas del archivo original.");
const QString avisoLargoLinea = QStringLiteral(
    "Largo de línea del archivo traducido es mayor que el largo de la línea del archivo original");
const QString avisoLargoTotal =
    QStringLiteral("Largo total del archivo traducido es mayor que el largo total del archivo original");

// Runs one statement of the tick; a failing statement is skipped and leaves its control as it was.
template <typename Sentencia> void Omitir(Sentencia sentencia)
{
    try {
        sentencia();
    } catch (const ErrorEjecucion&) {
    }
}

// A counter's number: whole values without a fraction, whatever their size.
QString TextoNumero(double valor)
{
    if (std::trunc(valor) == valor && std::abs(valor) < 1e15)
        return QString::number(qint64(valor));
    return QString::number(valor, 'g', 15);
}

// Setting a tooltip sends the widget an event, so an unchanged one is left alone.
void PonerAyuda(QWidget* control, const QString& texto)
{
    if (control->toolTip() != texto)
        control->setToolTip(texto);
}

} // namespace

MonitorEditor::MonitorEditor(ControlesMonitor controles) : c_(controles)
{
    Vigilar();
}

void MonitorEditor::Vigilar()
{
    VigilarDocumento();
    // Another document is another text.
    connect(&c_.txtTraducido, &CajaTexto::documentoNuevo, this, [this] {
        VigilarDocumento();
        ++cambiosTexto_;
        Despertar();
    });
    connect(&c_.txtTraducido, &QPlainTextEdit::cursorPositionChanged, this, &MonitorEditor::Despertar);
    connect(&c_.txtTraducido, &QPlainTextEdit::selectionChanged, this, &MonitorEditor::Despertar);
    const auto cambioLista = [this] {
        ++cambiosLista_;
        Despertar();
    };
    const QAbstractItemModel* modelo = c_.lstOriginal.model();
    connect(modelo, &QAbstractItemModel::rowsInserted, this, cambioLista);
    connect(modelo, &QAbstractItemModel::rowsRemoved, this, cambioLista);
    connect(modelo, &QAbstractItemModel::rowsMoved, this, cambioLista);
    connect(modelo, &QAbstractItemModel::modelReset, this, cambioLista);
    connect(modelo, &QAbstractItemModel::dataChanged, this, cambioLista);
    connect(modelo, &QAbstractItemModel::layoutChanged, this, cambioLista);
    const QItemSelectionModel* seleccion = c_.lstOriginal.selectionModel();
    connect(seleccion, &QItemSelectionModel::selectionChanged, this, &MonitorEditor::Despertar);
    connect(seleccion, &QItemSelectionModel::currentChanged, this, &MonitorEditor::Despertar);
    // The counters, the warning and the tooltips have no change signal. Whatever handler touched them,
    // the event loop passes here before it waits again or when it next looks for events (a load
    // yielding, a test waiting), and the timer wakes if a tick has work to do.
    if (QAbstractEventDispatcher* despachador = QAbstractEventDispatcher::instance(thread())) {
        const auto revisar = [this] {
            if (!c_.timer.isActive() && Pendiente())
                c_.timer.start();
        };
        connect(despachador, &QAbstractEventDispatcher::aboutToBlock, this, revisar);
        connect(despachador, &QAbstractEventDispatcher::awake, this, revisar);
    }
}

void MonitorEditor::VigilarDocumento()
{
    disconnect(conexionDocumento_);
    conexionDocumento_ = connect(c_.txtTraducido.document(), &QTextDocument::contentsChange, this,
                                 [this](int, int quitados, int agregados) {
                                     // Restyling, such as the spelling underlines, changes no text.
                                     if (quitados == agregados && SoloFormato(c_.txtTraducido.document()))
                                         return;
                                     ++cambiosTexto_;
                                     Despertar();
                                 });
}

void MonitorEditor::Despertar()
{
    if (!c_.timer.isActive())
        c_.timer.start();
}

bool MonitorEditor::Pendiente() const
{
    return !estable_ || Capturar() != ultima_;
}

InstantaneaMonitor MonitorEditor::Capturar() const
{
    const QTextCursor cursor = c_.txtTraducido.textCursor();
    return {
        cambiosTexto_,    cursor.selectionStart(),   cursor.position(),        c_.lstOriginal.count(),
        cambiosLista_,    c_.lstOriginal.indice(),   c_.lblLl.text(),          c_.lblLlo.text(),
        c_.lblLtl.text(), c_.lblLtlo.text(),         c_.lblDisp.text(),        c_.msg.text(),
        !c_.p.isHidden(), c_.txtTraducido.toolTip(), c_.lstOriginal.toolTip(),
    };
}

void MonitorEditor::Tick()
{
    const InstantaneaMonitor antes = Capturar();
    if (estable_ && antes == ultima_) {
        c_.timer.stop();
        return;
    }
    if (c_.lstOriginal.count() > 0)
        Refrescar();
    ultima_ = Capturar();
    estable_ = ultima_ == antes;
    if (estable_)
        c_.timer.stop();
}

void MonitorEditor::Refrescar()
{
    CajaTexto& txtTraducido = c_.txtTraducido;
    ListaSimple& lstOriginal = c_.lstOriginal;
    // The tooltip shows the translation line that matches the selection the previous tick made.
    Omitir([&] { PonerAyuda(&txtTraducido, TextoLinea(txtTraducido, lstOriginal.indice())); });
    Omitir([&] {
        const int linea = LineaActual(txtTraducido);
        // Selecting the item already selected changes nothing, so it is not done again.
        if (linea < lstOriginal.count() && linea != lstOriginal.indice())
            lstOriginal.setIndice(linea);
    });
    Omitir([&] { c_.lblLl.setText(QString::number(LargoLineaCursor(txtTraducido))); });
    Omitir([&] { c_.lblLlo.setText(QString::number(lstOriginal.textoSeleccionado().size())); });
    Omitir([&] { c_.lblLtl.setText(QString::number(LargoTotal(txtTraducido))); });
    Omitir([&] {
        const double totalOriginal = NumeroInicial(c_.lblLtlo.text());
        if (totalOriginal > 0)
            c_.lblDisp.setText(TextoNumero(totalOriginal - NumeroInicial(c_.lblLtl.text())));
    });
    Omitir([&] {
        const auto avisar = [&](const QString& aviso) {
            c_.p.setVisible(true);
            c_.msg.setText(aviso);
        };
        if (CantidadLineas(txtTraducido) > lstOriginal.count()) {
            avisar(avisoLineas);
        } else if (NumeroInicial(c_.lblLl.text()) > NumeroInicial(c_.lblLlo.text())) {
            avisar(avisoLargoLinea);
        } else if (NumeroInicial(c_.lblLtl.text()) > NumeroInicial(c_.lblLtlo.text())) {
            avisar(avisoLargoTotal);
        } else {
            c_.msg.setText(QString());
            c_.p.setVisible(false);
        }
    });
    Omitir([&] { PonerAyuda(&lstOriginal, lstOriginal.textoSeleccionado()); });
}
