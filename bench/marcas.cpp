// Cost of the marked lines: a load with half the lines too long beside one with none, a keystroke's
// re-measure and the tick after it, one paint of the box and of its scroll bar with 50,000 marks, and F8
// across a whole script to its only marked line.
#include "medicion.h"

#include <cstdio>
#include <functional>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include "boton_imagen.h"
#include "caja_texto.h"
#include "frmEditor.h"
#include "lista_archivos.h"
#include "marcas.h"
#include "mensajes.h"
#include "pintura.h"

namespace {

// A line of about 50 characters; `mas` characters longer when asked.
QByteArray Linea(int i, const QByteArray& palabra, int mas)
{
    QByteArray linea = QByteArray::number(i) + ' ';
    while (linea.size() < 60)
        linea += palabra;
    linea.truncate(44 + i % 13 + mas);
    return linea + "\r\n";
}

// An original and a translation of `lineas` lines; the translation's line i is five characters longer when
// `larga(i)`, and so is the original's when `cabe`: the same translation then has no line too long.
void EscribirParMarcado(const QString& carpeta, int lineas, const std::function<bool(int)>& larga,
                        bool cabe = false)
{
    QByteArray original;
    QByteArray traduccion;
    for (int i = 0; i < lineas; ++i) {
        original += Linea(i, "the quick brown fox ", cabe && larga(i) ? 5 : 0);
        traduccion += Linea(i, "el veloz murcielago ", larga(i) ? 5 : 0);
    }
    QDir(carpeta).mkpath(QStringLiteral("Traducidos"));
    for (const auto& [ruta, datos] : {std::pair{QString(carpeta + u"/guion.txt"), original},
                                      std::pair{QString(carpeta + u"/Traducidos/guion.txt"), traduccion}}) {
        QFile archivo(ruta);
        if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
            archivo.write(datos);
    }
}

std::unique_ptr<frmEditor> AbrirPar(const QString& carpeta, CajaMensajes& caja)
{
    auto ventana = AbrirVentanaCargada(carpeta, caja);
    ventana->timer->stop();
    return ventana;
}

void Asentar(frmEditor& v)
{
    for (int i = 0; i < 4; ++i)
        v.timer_Timer();
}

double TiempoCarga(frmEditor& v)
{
    return MedianaMicrosegundos(7, [&] {
        v.File1->setIndice(0);
        QApplication::processEvents();
    });
}

QAction* Accion(const frmEditor& v, const QKeySequence& atajo)
{
    for (QAction* accion : v.txtTraducido->actions())
        if (accion->shortcut() == atajo)
            return accion;
    return nullptr;
}

void CursorEn(frmEditor& v, int linea)
{
    v.txtTraducido->setTextCursor(QTextCursor(v.txtTraducido->document()->findBlockByNumber(linea)));
}

} // namespace

void MedirMarcas()
{
    CajaMuda caja;

    {
        // The first window pays for fonts and styles once; no table counts it.
        QTemporaryDir carpeta;
        EscribirParMarcado(carpeta.path(), 1000, [](int) { return false; });
        (void)TiempoCarga(*AbrirPar(carpeta.path(), caja));
    }
    std::printf("Carga con líneas marcadas: mediana de 7, ms\n");
    std::printf("%9s %14s %14s %8s\n", "líneas", "mitad largas", "ninguna larga", "razón");
    for (const int lineas : {1000, 10000, 100000}) {
        double tiempos[2] = {0, 0};
        for (const int mitad : {1, 0}) {
            QTemporaryDir carpeta;
            // The same translation both times; only the original decides whether half of it is too long.
            EscribirParMarcado(
                carpeta.path(), lineas, [](int i) { return i % 2 == 0; }, !mitad);
            std::unique_ptr<frmEditor> v = AbrirPar(carpeta.path(), caja);
            if (v->marcas().largas() != (mitad ? (lineas + 1) / 2 : 0))
                std::printf("  marcas inesperadas: %d\n", v->marcas().largas());
            tiempos[mitad] = TiempoCarga(*v) / 1000;
        }
        std::printf("%9d %14.1f %14.1f %8.2f\n", lineas, tiempos[1], tiempos[0], tiempos[1] / tiempos[0]);
        std::fflush(stdout);
    }

    std::printf("\nUna tecla en mitad del guion (mitad de líneas largas): mediana, µs\n");
    std::printf("%9s %12s %12s %12s %12s %12s\n", "líneas", "tecla", "caja sola", "tick", "Enter",
                "Enter sola");
    std::unique_ptr<frmEditor> mayor;
    std::unique_ptr<QTemporaryDir> carpetaMayor;
    for (const int lineas : {1000, 10000, 100000}) {
        auto carpeta = std::make_unique<QTemporaryDir>();
        EscribirParMarcado(carpeta->path(), lineas, [](int i) { return i % 2 == 0; });
        std::unique_ptr<frmEditor> v = AbrirPar(carpeta->path(), caja);
        // The same text in a bare box of the same kind: what Qt's own edit costs.
        CajaTexto sola;
        sola.setPlainText(v->txtTraducido->toPlainText());
        const int linea = lineas / 2 + 1;
        // Types at the end of the line, then takes it back: a character the caret passed, or the line break
        // after the caret.
        const auto teclear = [linea](CajaTexto& c, int i, const QString& texto) {
            QTextCursor cursor(c.document()->findBlockByNumber(linea));
            cursor.movePosition(QTextCursor::EndOfBlock);
            if (i % 2 == 0)
                cursor.insertText(texto);
            else if (texto == u"\n")
                cursor.deleteChar();
            else
                cursor.deletePreviousChar();
            return cursor;
        };
        // Typing at the end of a line that fits, five characters make it too long and back.
        const auto tecla = [&](CajaTexto& c) {
            return Mediana(
                201, [](int) {}, [&, i = 0]() mutable { teclear(c, i++, QStringLiteral("x")); });
        };
        QTextCursor fin(v->txtTraducido->document()->findBlockByNumber(linea));
        fin.movePosition(QTextCursor::EndOfBlock);
        fin.insertText(QStringLiteral("abcd"));
        const double conMarcas = tecla(*v->txtTraducido);
        const double suelo = tecla(sola);
        const double tick = Mediana(
            201,
            [&](int i) {
                Asentar(*v);
                v->txtTraducido->setTextCursor(teclear(*v->txtTraducido, i, QStringLiteral("x")));
            },
            [&] { v->timer_Timer(); });
        const auto enter = [&](CajaTexto& c) {
            return Mediana(
                32, [](int) {}, [&, i = 0]() mutable { teclear(c, i++, QStringLiteral("\n")); });
        };
        const double conEnter = enter(*v->txtTraducido);
        const double enterSola = enter(sola);
        std::printf("%9d %12.2f %12.2f %12.2f %12.1f %12.1f\n", lineas, conMarcas, suelo, tick, conEnter,
                    enterSola);
        std::fflush(stdout);
        if (lineas == 100000) {
            mayor = std::move(v);
            carpetaMayor = std::move(carpeta);
        }
    }

    const auto pintura = [](frmEditor& v) {
        CursorEn(v, 50000);
        Asentar(v);
        QApplication::processEvents();
        QWidget* barra = v.txtTraducido->verticalScrollBar()->findChild<MarcasBarra*>();
        const double caja = MedianaMicrosegundos(101, [&] { v.txtTraducido->viewport()->repaint(); });
        const double trazos = MedianaMicrosegundos(101, [&] { barra->repaint(); });
        const double calculo =
            MedianaMicrosegundos(101, [&] { (void)TrazosBarra(v.marcas(), barra->height()); });
        std::printf("%9d %12.1f %12.1f %12.1f\n", v.marcas().cantidad(), caja, trazos, calculo);
    };
    std::printf("\nUna pintura, 100000 líneas: mediana de 101, µs\n");
    std::printf("%9s %12s %12s %12s\n", "marcas", "caja", "barra", "trazos");
    if (mayor)
        pintura(*mayor);

    {
        QTemporaryDir carpeta;
        EscribirParMarcado(carpeta.path(), 100000, [](int i) { return i == 99999; });
        std::unique_ptr<frmEditor> v = AbrirPar(carpeta.path(), caja);
        QAction* f8 = Accion(*v, QKeySequence(Qt::Key_F8));
        QAction* mayusF8 = Accion(*v, QKeySequence(Qt::SHIFT | Qt::Key_F8));
        pintura(*v);
        std::printf("\nF8 hasta la única línea marcada, al final de 100000 líneas: mediana de 101, µs\n");
        const double adelante = Mediana(
            101, [&](int) { CursorEn(*v, 0); }, [&] { f8->trigger(); });
        const bool llego = v->txtTraducido->textCursor().blockNumber() == 99999;
        const double atras = Mediana(
            101, [&](int) { CursorEn(*v, 99998); }, [&] { mayusF8->trigger(); });
        std::printf("  F8 %.1f, Mayús+F8 (vuelta al final) %.1f%s\n", adelante, atras,
                    llego ? "" : "  (no llegó a la línea)");
    }
}
