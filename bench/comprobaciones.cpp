// Cost of the checks on scripts with codes on most lines: checking a whole script at once and as a load
// hands its lines over, a keystroke's re-check, a line break's, F9 across a whole script to its only line
// with a problem; and with the controls: a text box and a list filled as a load fills them with the checks
// following them beside without, a keystroke in the box, and the window of problems opened on 20,000.
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

#include "caja_texto.h"
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
}
