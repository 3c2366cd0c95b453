// Cost of a save through the window: F12 on a loaded 2,000,000-line translation (the folder holds that
// script alone, so no other is loaded after it), and the first save of a new translation in a folder whose
// other translations are long, which learns their code pages.
#include "medicion.h"

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "frmEditor.h"

namespace {

constexpr int lineas = 2000000;

double TiempoGuardado(const QString& carpeta)
{
    CajaMuda caja;
    const std::unique_ptr<frmEditor> ventana = AbrirVentanaCargada(carpeta, caja);
    return MedianaMicrosegundos(3,
                                [&] {
                                    ventana->cmdGuardar_Click();
                                    QApplication::processEvents();
                                }) /
           1000.0;
}

} // namespace

void MedirGuardado()
{
    std::printf("Guardado (F12) de una traduccion, mediana de 3\n");
    std::printf("%-52s %12s %12s\n", "caso", "guardado ms", "pico MiB");
    {
        QTemporaryDir carpeta;
        EscribirPar(carpeta.path(), QStringLiteral("guion.txt"), lineas);
        const double ms = TiempoGuardado(carpeta.path());
        std::printf("%-52s %12.1f %12.1f\n", "traduccion de 2000000 lineas", ms, MemoriaPicoMiB());
        std::fflush(stdout);
    }
    {
        // Four long translations of other scripts, and a short script without one, listed last so that
        // no other script is loaded after its save.
        QTemporaryDir carpeta;
        for (int i = 0; i < 4; ++i)
            EscribirPar(carpeta.path(), QStringLiteral("a%1.txt").arg(i), lineas);
        EscribirPar(carpeta.path(), QStringLiteral("z.txt"), 10);
        QFile::remove(carpeta.filePath(QStringLiteral("Traducidos/z.txt")));
        CajaMuda caja;
        const std::unique_ptr<frmEditor> ventana = AbrirVentanaCargada(carpeta.path(), caja);
        ventana->File1->setIndice(4);
        while (!ventana->parCargado().completo)
            QApplication::processEvents();
        ventana->txtTraducido->setPlainText(QStringLiteral("hola"));
        QElapsedTimer reloj;
        reloj.start();
        ventana->cmdGuardar_Click();
        const double ms = double(reloj.nsecsElapsed()) / 1e6;
        std::printf("%-52s %12.1f %12.1f\n", "nueva, junto a 4 traducciones de 2000000 lineas", ms,
                    MemoriaPicoMiB());
        std::fflush(stdout);
    }
}
