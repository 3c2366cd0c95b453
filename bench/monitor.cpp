// Cost of the live length monitor's ticks, against a tick that walks every line through the line
// queries, and the editor's processor use while nobody types.
#include "medicion.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include "boton_imagen.h"
#include "caja_texto.h"
#include "frmEditor.h"
#include "mensajes.h"
#include "numeros.h"
#include "texto.h"

namespace {

// The tick as first written: every statement answered by the line queries, the total by walking
// every line.
void TickDeReferencia(frmEditor& v)
{
    const CajaTexto& caja = *v.txtTraducido;
    if (v.lstOriginal->count() == 0)
        return;
    v.txtTraducido->setToolTip(TextoLinea(caja, v.lstOriginal->indice()));
    const int c = LineaActual(caja);
    if (c < v.lstOriginal->count())
        v.lstOriginal->setIndice(c);
    v.lblLl->setText(QString::number(LargoLineaCursor(caja)));
    v.lblLlo->setText(QString::number(v.lstOriginal->textoSeleccionado().size()));
    qint32 total = 0;
    const int lineas = CantidadLineas(caja);
    for (int i = 0; i < lineas; ++i)
        total += qint32(TextoLinea(caja, i).size());
    v.lblLtl->setText(QString::number(total));
    if (NumeroInicial(v.lblLtlo->text()) > 0)
        v.lblDisp->setText(QString::number(qint64(NumeroInicial(v.lblLtlo->text()) - total)));
    const bool aviso = CantidadLineas(caja) > v.lstOriginal->count() ||
                       NumeroInicial(v.lblLl->text()) > NumeroInicial(v.lblLlo->text()) ||
                       NumeroInicial(v.lblLtl->text()) > NumeroInicial(v.lblLtlo->text());
    v.p->setVisible(aviso);
    v.lstOriginal->setToolTip(v.lstOriginal->textoSeleccionado());
}

// The window opened on a folder holding one pair of `lineas` lines, with the pair loaded.
std::unique_ptr<frmEditor> AbrirPar(const QTemporaryDir& carpeta, int lineas, CajaMensajes& caja)
{
    EscribirPar(carpeta.path(), QStringLiteral("guion.txt"), lineas);
    return AbrirVentanaCargada(carpeta.path(), caja);
}

// Puts the caret at the start of a line of the translation.
void CursorEnLinea(frmEditor& v, int linea)
{
    QTextCursor cursor(v.txtTraducido->document()->findBlockByNumber(linea));
    v.txtTraducido->setTextCursor(cursor);
}

// Ticks until the monitor rests, as the timer would between keystrokes.
void Asentar(frmEditor& v)
{
    for (int i = 0; i < 4; ++i)
        v.timer_Timer();
}

} // namespace

void MedirMonitor()
{
    std::printf("Monitor de largos: microsegundos por tick (mediana)\n");
    std::printf("%9s %12s %12s %12s %14s %12s\n", "lineas", "sin cambio", "tecla", "cursor", "referencia",
                "ref/tecla");
    CajaMuda caja;
    std::unique_ptr<QTemporaryDir> carpetaMayor;
    std::unique_ptr<frmEditor> ventanaMayor;
    for (const int lineas : {1000, 10000, 100000}) {
        auto carpeta = std::make_unique<QTemporaryDir>();
        std::unique_ptr<frmEditor> ventana = AbrirPar(*carpeta, lineas, caja);
        frmEditor& v = *ventana;
        if (v.lstOriginal->count() != lineas) {
            std::printf("%9d  no se cargó el par\n", lineas);
            continue;
        }
        // The real timer stays out of the way: every tick below is called directly.
        v.timer->stop();
        const int mitad = lineas / 2;
        CursorEnLinea(v, mitad);
        Asentar(v);

        constexpr int porLote = 1000;
        const double sinCambio = Mediana(
                                     31, [](int) {},
                                     [&] {
                                         for (int i = 0; i < porLote; ++i)
                                             v.timer_Timer();
                                     }) /
                                 porLote;

        // One character typed, then deleted, at the caret; each is one change.
        const double tecla = Mediana(
            201,
            [&](int i) {
                Asentar(v);
                QTextCursor cursor = v.txtTraducido->textCursor();
                if (i % 2 == 0)
                    cursor.insertText(QStringLiteral("x"));
                else
                    cursor.deletePreviousChar();
                v.txtTraducido->setTextCursor(cursor);
            },
            [&] { v.timer_Timer(); });

        const double cursor = Mediana(
            201,
            [&](int i) {
                Asentar(v);
                CursorEnLinea(v, mitad + 1 + i % 2);
            },
            [&] { v.timer_Timer(); });

        const double referencia = Mediana(
            lineas >= 100000 ? 11 : 31, [&](int i) { CursorEnLinea(v, mitad + i % 2); },
            [&] { TickDeReferencia(v); });

        std::printf("%9d %12.2f %12.2f %12.2f %14.1f %12.0f\n", lineas, sinCambio, tecla, cursor, referencia,
                    referencia / tecla);
        std::fflush(stdout);
        if (lineas == 100000) {
            carpetaMayor = std::move(carpeta);
            ventanaMayor = std::move(ventana);
        }
    }

    if (!ventanaMayor)
        return;
    // Idle: the timer as the window runs it, the event loop running, nobody typing.
    Asentar(*ventanaMayor);
    ventanaMayor->timer->start();
    ProcesarEventos(500);
    constexpr int segundos = 10;
    const double antes = SegundosProcesador();
    const double antesVentana = SegundosProcesadorHilo();
    QElapsedTimer reloj;
    reloj.start();
    ProcesarEventos(segundos * 1000);
    const double usado = SegundosProcesador() - antes;
    const double ventana = SegundosProcesadorHilo() - antesVentana;
    const double transcurrido = double(reloj.nsecsElapsed()) / 1e9;
    std::printf(
        "En reposo con un par de 100000 lineas: %.3f s de procesador en %.1f s (%.3f%% de un nucleo)\n",
        usado, transcurrido, 100.0 * usado / transcurrido);
    // The idle checks (spelling, the script's problems) run on the window's thread; the memory's index and
    // the folder's status on threads of their own.
    std::printf("  de ellos, en el hilo de la ventana: %.3f s\n", ventana);
}
