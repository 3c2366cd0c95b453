// The folder's search and status on a generated folder of 1,000 scripts of 1,000 lines, all translated,
// indexed by the translation memory first: how long searches of several kinds take from the index, the
// answer's trip through the queries' thread, and working out every script's status.
#include "medicion.h"

#include <cstdio>
#include <random>
#include <vector>

#include <time.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include "consultas_carpeta.h"
#include "lector_carpeta.h"
#include "memoria_traduccion.h"

namespace {

constexpr int scripts = 1000;
constexpr int lineasPorScript = 1000;

// Sentences of made-up words, a fifth of them said again, a few naming the dragon or gold.
class Frases final
{
public:
    Frases() : azar_(21)
    {
        const char* const silabas[] = {"ka",  "ro",  "mi",  "ter", "sa", "lo", "ne", "ri", "po",  "gu",
                                       "ven", "dor", "mar", "el",  "an", "is", "or", "un", "tra", "ble"};
        const char* const silabasEs[] = {"ra", "mo", "ta", "ci",  "ón",  "ñe",  "lu",  "gar", "dor", "men",
                                         "te", "ví", "so", "ble", "qué", "lla", "rro", "za",  "des", "pe"};
        std::uniform_int_distribution<int> silaba(0, 19);
        std::uniform_int_distribution<int> cuantas(1, 4);
        for (int i = 0; i < 20000; ++i) {
            QString ingles;
            QString espanol;
            for (int n = cuantas(azar_); n > 0; --n)
                ingles += QString::fromLatin1(silabas[silaba(azar_)]);
            for (int n = cuantas(azar_); n > 0; --n)
                espanol += QString::fromUtf8(silabasEs[silaba(azar_)]);
            palabras_.append({ingles, espanol});
        }
    }

    std::pair<QString, QString> Par()
    {
        const double r = std::uniform_real_distribution<double>(0, 1)(azar_);
        if (r < 0.2 && !dichas_.isEmpty())
            return dichas_[std::uniform_int_distribution<qsizetype>(0, dichas_.size() - 1)(azar_)];
        QStringList ingles;
        QStringList espanol;
        const int n = std::uniform_int_distribution<int>(3, 13)(azar_);
        // Common words often, rare ones seldom.
        std::geometric_distribution<int> palabra(0.002);
        for (int i = 0; i < n; ++i) {
            const auto& [en, es] = palabras_[std::min(palabra(azar_), int(palabras_.size()) - 1)];
            ingles.append(en);
            espanol.append(es);
        }
        if (r > 0.99) {
            ingles.append(QStringLiteral("the Dragon"));
            espanol.append(QStringLiteral("el dragón"));
        } else if (r > 0.98) {
            ingles.append(QStringLiteral("%1 gold").arg(int(r * 10000) % 500));
            espanol.append(QStringLiteral("%1 de oro").arg(int(r * 10000) % 500));
        }
        std::pair<QString, QString> par{ingles.join(u' ') + u'.', espanol.join(u' ') + u'.'};
        if (dichas_.size() < 5000)
            dichas_.append(par);
        return par;
    }

private:
    std::mt19937 azar_;
    QList<std::pair<QString, QString>> palabras_;
    QList<std::pair<QString, QString>> dichas_;
};

// Processor time of this thread, in milliseconds.
double MsHilo()
{
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void Escribir(const QString& ruta, const QStringList& lineas)
{
    QFile archivo(ruta);
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        archivo.write((lineas.join(u"\r\n") + u"\r\n").toUtf8());
}

} // namespace

void MedirBusqueda()
{
    QTemporaryDir carpeta;
    QTemporaryDir cache;
    QDir(carpeta.path()).mkpath(QStringLiteral("Traducidos"));
    Frases frases;
    for (int s = 0; s < scripts; ++s) {
        QStringList originales;
        QStringList traducciones;
        for (int i = 0; i < lineasPorScript; ++i) {
            auto [original, traduccion] = frases.Par();
            originales.append(original);
            traducciones.append(traduccion);
        }
        const QString nombre = QStringLiteral("guion%1.txt").arg(s, 4, 10, QLatin1Char('0'));
        Escribir(carpeta.filePath(nombre), originales);
        Escribir(carpeta.filePath(u"Traducidos/" + nombre), traducciones);
    }
    QElapsedTimer reloj;
    reloj.start();
    {
        MemoriaTraduccion memoria(cache.path());
        memoria.Abrir(carpeta.path());
        memoria.Esperar();
    }
    std::printf("Busqueda en la carpeta: %d scripts de %d lineas (indice de la memoria hecho en %.1f s)\n",
                scripts, lineasPorScript, double(reloj.elapsed()) / 1000.0);

    const auto lector = LectorCarpeta::Abrir(cache.path(), carpeta.path());
    if (!lector)
        return;
    const struct
    {
        const char* nombre;
        OpcionesBusqueda opciones;
    } busquedas[] = {
        {"palabra rara, ambos", {QStringLiteral("dragón"), Ambito::Ambos}},
        {"palabra rara, palabra completa", {QStringLiteral("Dragon"), Ambito::Originales, true, true}},
        {"cifras, expresion regular",
         {QStringLiteral("\\d+ de oro"), Ambito::Traducciones, false, false, true}},
        {"trozo comun (3 letras)", {QStringLiteral("ter"), Ambito::Originales}},
        {"dos letras, sin indice", {QStringLiteral("ñe"), Ambito::Traducciones}},
    };
    // The machine is shared: the processor time the search itself took tells its cost apart from the wait.
    std::printf("%-34s %10s %14s %12s %10s\n", "busqueda", "ms (med.)", "ms procesador", "resultados",
                "scripts");
    for (const auto& busqueda : busquedas) {
        std::optional<ResultadoBusqueda> resultado;
        std::vector<double> procesador;
        const double us = MedianaMicrosegundos(5, [&] {
            const double antes = MsHilo();
            resultado = BuscarEnCarpeta(*lector, busqueda.opciones, ConsultasCarpeta::maximoFilas, {});
            procesador.push_back(MsHilo() - antes);
        });
        std::sort(procesador.begin(), procesador.end());
        std::printf("%-34s %10.1f %14.1f %12lld %10lld\n", busqueda.nombre, us / 1000.0, procesador[2],
                    resultado ? static_cast<long long>(resultado->lineas) : -1LL,
                    resultado ? static_cast<long long>(resultado->scripts) : -1LL);
    }

    // From the window's request to the answer on its thread.
    ConsultasCarpeta consultas(cache.path());
    consultas.Abrir(carpeta.path());
    const double ida = MedianaMicrosegundos(5, [&] {
        QEventLoop bucle;
        QObject::connect(&consultas, &ConsultasCarpeta::encontrado, &bucle, &QEventLoop::quit);
        consultas.Buscar({QStringLiteral("dragón"), Ambito::Ambos});
        bucle.exec();
    });
    std::printf("%-34s %10.1f\n", "ida y vuelta por el hilo", ida / 1000.0);

    reloj.restart();
    const auto figuras = CalcularEstado(*lector, {}, {}, {});
    std::printf("Estado de la carpeta: %lld scripts en %.0f ms\n",
                figuras ? static_cast<long long>(figuras->size()) : -1LL, double(reloj.elapsed()));
}
