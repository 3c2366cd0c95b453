// What the live length monitor keeps between ticks: enough to see, at almost no cost, that nothing a
// tick reads or writes has changed since a tick that left everything as it found it.
#pragma once

#include <vector>

#include <QObject>
#include <QString>

class QTextDocument;

// Everything a tick depends on or writes, in a form that is cheap to take and compare. The text and
// the list's items are stood for by counts of their change signals.
struct InstantaneaMonitor
{
    const QTextDocument* documento = nullptr;
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

struct EstadoMonitor
{
    EstadoMonitor() = default;
    Q_DISABLE_COPY_MOVE(EstadoMonitor)
    // The window's members go before its controls do: a control's last signals must find nothing
    // connected here.
    ~EstadoMonitor();

    quint64 cambiosTexto = 0;
    quint64 cambiosLista = 0;
    const QTextDocument* documentoVigilado = nullptr;
    QMetaObject::Connection conexionDocumento;
    std::vector<QMetaObject::Connection> conexiones;
    // The state the last full tick left. When that tick changed nothing (`estable`), a tick from the
    // same state would change nothing either, so it can be skipped and the timer can rest.
    InstantaneaMonitor ultima;
    bool estable = false;
};
