// Shared pieces of the benchmark program: timing, memory and the scripts it measures on.
#pragma once

#include <functional>

#include <QString>

class QTemporaryDir;

// Median wall time of `repeticiones` runs of `paso`, in microseconds.
double MedianaMicrosegundos(int repeticiones, const std::function<void()>& paso);
// Peak resident memory of the process so far, in MiB.
double MemoriaPicoMiB();
// Writes an original and its translation of `lineas` lines (about 50 characters each) into
// `carpeta`/nombre and `carpeta`/Traducidos/nombre.
void EscribirPar(const QString& carpeta, const QString& nombre, int lineas);

// The sections of the benchmark, each printing its own table.
void MedirCarga();
void MedirMonitor();
