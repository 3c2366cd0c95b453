// The live length monitor: on every tick of the window's timer, the original's selection follows the
// caret's line, the counters are refreshed and at most one warning shows.
//
// A tick reads only what the document and the list keep at hand (block tree, character count), so its
// cost does not grow with the script. A tick that finds everything as the last quiet tick left it
// returns at once and lets the timer rest; any change to what a tick reads wakes it again.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QTimer;
class CajaTexto;
class ListaSimple;

// The controls a tick reads and writes.
struct ControlesMonitor
{
    CajaTexto& txtTraducido;
    ListaSimple& lstOriginal;
    QLabel& lblLl;
    QLabel& lblLlo;
    QLabel& lblLtl;
    QLabel& lblLtlo;
    QLabel& lblDisp;
    QLabel& msg;
    QLabel& p;
    QTimer& timer;
};

// Everything a tick depends on or writes, in a form that is cheap to take and compare. The text and
// the list's items are stood for by counts of their change signals.
struct InstantaneaMonitor
{
    quint64 cambiosTexto = 0;
    int inicioSeleccion = 0;
    int posicionCursor = 0;
    int items = 0;
    quint64 cambiosLista = 0;
    int indice = -1;
    QString ll, llo, ltl, ltlo, disp, aviso;
    bool senal = false;
    QString ayudaTraduccion, ayudaLista;

    friend bool operator==(const InstantaneaMonitor&, const InstantaneaMonitor&) = default;
};

class MonitorEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MonitorEditor)
public:
    explicit MonitorEditor(ControlesMonitor controles);

    // One tick of the window's timer.
    void Tick();

private:
    void Vigilar();
    void VigilarDocumento();
    void Despertar();
    bool Pendiente() const;
    InstantaneaMonitor Capturar() const;
    void Refrescar();

    ControlesMonitor c_;
    quint64 cambiosTexto_ = 0;
    quint64 cambiosLista_ = 0;
    QMetaObject::Connection conexionDocumento_;
    // The state the last full tick left. When that tick changed nothing (`estable_`), a tick from the
    // same state would change nothing either, so it can be skipped and the timer can rest.
    InstantaneaMonitor ultima_;
    bool estable_ = false;
};
