#include "medicion.h"

#include <cstdio>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <QDir>
#include <QFile>

double MemoriaPicoMiB()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return double(uso.ru_maxrss) / 1024.0;
}

double MemoriaResidenteMiB()
{
    QFile estado(QStringLiteral("/proc/self/status"));
    if (!estado.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& linea : estado.readAll().split('\n')) {
        if (linea.startsWith("VmRSS:"))
            return linea.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

QByteArray GuionRepetido(int lineas, const QByteArray& palabra)
{
    QByteArray datos;
    datos.reserve(qsizetype(lineas) * 52);
    for (int i = 0; i < lineas; ++i) {
        QByteArray linea = QByteArray::number(i) + ' ';
        while (linea.size() < 50)
            linea += palabra;
        linea.truncate(44 + i % 13);
        datos += linea + "\r\n";
    }
    return datos;
}

namespace {

void Escribir(const QString& ruta, const QByteArray& datos)
{
    QFile archivo(ruta);
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        archivo.write(datos);
}

} // namespace

void EscribirPar(const QString& carpeta, const QString& nombre, int lineas)
{
    QDir(carpeta).mkpath(QStringLiteral("Traducidos"));
    Escribir(carpeta + u'/' + nombre, GuionRepetido(lineas, "the quick brown fox "));
    Escribir(carpeta + u"/Traducidos/" + nombre, GuionRepetido(lineas, "el veloz murcielago "));
}

std::unique_ptr<frmEditor> AbrirVentanaCargada(const QString& carpeta, CajaMensajes& caja)
{
    std::unique_ptr<frmEditor> ventana = AbrirVentanaArrancada(
        Servicios{.mensajes = &caja, .unidades = RaicesMontadas, .carpetaInicial = carpeta}, true, 120000);
    if (!ventana) {
        std::fprintf(stderr, "la ventana no terminó de cargar %s\n", qPrintable(carpeta));
        std::exit(1);
    }
    return ventana;
}

void ProcesarEventos(int milisegundos)
{
    QEventLoop bucle;
    QTimer::singleShot(milisegundos, &bucle, &QEventLoop::quit);
    bucle.exec();
}

namespace {

// User and system processor seconds of `quien` (RUSAGE_SELF or RUSAGE_THREAD).
double SegundosDe(int quien)
{
    rusage uso{};
    getrusage(quien, &uso);
    const auto segundos = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return segundos(uso.ru_utime) + segundos(uso.ru_stime);
}

} // namespace

double SegundosProcesadorHilo()
{
    return SegundosDe(RUSAGE_THREAD);
}

double SegundosProcesador()
{
    return SegundosDe(RUSAGE_SELF);
}
