// Shared pieces of the benchmark program: timing, memory and the scripts it measures on.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <memory>

#include "frmEditor.h"
#include "mensajes.h"
#include "ventana_abierta.h"

class QTemporaryDir;

// The window opened on `carpeta`, once start-up has loaded its first script.
std::unique_ptr<frmEditor> AbrirVentanaCargada(const QString& carpeta, CajaMensajes& caja);

// Lets the event loop run, waiting for events, for `milisegundos`.
void ProcesarEventos(int milisegundos);
// Processor time the process has used so far, in seconds.
double SegundosProcesador();
// The same, of the calling thread alone.
double SegundosProcesadorHilo();

// The median of measures taken elsewhere (at least one).
inline double MedianaDe(std::vector<double> tiempos)
{
    std::sort(tiempos.begin(), tiempos.end());
    return tiempos[tiempos.size() / 2];
}

// Median time of `paso`, in microseconds, each run after an untimed `preparar`.
template <typename Preparar, typename Paso> double Mediana(int repeticiones, Preparar preparar, Paso paso)
{
    std::vector<double> tiempos;
    for (int i = 0; i < repeticiones; ++i) {
        preparar(i);
        QElapsedTimer reloj;
        reloj.start();
        paso();
        tiempos.push_back(double(reloj.nsecsElapsed()) / 1000.0);
    }
    return MedianaDe(std::move(tiempos));
}

// Median wall time of `repeticiones` runs of `paso`, in microseconds.
template <typename Paso> double MedianaMicrosegundos(int repeticiones, Paso paso)
{
    return Mediana(
        repeticiones, [](int) {}, paso);
}

// Peak resident memory of the process so far, in MiB.
double MemoriaPicoMiB();
// Resident memory of the process now, in MiB.
double MemoriaResidenteMiB();
// `lineas` lines of 44 to 56 characters: the line's number, then `palabra` over and over, in UTF-8 with CR
// LF.
QByteArray GuionRepetido(int lineas, const QByteArray& palabra);
// Writes an original and its translation of `lineas` lines (about 50 characters each) into
// `carpeta`/nombre and `carpeta`/Traducidos/nombre.
void EscribirPar(const QString& carpeta, const QString& nombre, int lineas);

// An original and its translation with codes on most lines ({PLAYER}, %d, %1$d, <b>, [PAUSE], \n), every
// line different; a translation line i for which `conProblema(i)` holds has one code too many.
struct ParConCodigos
{
    QStringList original;
    QStringList traduccion;
};
ParConCodigos GuionConCodigos(int lineas, const std::function<bool(int)>& conProblema);
// Writes the pair as `carpeta`/nombre and `carpeta`/Traducidos/nombre, in UTF-8 with CR LF.
void EscribirParConCodigos(const QString& carpeta, const QString& nombre, const ParConCodigos& par);

// The sections of the benchmark, each printing its own table.
// Each size in `tamanos` (line counts), or the usual ones when it is empty.
void MedirCarga(const QList<int>& tamanos = {});
void MedirMonitor();
void MedirBorradores();
void MedirCodificacion();
void MedirMarcas();
void MedirOrtografia();
void MedirComprobaciones();
void MedirMemoria();
void MedirBusqueda();
void MedirGuardado();
