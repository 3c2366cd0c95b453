// The live length monitor: on every tick, the original's selection follows the caret's line, the
// counters are refreshed and at most one warning shows.
//
// A tick reads only what the document and the list keep at hand (block tree, character count), so
// its cost does not grow with the script. A tick that finds everything as the last quiet tick left it
// returns at once and lets the timer rest; any change to what a tick reads wakes it again.
#include "frmEditor.h"

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

EstadoMonitor::~EstadoMonitor()
{
    QObject::disconnect(conexionDocumento);
    for (const QMetaObject::Connection& conexion : conexiones)
        QObject::disconnect(conexion);
}

void frmEditor::ConectarMonitor()
{
    VigilarDocumento();
    std::vector<QMetaObject::Connection>& conexiones = monitor_.conexiones;
    const auto despertar = &frmEditor::DespertarMonitor;
    conexiones.push_back(connect(txtTraducido, &QPlainTextEdit::cursorPositionChanged, this, despertar));
    conexiones.push_back(connect(txtTraducido, &QPlainTextEdit::selectionChanged, this, despertar));
    const auto cambioLista = [this] {
        ++monitor_.cambiosLista;
        DespertarMonitor();
    };
    const QAbstractItemModel* modelo = lstOriginal->model();
    conexiones.push_back(connect(modelo, &QAbstractItemModel::rowsInserted, this, cambioLista));
    conexiones.push_back(connect(modelo, &QAbstractItemModel::rowsRemoved, this, cambioLista));
    conexiones.push_back(connect(modelo, &QAbstractItemModel::rowsMoved, this, cambioLista));
    conexiones.push_back(connect(modelo, &QAbstractItemModel::modelReset, this, cambioLista));
    conexiones.push_back(connect(modelo, &QAbstractItemModel::dataChanged, this, cambioLista));
    conexiones.push_back(connect(modelo, &QAbstractItemModel::layoutChanged, this, cambioLista));
    conexiones.push_back(connect(lstOriginal, &QListWidget::itemSelectionChanged, this, despertar));
    conexiones.push_back(connect(lstOriginal, &QListWidget::currentRowChanged, this, despertar));
    // The counters, the warning and the tooltips have no change signal. Whatever handler touched them,
    // the event loop passes here before it waits again or when it next looks for events (a load
    // yielding, a test waiting), and the timer wakes if a tick has work to do.
    if (QAbstractEventDispatcher* despachador = QAbstractEventDispatcher::instance(thread())) {
        const auto revisar = [this] {
            if (!timer->isActive() && MonitorPendiente())
                timer->start();
        };
        conexiones.push_back(connect(despachador, &QAbstractEventDispatcher::aboutToBlock, this, revisar));
        conexiones.push_back(connect(despachador, &QAbstractEventDispatcher::awake, this, revisar));
    }
}

void frmEditor::VigilarDocumento()
{
    disconnect(monitor_.conexionDocumento);
    monitor_.documentoVigilado = txtTraducido->document();
    monitor_.conexionDocumento =
        connect(monitor_.documentoVigilado, &QTextDocument::contentsChange, this,
                [this](int, int quitados, int agregados) {
                    // Restyling, such as the spelling underlines, changes no text.
                    if (quitados == agregados && SoloFormato(monitor_.documentoVigilado))
                        return;
                    ++monitor_.cambiosTexto;
                    DespertarMonitor();
                });
}

void frmEditor::DespertarMonitor()
{
    if (!timer->isActive())
        timer->start();
}

bool frmEditor::MonitorPendiente() const
{
    return !monitor_.estable || CapturarMonitor() != monitor_.ultima;
}

InstantaneaMonitor frmEditor::CapturarMonitor() const
{
    const QTextCursor cursor = txtTraducido->textCursor();
    return {txtTraducido->document(),
            monitor_.cambiosTexto,
            cursor.selectionStart(),
            cursor.position(),
            lstOriginal->count(),
            monitor_.cambiosLista,
            lstOriginal->indice(),
            lblLl->text(),
            lblLlo->text(),
            lblLtl->text(),
            lblLtlo->text(),
            lblDisp->text(),
            msg->text(),
            !p->isHidden(),
            txtTraducido->toolTip(),
            lstOriginal->toolTip()};
}

void frmEditor::timer_Timer()
{
    if (txtTraducido->document() != monitor_.documentoVigilado)
        VigilarDocumento();
    const InstantaneaMonitor antes = CapturarMonitor();
    if (monitor_.estable && antes == monitor_.ultima) {
        timer->stop();
        return;
    }
    if (lstOriginal->count() > 0)
        RefrescarMonitor();
    monitor_.ultima = CapturarMonitor();
    monitor_.estable = monitor_.ultima == antes;
    if (monitor_.estable)
        timer->stop();
}

void frmEditor::RefrescarMonitor()
{
    // The tooltip shows the translation line that matches the selection the previous tick made.
    Omitir([this] { PonerAyuda(txtTraducido, TextoLinea(*txtTraducido, lstOriginal->indice())); });
    Omitir([this] {
        const int linea = LineaActual(*txtTraducido);
        // Selecting the item already selected changes nothing, so it is not done again.
        if (linea < lstOriginal->count() && linea != lstOriginal->indice())
            lstOriginal->setIndice(linea);
    });
    Omitir([this] { lblLl->setText(QString::number(LargoLineaCursor(*txtTraducido))); });
    Omitir([this] { lblLlo->setText(QString::number(lstOriginal->textoSeleccionado().size())); });
    Omitir([this] { lblLtl->setText(QString::number(LargoTotal(*txtTraducido))); });
    Omitir([this] {
        const double totalOriginal = NumeroInicial(lblLtlo->text());
        if (totalOriginal > 0)
            lblDisp->setText(TextoNumero(totalOriginal - NumeroInicial(lblLtl->text())));
    });
    Omitir([this] {
        const auto avisar = [this](const QString& aviso) {
            p->setVisible(true);
            msg->setText(aviso);
        };
        if (CantidadLineas(*txtTraducido) > lstOriginal->count()) {
            avisar(avisoLineas);
        } else if (NumeroInicial(lblLl->text()) > NumeroInicial(lblLlo->text())) {
            avisar(avisoLargoLinea);
        } else if (NumeroInicial(lblLtl->text()) > NumeroInicial(lblLtlo->text())) {
            avisar(avisoLargoTotal);
        } else {
            msg->setText(QString());
            p->setVisible(false);
        }
    });
    Omitir([this] { PonerAyuda(lstOriginal, lstOriginal->textoSeleccionado()); });
}
