// Cost of the checks on scripts with codes on most lines: checking a whole script at once and as a load
// hands its lines over, a keystroke's re-check, a line break's, and F9 across a whole script to its only
// line with a problem.
#include "medicion.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include <QDir>
#include <QFile>

#include "problemas_guion.h"

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
}
