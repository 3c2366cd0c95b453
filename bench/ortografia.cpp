// Cost of spelling as you type on scripts of Spanish text with one misspelled word in ten: the load
// with checking on beside the load with it off, the idle checking of the whole script, a keystroke's
// re-check, the context menu with its corrections, and the processor use once checking is done; then the
// processor time of the idle checking of 100,000 lines with the first highlighter and with the current one.
#include "medicion.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include "caja_texto.h"
#include "diccionarios.h"
#include "frmEditor.h"
#include "fuentes.h"
#include "lista_archivos.h"
#include "mensajes.h"
#include "ortografia_referencia.h"
#include "resaltador.h"
#include "revisor.h"

namespace {

constexpr int repeticiones = 5;

const QStringList correctas =
    QStringLiteral(
        "el caballero cruzó el puente del castillo antes de que cayera la noche y los guardias cerraron la "
        "puerta mientras la reina esperaba noticias del norte con el corazón en un puño porque nadie sabía "
        "dónde estaba su hijo ni cuándo volvería a casa")
        .split(u' ');
const QStringList erratas = QStringLiteral("nesecito travez haci ademas dijistes cancion tambien despues "
                                           "quizas porfavor")
                                .split(u' ');

// Lines of about 50 characters; every tenth word is misspelled.
QByteArray Guion(int lineas)
{
    QByteArray datos;
    int palabra = 0;
    for (int i = 0; i < lineas; ++i) {
        QString linea;
        while (linea.size() < 45) {
            ++palabra;
            linea += (palabra % 10 == 0 ? erratas[(palabra / 10) % erratas.size()]
                                        : correctas[palabra % correctas.size()]) +
                     u' ';
        }
        datos += linea.trimmed().toUtf8() + "\r\n";
    }
    return datos;
}

void Escribir(const QString& ruta, const QByteArray& datos)
{
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile archivo(ruta);
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        archivo.write(datos);
}

struct Banco
{
    QTemporaryDir dir;
    CajaMuda caja;
    std::unique_ptr<frmEditor> ventana;

    Banco(int lineas, bool activa)
    {
        Escribir(dir.filePath(QStringLiteral("guion.txt")), Guion(lineas));
        Escribir(dir.filePath(QStringLiteral("Traducidos/guion.txt")), Guion(lineas));
        const QString ajustes = dir.filePath(QStringLiteral("ajustes.ini"));
        QSettings(ajustes, QSettings::IniFormat).setValue(QStringLiteral("ortografia/activa"), activa);
        ventana = std::make_unique<frmEditor>(Servicios{.mensajes = &caja,
                                                        .carpetaInicial = dir.path(),
                                                        .carpetaDatos = dir.filePath(QStringLiteral("datos")),
                                                        .archivoAjustes = ajustes});
        ventana->show();
        while (!ventana->arranqueTerminado())
            QApplication::processEvents();
        TerminarRevision();
    }

    // Until the window answers again: the load, then one pass of the event loop.
    double Carga()
    {
        return Mediana(
            repeticiones,
            [&](int) {
                ventana->File1->setIndice(-1);
                TerminarRevision();
            },
            [&] {
                ventana->File1->setIndice(0);
                QApplication::processEvents();
            });
    }

    void TerminarRevision()
    {
        while (ventana->ortografia().Pendiente())
            QApplication::processEvents();
    }
};

// Processor seconds of the idle checking of `lineas`, from the box filled to its last underline drawn, in a
// box of the window's size and font showing its first lines, with a fresh checker.
template <typename Resaltador>
double ProcesadorRevision(const QStringList& lineas, const Diccionario& diccionario)
{
    QTemporaryDir dir;
    auto revisor = std::make_shared<Revisor>(dir.filePath(QStringLiteral("palabras.txt")));
    revisor->Cargar(diccionario);
    CajaTexto caja;
    caja.setFont(FuenteCourier());
    caja.resize(449, 169);
    caja.show();
    const auto resaltador = std::make_unique<Resaltador>(caja.document(), revisor, [&caja] {
        const int primera = caja.cursorForPosition(QPoint(0, 0)).blockNumber();
        const int ultima = caja.cursorForPosition(QPoint(0, caja.viewport()->height() - 1)).blockNumber();
        return std::pair{primera, ultima};
    });
    caja.setLineas(lineas);
    const double antes = SegundosProcesador();
    while (resaltador->trabajoPendiente())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    return SegundosProcesador() - antes;
}

void MedirProcesadorRevision()
{
    std::optional<Diccionario> espanol;
    for (const Diccionario& d : BuscarDiccionarios())
        if (d.codigo == u"es_ES")
            espanol = d;
    if (!espanol) {
        std::printf("Revisión en reposo: no hay diccionario es_ES instalado\n");
        return;
    }
    constexpr int lineas = 100000;
    std::printf("Revisión en reposo de %d líneas, segundos de procesador (mediana de 3)\n", lineas);
    std::printf("%-32s %10s %10s %7s\n", "guion", "primera", "actual", "razón");
    const QList<std::pair<const char*, QByteArray>> guiones{
        {"una errata cada diez palabras", Guion(lineas)},
        {"erratas en cada línea", GuionRepetido(lineas, "el veloz murcielago ")}};
    for (const auto& [nombre, datos] : guiones) {
        const QStringList texto = QString::fromUtf8(datos).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        const auto mediana = [&](auto medir) {
            std::vector<double> tiempos;
            for (int i = 0; i < 3; ++i)
                tiempos.push_back(medir());
            std::sort(tiempos.begin(), tiempos.end());
            return tiempos[1];
        };
        const double primera =
            mediana([&] { return ProcesadorRevision<ResaltadorReferencia>(texto, *espanol); });
        const double actual =
            mediana([&] { return ProcesadorRevision<ResaltadorOrtografia>(texto, *espanol); });
        std::printf("%-32s %10.3f %10.3f %7.2f\n", nombre, primera, actual, actual / primera);
        std::fflush(stdout);
    }
}

} // namespace

void MedirOrtografia()
{
    std::printf("Ortografía: guion en español, una errata cada diez palabras, mediana de %d\n", repeticiones);
    std::printf("%9s %10s %10s %7s %12s %11s %11s %10s %8s\n", "líneas", "sin ms", "con ms", "razón",
                "revisión ms", "tecla µs", "sin rev µs", "menú ms", "CPU %");
    for (const int lineas : {1000, 10000, 100000}) {
        double sin = 0;
        {
            Banco banco(lineas, false);
            sin = banco.Carga();
        }
        Banco banco(lineas, true);
        const double con = banco.Carga();
        frmEditor& v = *banco.ventana;

        // The idle checking of the whole script, from a fresh load.
        v.File1->setIndice(-1);
        banco.TerminarRevision();
        QElapsedTimer reloj;
        reloj.start();
        v.File1->setIndice(0);
        banco.TerminarRevision();
        const double revision = double(reloj.nsecsElapsed()) / 1e6;

        // A keystroke in the middle of the script, with checking on and off.
        CajaTexto* caja = v.txtTraducido;
        const auto tecla = [&] {
            QTextCursor cursor(caja->document()->findBlockByNumber(lineas / 2));
            cursor.movePosition(QTextCursor::EndOfBlock);
            caja->setTextCursor(cursor);
            return Mediana(
                51, [](int) {},
                [&] {
                    QKeyEvent pulsada(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
                    QApplication::sendEvent(caja, &pulsada);
                });
        };
        const double conTecla = tecla();
        QAction* revisar = caja->actions().value(0);
        revisar->trigger();
        banco.TerminarRevision();
        const double sinTecla = tecla();
        revisar->trigger();
        banco.TerminarRevision();

        // The menu on a misspelled word, its corrections asked of the dictionary as it opens.
        int errata = 0;
        const double menu = Mediana(
            repeticiones * 2, [](int) {},
            [&] {
                const QTextBlock bloque = caja->document()->findBlockByNumber(errata++);
                const QString texto = bloque.text();
                int columna = 0;
                for (const QString& e : erratas)
                    if (const qsizetype i = texto.indexOf(e); i >= 0)
                        columna = int(i) + 1;
                QTextCursor cursor(bloque);
                cursor.setPosition(bloque.position() + columna);
                const QPoint lugar = caja->cursorRect(cursor).center();
                std::unique_ptr<QMenu> m(caja->createStandardContextMenu(lugar));
                Q_EMIT caja->menuContextual(m.get(), lugar);
            });

        // The processor while nobody types, once the checking is done.
        const double cpuAntes = SegundosProcesador();
        QElapsedTimer pared;
        pared.start();
        ProcesarEventos(2000);
        const double cpu = 100.0 * (SegundosProcesador() - cpuAntes) / (double(pared.nsecsElapsed()) / 1e9);

        std::printf("%9d %10.1f %10.1f %7.2f %12.1f %11.1f %11.1f %10.1f %8.2f\n", lineas, sin / 1000,
                    con / 1000, con / sin, revision, conTecla, sinTecla, menu / 1000, cpu);
        std::fflush(stdout);
    }
    MedirProcesadorRevision();
}
