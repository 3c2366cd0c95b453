// The benchmark program: prints one table per measured part of the editor.
// Run: build/bench/velarto_bench [carga|monitor|borradores|codificacion|marcas|ortografia|comprobaciones|
//                                    memoria|busqueda|guardado] [lines...]
// Line counts after "carga" measure those sizes alone.
#include <cstdio>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "medicion.h"
#include "proceso.h"

int main(int argc, char* argv[])
{
    UsarPaginasGrandes(argv);
    // Headless unless told otherwise: the figures are the editor's own work, not a display's.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The memory's databases and the drafts of the benchmark's temporary folders go with them: a folder's
    // database is kept per path, and every run measures new temporary folders.
    const QTemporaryDir datos;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(datos.filePath(QStringLiteral("cache"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(datos.filePath(QStringLiteral("datos"))));
    QApplication aplicacion(argc, argv);
    const QString parte = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QList<int> tamanos;
    for (int i = 2; i < argc; ++i)
        tamanos.append(QByteArray(argv[i]).toInt());
    if (parte.isEmpty() || parte == u"carga")
        MedirCarga(tamanos);
    if (parte.isEmpty() || parte == u"monitor")
        MedirMonitor();
    if (parte.isEmpty() || parte == u"borradores")
        MedirBorradores();
    if (parte.isEmpty() || parte == u"codificacion")
        MedirCodificacion();
    if (parte.isEmpty() || parte == u"marcas")
        MedirMarcas();
    if (parte.isEmpty() || parte == u"ortografia")
        MedirOrtografia();
    if (parte.isEmpty() || parte == u"comprobaciones")
        MedirComprobaciones();
    if (parte.isEmpty() || parte == u"memoria")
        MedirMemoria();
    if (parte.isEmpty() || parte == u"busqueda")
        MedirBusqueda();
    if (parte.isEmpty() || parte == u"guardado")
        MedirGuardado();
    return 0;
}
