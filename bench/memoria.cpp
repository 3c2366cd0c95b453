// The translation memory on a generated folder of 1,000 scripts of 1,000 lines, all translated, that
// repeat themselves as game scripts do (common short lines, sentences said again, sentences said again
// with one word changed): the first build of the index and how late the window's thread runs meanwhile,
// reopening the unchanged folder, lookups for a new script's lines, filling a 10,000-line script, and the
// memory the open index takes.
#include "medicion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include <time.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "memoria_traduccion.h"

namespace {

constexpr int scripts = 1000;
constexpr int lineasPorScript = 1000;

const char* const comunesIngles[] = {
    "the",   "you",   "to",     "and",    "a",     "of",   "is",    "it",    "in",   "that",  "we",    "have",
    "this",  "what",  "do",     "not",    "for",   "be",   "are",   "on",    "with", "my",    "your",  "me",
    "can",   "will",  "all",    "there",  "here",  "go",   "get",   "know",  "now",  "just",  "like",  "come",
    "time",  "want",  "see",    "one",    "no",    "yes",  "but",   "so",    "if",   "he",    "she",   "they",
    "was",   "were",  "has",    "had",    "did",   "our",  "us",    "him",   "her",  "them",  "out",   "up",
    "down",  "back",  "about",  "who",    "where", "when", "why",   "how",   "more", "some",  "any",   "take",
    "make",  "let",   "look",   "find",   "give",  "tell", "think", "need",  "good", "right", "well",  "way",
    "day",   "night", "man",    "people", "world", "life", "hand",  "place", "home", "king",  "sword", "gold",
    "quest", "enemy", "battle", "friend"};

const char* const silabasIngles[] = {"ka", "ro",  "mi",  "ter",  "sa",  "lo",   "ne", "ri", "tha",
                                     "po", "gu",  "ven", "dor",  "mar", "el",   "an", "is", "or",
                                     "un", "tra", "ble", "ment", "ion", "ste",  "qu", "wi", "sh",
                                     "ck", "zy",  "ph",  "ly",   "ous", "ight", "ex", "ob", "ful"};
const char* const silabasEspanol[] = {"ra",  "mo",  "ta",   "ci",  "ón", "ñe",  "lu",  "gar",
                                      "dor", "men", "te",   "ví",  "so", "ble", "qué", "lla",
                                      "rro", "za",  "ción", "des", "pe", "ju",  "gue", "al"};

// A sentence as word numbers, to say it again with one word changed.
struct Frase
{
    std::vector<int> palabras;
    int codigo = -1;  // where "{name}" goes, or none
    int signo = 0;    // 0 ".", 1 "?", 2 "!"
    int variante = 0; // another way of translating it
};

// Lines that repeat as a game's do. The same seed gives the same folder.
class Generador
{
public:
    explicit Generador(quint32 semilla) : azar_(semilla)
    {
        std::uniform_int_distribution<int> silaba(0, int(std::size(silabasIngles)) - 1);
        std::uniform_int_distribution<int> silabaEs(0, int(std::size(silabasEspanol)) - 1);
        std::uniform_int_distribution<int> cuantas(1, 4);
        std::mt19937 vocabulario(7);
        double suma = 0;
        for (int i = 0; i < 20000; ++i) {
            QString ingles;
            QString espanol;
            if (i < int(std::size(comunesIngles))) {
                ingles = QString::fromLatin1(comunesIngles[i]);
            } else {
                for (int n = cuantas(vocabulario); n > 0; --n)
                    ingles += QString::fromLatin1(silabasIngles[silaba(vocabulario)]);
            }
            for (int n = cuantas(vocabulario); n > 0; --n)
                espanol += QString::fromUtf8(silabasEspanol[silabaEs(vocabulario)]);
            ingles_.append(ingles);
            espanol_.append(espanol);
            suma += 1.0 / std::pow(double(i + 1), 1.05);
            acumulado_.push_back(suma);
        }
        for (int i = 0; i < 2000; ++i)
            comunes_.push_back(Nueva(1, 4));
    }

    std::pair<QString, QString> Par()
    {
        const double r = real_(azar_);
        if (r < 0.20)
            return Texto(comunes_[Zipf(int(comunes_.size()))]);
        if (r < 0.35 && !hechas_.empty()) {
            Frase frase = hechas_[std::uniform_int_distribution<size_t>(0, hechas_.size() - 1)(azar_)];
            if (r < 0.30) // one word changed
                frase.palabras[std::uniform_int_distribution<size_t>(0, frase.palabras.size() - 1)(azar_)] =
                    Zipf(5000);
            else if (real_(azar_) < 0.1) // said again, translated another way
                frase.variante = 1;
            return Texto(frase);
        }
        Frase frase = Nueva(3, 13);
        if (hechas_.size() < 50000)
            hechas_.push_back(frase);
        else
            hechas_[std::uniform_int_distribution<size_t>(0, hechas_.size() - 1)(azar_)] = frase;
        return Texto(frase);
    }

private:
    int Zipf(int limite)
    {
        const double techo = acumulado_[size_t(limite - 1)];
        const auto it =
            std::upper_bound(acumulado_.begin(), acumulado_.begin() + limite, real_(azar_) * techo);
        return int(it - acumulado_.begin());
    }

    Frase Nueva(int minimo, int maximo)
    {
        Frase frase;
        const int n = std::uniform_int_distribution<int>(minimo, maximo)(azar_);
        for (int i = 0; i < n; ++i)
            frase.palabras.push_back(Zipf(int(ingles_.size())));
        if (real_(azar_) < 0.1)
            frase.codigo = std::uniform_int_distribution<int>(0, n - 1)(azar_);
        frase.signo = std::uniform_int_distribution<int>(0, 2)(azar_);
        return frase;
    }

    std::pair<QString, QString> Texto(const Frase& frase) const
    {
        QStringList ingles;
        QStringList espanol;
        for (size_t i = 0; i < frase.palabras.size(); ++i) {
            if (int(i) == frase.codigo) {
                ingles.append(QStringLiteral("{name}"));
                espanol.append(QStringLiteral("{name}"));
            }
            ingles.append(ingles_[frase.palabras[i]]);
            espanol.append(espanol_[(frase.palabras[i] + frase.variante) % espanol_.size()]);
        }
        QString original = ingles.join(u' ');
        QString traduccion = espanol.join(u' ');
        original[0] = original[0].toUpper();
        traduccion[0] = traduccion[0].toUpper();
        const QString signos[] = {QStringLiteral("."), QStringLiteral("?"), QStringLiteral("!")};
        original += signos[frase.signo];
        if (frase.signo == 1)
            traduccion = u'¿' + traduccion + u'?';
        else if (frase.signo == 2)
            traduccion = u'¡' + traduccion + u'!';
        else
            traduccion += u'.';
        return {original, traduccion};
    }

    std::mt19937 azar_;
    std::uniform_real_distribution<double> real_{0.0, 1.0};
    QStringList ingles_;
    QStringList espanol_;
    std::vector<double> acumulado_;
    std::vector<Frase> comunes_;
    std::vector<Frase> hechas_;
};

void Escribir(const QString& ruta, const QStringList& lineas)
{
    QFile archivo(ruta);
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        archivo.write((lineas.join(u"\r\n") + u"\r\n").toUtf8());
}

// The resident memory of the process now, in MiB.
double MemoriaActualMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> campos = statm.readAll().split(' ');
    return double(campos.value(1).toLongLong() * ::sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// The machine's load average over the last minute: the wall times mean little when others keep both
// processors busy.
QByteArray Carga()
{
    QFile carga(QStringLiteral("/proc/loadavg"));
    return carga.open(QIODevice::ReadOnly) ? carga.readAll().split(' ').value(0) : QByteArray("?");
}

double TamanoMiB(const QString& carpeta)
{
    qint64 bytes = 0;
    QDirIterator it(carpeta, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        bytes += it.fileInfo().size();
    }
    return double(bytes) / 1048576.0;
}

// Runs the event loop until the memory has indexed every script, sampling how late a 1 ms timer of
// the window's thread fires meanwhile: what a keystroke would wait. Milliseconds.
struct Espera
{
    double segundos = 0;
    double peor = 0;
    double p99 = 0;
};

// Runs the event loop from `empezar` until `bucle` quits, with a 1 ms timer whose lateness is sampled.
template <typename Empezar> Espera Medir(QEventLoop& bucle, Empezar empezar)
{
    std::vector<double> retrasos;
    QElapsedTimer reloj;
    QTimer pulso;
    pulso.setTimerType(Qt::PreciseTimer);
    pulso.setInterval(1);
    qint64 anterior = 0;
    QObject::connect(&pulso, &QTimer::timeout, &bucle, [&] {
        const qint64 ahora = reloj.nsecsElapsed();
        retrasos.push_back(double(ahora - anterior) / 1e6 - 1.0);
        anterior = ahora;
    });
    reloj.start();
    empezar();
    pulso.start();
    bucle.exec();
    Espera espera{double(reloj.nsecsElapsed()) / 1e9, 0, 0};
    std::sort(retrasos.begin(), retrasos.end());
    if (!retrasos.empty()) {
        espera.peor = retrasos.back();
        espera.p99 = retrasos[retrasos.size() * 99 / 100];
    }
    return espera;
}

Espera EsperarPreparada(MemoriaTraduccion& memoria, const QString& carpeta)
{
    QEventLoop bucle;
    QObject::connect(&memoria, &MemoriaTraduccion::preparada, &bucle, &QEventLoop::quit);
    return Medir(bucle, [&] { memoria.Abrir(carpeta); });
}

// The same timer with nothing else to do: what the machine itself makes it wait.
Espera EnReposo(int milisegundos)
{
    QEventLoop bucle;
    QTimer::singleShot(milisegundos, &bucle, &QEventLoop::quit);
    return Medir(bucle, [] {});
}

// Processor time of the whole process, in milliseconds, to the nanosecond.
double MsProcesador()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Milliseconds from a request until its answer reaches the window's thread, and the processor time
// spent meanwhile (the window's thread only waits): on a machine others load, the second tells what
// the request costs.
struct Tiempo
{
    double reloj = 0;
    double procesador = 0;
};

template <typename Senal, typename Pedir>
Tiempo Responder(MemoriaTraduccion& memoria, Senal senal, Pedir pedir)
{
    QEventLoop bucle;
    const auto conexion = QObject::connect(&memoria, senal, &bucle, &QEventLoop::quit);
    QElapsedTimer reloj;
    const double antes = MsProcesador();
    reloj.start();
    pedir();
    bucle.exec();
    QObject::disconnect(conexion);
    return {double(reloj.nsecsElapsed()) / 1e6, MsProcesador() - antes};
}

double Percentil(std::vector<double> v, int p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, v.size() * size_t(p) / 100)];
}

} // namespace

void MedirMemoria()
{
    QTemporaryDir carpeta;
    QTemporaryDir cache;
    Generador generador(2024);
    {
        QDir(carpeta.path()).mkpath(QStringLiteral("Traducidos"));
        QElapsedTimer reloj;
        reloj.start();
        for (int s = 0; s < scripts; ++s) {
            QStringList originales;
            QStringList traducciones;
            for (int i = 0; i < lineasPorScript; ++i) {
                auto [original, traduccion] = generador.Par();
                originales.append(original);
                traducciones.append(traduccion);
            }
            const QString nombre = QStringLiteral("guion%1.txt").arg(s, 4, 10, QLatin1Char('0'));
            Escribir(carpeta.filePath(nombre), originales);
            Escribir(carpeta.filePath(u"Traducidos/" + nombre), traducciones);
        }
        std::printf(
            "Memoria de traduccion: %d scripts de %d lineas, %.0f MiB (generados en %.1f s; carga %s)\n",
            scripts, lineasPorScript, TamanoMiB(carpeta.path()), double(reloj.elapsed()) / 1000.0,
            Carga().constData());
    }
    // Caret lines and a long script of a new chapter, said as the folder says things.
    std::vector<QString> consultas;
    for (int i = 0; i < 1000; ++i)
        consultas.push_back(generador.Par().first);
    QStringList largo;
    for (int i = 0; i < 10000; ++i)
        largo.append(generador.Par().first);

    const double antes = MemoriaActualMiB();
    auto memoria = std::make_unique<MemoriaTraduccion>(cache.path());
    const double procesadorAntes = SegundosProcesador();
    const Espera primera = EsperarPreparada(*memoria, carpeta.path());
    const double procesador = SegundosProcesador() - procesadorAntes;
    std::printf("%-52s %10.1f s (procesador %.1f s)\n", "primera construccion del indice", primera.segundos,
                procesador);
    const Espera reposo = EnReposo(5000);
    std::printf("%-52s %10.2f ms (p99 %.2f ms; sin la memoria %.2f ms, p99 %.2f ms)\n",
                "  retraso del hilo de la ventana, peor", primera.peor, primera.p99, reposo.peor, reposo.p99);
    std::printf("%-52s %10.0f MiB\n", "  tamano de la base en la cache", TamanoMiB(cache.path()));
    const double trasConstruir = MemoriaActualMiB();

    memoria.reset();
    memoria = std::make_unique<MemoriaTraduccion>(cache.path());
    const Tiempo primeraRespuesta = Responder(*memoria, &MemoriaTraduccion::consultada, [&] {
        memoria->Abrir(carpeta.path());
        memoria->Consultar(QStringLiteral("nuevo.txt"), 0, consultas[0]);
    });
    memoria->Esperar();
    memoria.reset();
    memoria = std::make_unique<MemoriaTraduccion>(cache.path());
    const Espera segunda = EsperarPreparada(*memoria, carpeta.path());
    std::printf("%-52s %10.0f ms (procesador %.0f ms)\n", "reapertura sin cambios: primera coincidencia",
                primeraRespuesta.reloj, primeraRespuesta.procesador);
    std::printf("%-52s %10.0f ms\n", "reapertura sin cambios: todos los scripts revisados",
                segunda.segundos * 1000);

    std::vector<double> tiempos;
    std::vector<double> procesadorConsultas;
    int conCoincidencias = 0;
    for (const QString& original : consultas) {
        const Tiempo t = Responder(*memoria, &MemoriaTraduccion::consultada,
                                   [&] { memoria->Consultar(QStringLiteral("nuevo.txt"), 0, original); });
        tiempos.push_back(t.reloj);
        procesadorConsultas.push_back(t.procesador);
    }
    // The same lines again, to count how many found something.
    QObject::connect(
        memoria.get(), &MemoriaTraduccion::consultada, memoria.get(),
        [&](const ResultadoConsulta& r) { conCoincidencias += r.coincidencias.isEmpty() ? 0 : 1; });
    for (size_t i = 0; i < 200; ++i) {
        Responder(*memoria, &MemoriaTraduccion::consultada,
                  [&] { memoria->Consultar(QStringLiteral("nuevo.txt"), 0, consultas[i]); });
    }
    std::printf("%-52s %10.2f ms (p50 %.2f ms, peor %.2f ms; %d de 200 con coincidencias)\n",
                "coincidencias de una linea, p99", Percentil(tiempos, 99), Percentil(tiempos, 50),
                Percentil(tiempos, 100), conCoincidencias);
    std::printf("%-52s %10.2f ms (p50 %.2f ms, peor %.2f ms)\n", "  procesador por consulta, p99",
                Percentil(procesadorConsultas, 99), Percentil(procesadorConsultas, 50),
                Percentil(procesadorConsultas, 100));

    int rellenadas = 0;
    QObject::connect(memoria.get(), &MemoriaTraduccion::rellenada, memoria.get(),
                     [&](const ResultadoRelleno& r) { rellenadas = r.rellenadas; });
    std::vector<double> rellenos;
    std::vector<double> rellenosProcesador;
    for (int i = 0; i < 5; ++i) {
        const Tiempo t = Responder(*memoria, &MemoriaTraduccion::rellenada,
                                   [&] { memoria->Rellenar(largo, {QString()}); });
        rellenos.push_back(t.reloj);
        rellenosProcesador.push_back(t.procesador);
    }
    std::printf("%-52s %10.0f ms (procesador %.0f ms, peor %.0f ms; %d lineas rellenadas)\n",
                "rellenar repeticiones, 10.000 lineas", Percentil(rellenos, 50),
                Percentil(rellenosProcesador, 50), Percentil(rellenos, 100), rellenadas);
    const double abierta = MemoriaActualMiB();
    std::printf("%-52s %10.0f MiB (tras construir %+.0f MiB; pico del proceso %.0f MiB)\n",
                "memoria con el indice abierto, de mas", abierta - antes, trasConstruir - antes,
                MemoriaPicoMiB());
    std::printf("%-52s %10s\n", "carga de la maquina al terminar", Carga().constData());
}
