// Cost of the checks on scripts with codes on most lines: checking a whole script at once and as a load
// hands its lines over, a keystroke's re-check, a line break's, F9 across a whole script to its only line
// with a problem; and with the controls: a text box and a list filled as a load fills them with the checks
// following them beside without, a keystroke in the box, and the window of problems opened on 20,000; and
// the same through the real window: a load with the checks beside one without, a keystroke, F9 and Ctrl+K.
#include "medicion.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <tuple>

#include <QDir>
#include <QFile>

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTextBlock>

#include <QAction>
#include <QTemporaryDir>

#include "caja_texto.h"
#include "lista_archivos.h"
#include "problemas_caja.h"
#include "problemas_guion.h"
#include "ventana_comprobaciones.h"

namespace {

constexpr int repeticiones = 7;
// How many lines a load hands over at a time.
constexpr int lineasPorEntrega = 2048;

const QStringList originales = {
    QStringLiteral("{PLAYER} found %d coins on level 12. <b>Well done!</b>"),
    QStringLiteral("Do you want to open the door, %s?"),
    QStringLiteral("[PAUSE] The guard says: \"Stop right there.\"\\n"),
    QStringLiteral("You have %1$d potions and %2$s arrows left."),
    QStringLiteral("The castle gate opens slowly in the morning light"),
};
const QStringList traducidas = {
    QStringLiteral("{PLAYER} encontró %d monedas en el nivel 12. <b>¡Bien hecho!</b>"),
    QStringLiteral("¿Quieres abrir la puerta, %s?"),
    QStringLiteral("[PAUSE] El guardia dice: «Alto ahí.»\\n"),
    QStringLiteral("Te quedan %1$d pociones y %2$s flechas."),
    QStringLiteral("La puerta del castillo se abre despacio con la luz del alba"),
};

void Escribir(const QString& ruta, const QStringList& lineas)
{
    QFile archivo(ruta);
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        archivo.write(lineas.join(u"\r\n").toUtf8() + "\r\n");
}

double Milisegundos(double microsegundos)
{
    return microsegundos / 1000.0;
}

// Fills the box and the list as a load does, a stretch at a time: the translation, then the original.
void Llenar(CajaTexto& caja, ListaSimple& lista, const ParConCodigos& par)
{
    caja.empezarCarga();
    for (qsizetype desde = 0; desde < par.traduccion.size(); desde += lineasPorEntrega)
        caja.anadirLineas(par.traduccion.mid(desde, lineasPorEntrega));
    caja.terminarCarga();
    for (qsizetype desde = 0; desde < par.original.size(); desde += lineasPorEntrega)
        lista.anadirLineas(par.original.mid(desde, lineasPorEntrega));
    lista.terminarCarga();
}

void MedirControles()
{
    std::printf("\nUna caja y una lista llenadas como en una carga: sin comprobaciones, con ellas diferidas "
                "(y lo que tardan después, en tandas) y con ellas al llegar las líneas: mediana de 5, ms\n");
    std::printf("%9s %9s %10s %8s %9s %11s %8s %12s\n", "líneas", "sin", "diferidas", "razón", "tandas",
                "al llegar", "razón", "tecla (µs)");
    for (const int lineas : {1000, 10000, 100000}) {
        const ParConCodigos par = GuionConCodigos(lineas, [](int i) { return i % 10 == 0; });
        enum Modo { Sin, Diferidas, AlLlegar };
        double tiempos[3] = {0, 0, 0};
        double tandas = 0;
        double tecla = 0;
        for (const Modo modo : {Sin, Diferidas, AlLlegar}) {
            CajaTexto caja;
            ListaSimple lista;
            std::unique_ptr<ProblemasCaja> problemas;
            if (modo != Sin) {
                problemas = std::make_unique<ProblemasCaja>(&caja, &lista);
                problemas->guion().ponerDiferido(modo == Diferidas);
            }
            tiempos[modo] = Mediana(
                5,
                [&](int) {
                    caja.clear();
                    lista.clear();
                },
                [&] { Llenar(caja, lista, par); });
            if (modo == Diferidas) {
                QElapsedTimer reloj;
                reloj.start();
                while (problemas->guion().comprobarPendientes())
                    ;
                tandas = double(reloj.nsecsElapsed()) / 1e6;
            }
            // A character typed at the end of a line in the middle, and taken back.
            QTextCursor cursor(caja.document()->findBlockByNumber(lineas / 2 + 1));
            cursor.movePosition(QTextCursor::EndOfBlock);
            const double conTecla = Mediana(
                201, [](int) {},
                [&, i = 0]() mutable {
                    if (i++ % 2 == 0)
                        cursor.insertText(QStringLiteral("%"));
                    else
                        cursor.deletePreviousChar();
                });
            if (modo == Sin)
                tecla = conTecla;
            else if (modo == AlLlegar)
                tecla = conTecla - tecla;
        }
        std::printf("%9d %9.1f %10.1f %8.2f %9.1f %11.1f %8.2f %12.2f\n", lineas, Milisegundos(tiempos[Sin]),
                    Milisegundos(tiempos[Diferidas]), tiempos[Diferidas] / tiempos[Sin], tandas,
                    Milisegundos(tiempos[AlLlegar]), tiempos[AlLlegar] / tiempos[Sin], tecla);
        std::fflush(stdout);
    }

    // One problem in every fifth line of 100,000.
    const ParConCodigos par = GuionConCodigos(100000, [](int i) { return i % 5 == 0; });
    TextosEnLista textos;
    textos.original = par.original;
    textos.traduccion = par.traduccion;
    ProblemasGuion guion(textos);
    guion.releer();
    QWidget editor;
    const double abrir = MedianaMicrosegundos(5, [&] {
        VentanaComprobaciones ventana(guion, textos, &editor);
        ventana.show();
        ventana.tabla()->viewport()->repaint();
    });
    std::printf("\nLa ventana de problemas abierta con %s: mediana de 5, ms\n  %.1f\n",
                qPrintable(guion.resumen()), Milisegundos(abrir));
}

// The real window on a folder holding one pair, with the checks or without, its settings and data folder
// its own.
struct VentanaMedida
{
    QTemporaryDir carpeta;
    QTemporaryDir datos;
    std::unique_ptr<frmEditor> ventana;

    VentanaMedida(const ParConCodigos& par, bool comprobar, CajaMensajes& caja)
    {
        EscribirParConCodigos(carpeta.path(), QStringLiteral("guion.txt"), par);
        ventana =
            AbrirVentanaArrancada(Servicios{.mensajes = &caja,
                                            .unidades = RaicesMontadas,
                                            .carpetaInicial = carpeta.path(),
                                            .carpetaDatos = datos.path(),
                                            .archivoAjustes = datos.filePath(QStringLiteral("ajustes.ini")),
                                            .comprobar = comprobar},
                                  true, 120000);
        if (!ventana) {
            std::fprintf(stderr, "la ventana no terminó de cargar\n");
            std::exit(1);
        }
        ventana->timer->stop();
        Terminar();
    }
    // Lets the checks left for idle time run to their end; how long that took, in ms.
    double Terminar()
    {
        QElapsedTimer reloj;
        reloj.start();
        const ProblemasGuion* guion = ventana->comprobaciones().guion();
        while (guion && guion->pendiente())
            QApplication::processEvents();
        return double(reloj.nsecsElapsed()) / 1e6;
    }
    QAction* Accion(const QKeySequence& atajo) const
    {
        for (QAction* accion : ventana->txtTraducido->actions())
            if (accion->shortcut() == atajo)
                return accion;
        return nullptr;
    }
};

// A character typed at the end of a line in the middle and taken back, as the box's own edits: µs.
double Tecla(frmEditor& ventana)
{
    CajaTexto& caja = *ventana.txtTraducido;
    QTextCursor cursor(caja.document()->findBlockByNumber(caja.document()->blockCount() / 2 + 1));
    cursor.movePosition(QTextCursor::EndOfBlock);
    return Mediana(
        201, [](int) {},
        [&, i = 0]() mutable {
            if (i++ % 2 == 0)
                cursor.insertText(QStringLiteral("%"));
            else
                cursor.deletePreviousChar();
        });
}

void MedirVentana()
{
    CajaMuda caja;
    std::printf(
        "\nLa ventana real: carga de un par sin las comprobaciones y con ellas (mediana de %d, ms; y el "
        "tiempo de procesador de todas), lo que tardan después en tandas (ms), y una tecla (µs)\n",
        repeticiones);
    std::printf("%9s %9s %9s %8s %11s %9s %11s %11s\n", "líneas", "sin", "con", "razón", "(procesador)",
                "tandas", "tecla sin", "tecla con");
    for (const int lineas : {1000, 10000, 100000}) {
        const ParConCodigos par = GuionConCodigos(lineas, [](int i) { return i % 10 == 0; });
        VentanaMedida sin(par, false, caja);
        VentanaMedida con(par, true, caja);
        std::vector<double> tiempos[2];
        double procesador[2] = {0, 0};
        double tandas = 0;
        // Alternated, so that a busy moment of the machine does not fall on one side only.
        for (int vez = 0; vez < repeticiones; ++vez) {
            for (const int comprobar : {0, 1}) {
                VentanaMedida& medida = comprobar ? con : sin;
                const double antes = SegundosProcesador();
                QElapsedTimer reloj;
                reloj.start();
                medida.ventana->File1->setIndice(0);
                QApplication::processEvents();
                tiempos[comprobar].push_back(double(reloj.nsecsElapsed()) / 1e6);
                procesador[comprobar] += SegundosProcesador() - antes;
                const double resto = medida.Terminar();
                if (comprobar)
                    tandas = std::max(tandas, resto);
            }
        }
        double carga[2] = {0, 0};
        for (const int comprobar : {0, 1})
            carga[comprobar] = MedianaDe(tiempos[comprobar]);
        std::printf("%9d %9.1f %9.1f %8.2f %11.2f %9.1f %11.2f %11.2f\n", lineas, carga[0], carga[1],
                    carga[1] / carga[0], procesador[1] / procesador[0], tandas, Tecla(*sin.ventana),
                    Tecla(*con.ventana));
        std::fflush(stdout);
    }

    {
        const int lineas = 100000;
        VentanaMedida medida(GuionConCodigos(lineas, [](int i) { return i == lineas - 1; }), true, caja);
        CajaTexto& cajaTexto = *medida.ventana->txtTraducido;
        QAction* f9 = medida.Accion(QKeySequence(Qt::Key_F9));
        const double f9us = Mediana(
            101, [&](int) { cajaTexto.setTextCursor(QTextCursor(cajaTexto.document())); },
            [&] { f9->trigger(); });
        const bool llego = cajaTexto.textCursor().blockNumber() == lineas - 1;
        std::printf(
            "\nF9 en la ventana hasta la única línea con problemas, al final de %d líneas: mediana de 101, "
            "µs\n  %.1f%s\n",
            lineas, f9us, llego ? "" : "  (no llegó a la línea)");
    }
    {
        VentanaMedida medida(GuionConCodigos(100000, [](int i) { return i % 5 == 0; }), true, caja);
        QAction* ctrlK = medida.Accion(QKeySequence(Qt::CTRL | Qt::Key_K));
        VentanaComprobaciones* ventana = nullptr;
        const double abrir = Mediana(
            5,
            [&](int) {
                if (ventana)
                    ventana->hide();
            },
            [&] {
                ctrlK->trigger();
                ventana = medida.ventana->findChild<VentanaComprobaciones*>();
                ventana->tabla()->viewport()->repaint();
            });
        std::printf("\nCtrl+K en la ventana con %s: mediana de 5, ms\n  %.1f\n",
                    qPrintable(ventana->resumen()->text()), Milisegundos(abrir));
    }
}

} // namespace

ParConCodigos GuionConCodigos(int lineas, const std::function<bool(int)>& conProblema)
{
    ParConCodigos par;
    par.original.reserve(lineas);
    par.traduccion.reserve(lineas);
    for (int i = 0; i < lineas; ++i) {
        // The line's number keeps every line different, as in a real script.
        const QString numero = QStringLiteral(" (%1)").arg(i);
        par.original.append(originales[i % originales.size()] + numero);
        QString traduccion = traducidas[i % traducidas.size()] + numero;
        if (conProblema(i))
            traduccion += QStringLiteral(" %s");
        par.traduccion.append(traduccion);
    }
    return par;
}

void EscribirParConCodigos(const QString& carpeta, const QString& nombre, const ParConCodigos& par)
{
    QDir(carpeta).mkpath(QStringLiteral("Traducidos"));
    Escribir(QDir(carpeta).filePath(nombre), par.original);
    Escribir(QDir(carpeta).filePath(QStringLiteral("Traducidos/") + nombre), par.traduccion);
}

void MedirComprobaciones()
{
    std::printf("Comprobar un guion con códigos en casi todas sus líneas (una de cada diez con problemas): "
                "mediana de %d, ms\n",
                repeticiones);
    std::printf("%9s %10s %14s %12s %12s %10s\n", "líneas", "entero", "(procesador)", "al cargar",
                "problemas", "MiB");
    for (const int lineas : {1000, 10000, 100000}) {
        TextosEnLista textos;
        const ParConCodigos par = GuionConCodigos(lineas, [](int i) { return i % 10 == 0; });
        textos.original = par.original;
        textos.traduccion = par.traduccion;
        ProblemasGuion guion(textos);
        guion.ponerCodificacion(Codificacion::Windows1252);
        const double antes = SegundosProcesador();
        const double entero = MedianaMicrosegundos(repeticiones, [&] { guion.releer(); });
        // Processor time per check, which other programs on a busy machine do not inflate as much.
        const double procesador = (SegundosProcesador() - antes) * 1000.0 / repeticiones;
        // As a load hands the lines over: the translation first, then the original, a stretch at a time.
        TextosEnLista cargados;
        ProblemasGuion cargado(cargados);
        cargado.ponerCodificacion(Codificacion::Windows1252);
        const double alCargar = Mediana(
            repeticiones,
            [&](int) {
                cargados.original.clear();
                cargados.traduccion.clear();
                cargado.releer();
            },
            [&] {
                for (const auto& [fuente, destino, original] :
                     {std::tuple{&par.traduccion, &cargados.traduccion, false},
                      std::tuple{&par.original, &cargados.original, true}}) {
                    for (int desde = 0; desde < lineas; desde += lineasPorEntrega) {
                        const int cuantas = std::min(lineasPorEntrega, lineas - desde);
                        destino->append(fuente->mid(desde, cuantas));
                        if (original)
                            cargado.cambioOriginal(desde, 0, cuantas);
                        else
                            cargado.cambioTraduccion(desde, 0, cuantas);
                    }
                }
            });
        std::printf("%9d %10.1f %14.1f %12.1f %12s %10.0f\n", lineas, Milisegundos(entero), procesador,
                    Milisegundos(alCargar), qPrintable(cargado.resumen()), MemoriaPicoMiB());
        std::fflush(stdout);
    }

    std::printf("\nUna tecla y un salto de línea en mitad del guion: mediana, µs\n");
    std::printf("%9s %10s %14s\n", "líneas", "tecla", "salto de línea");
    for (const int lineas : {1000, 10000, 100000}) {
        TextosEnLista textos;
        const ParConCodigos par = GuionConCodigos(lineas, [](int i) { return i % 10 == 0; });
        textos.original = par.original;
        textos.traduccion = par.traduccion;
        ProblemasGuion guion(textos);
        guion.ponerCodificacion(Codificacion::Windows1252);
        guion.releer();
        const int linea = lineas / 2 + 1;
        const QString texto = textos.traduccion[linea];
        // A character typed and taken back: the line gains a stray code and loses it.
        const double tecla = Mediana(
            201, [&](int i) { textos.traduccion[linea] = i % 2 == 0 ? texto + u'%' + u'd' : texto; },
            [&] { guion.cambioTraduccion(linea, 1, 1); });
        // A line break added and taken away: every line after it stands beside another original line.
        const double salto = Mediana(
            21,
            [&](int i) {
                if (i % 2 == 0)
                    textos.traduccion.insert(linea, QString());
                else
                    textos.traduccion.removeAt(linea);
            },
            [&, i = 0]() mutable {
                if (i++ % 2 == 0)
                    guion.cambioTraduccion(linea, 0, 1);
                else
                    guion.cambioTraduccion(linea, 1, 0);
            });
        std::printf("%9d %10.2f %14.1f\n", lineas, tecla, salto);
        std::fflush(stdout);
    }

    {
        const int lineas = 100000;
        TextosEnLista textos;
        const ParConCodigos par = GuionConCodigos(lineas, [](int i) { return i == lineas - 1; });
        textos.original = par.original;
        textos.traduccion = par.traduccion;
        ProblemasGuion guion(textos);
        guion.releer();
        int encontrada = -1;
        const double adelante = MedianaMicrosegundos(101, [&] { encontrada = guion.siguiente(0, 0, true); });
        const double atras = MedianaMicrosegundos(101, [&] { (void)guion.siguiente(0, 0, false); });
        std::printf("\nF9 hasta la única línea con problemas, al final de %d líneas: mediana de 101, µs\n",
                    lineas);
        std::printf("  F9 %.2f, Mayús+F9 (vuelta al final) %.2f%s\n", adelante, atras,
                    encontrada == lineas - 1 ? "" : "  (no llegó a la línea)");
    }
    MedirControles();
    MedirVentana();
}
