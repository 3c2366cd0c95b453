// Cost of loading a script pair through the window, against the toolkit's own floor: the same lines put
// straight into a bare list and a bare text box of the same kinds.
#include "medicion.h"

#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "caja_texto.h"
#include "frmEditor.h"
#include "lista_archivos.h"
#include "texto_archivo.h"

namespace {

constexpr int repeticiones = 7;

double TiempoSuelo(const QStringList& original, const QStringList& traduccion)
{
    QWidget marco;
    marco.resize(649, 448);
    // The toolkit's own list, an item per line, as the floor has always been measured.
    auto* lista = new QListWidget(&marco);
    lista->setUniformItemSizes(true);
    lista->setGeometry(8, 200, 449, 171);
    auto* caja = new CajaTexto(&marco);
    caja->setGeometry(8, 24, 449, 169);
    marco.show();
    QApplication::processEvents();
    const QString texto = traduccion.join(u'\n');
    return MedianaMicrosegundos(original.size() > 100000 ? 3 : repeticiones, [&] {
        lista->clear();
        caja->clear();
        caja->setPlainText(texto);
        lista->addItems(original);
        QApplication::processEvents();
    });
}

double TiempoCarga(frmEditor& ventana, int veces)
{
    return MedianaMicrosegundos(veces, [&] {
        ventana.File1->setIndice(0);
        QApplication::processEvents();
    });
}

// The longest the event loop waits during one load, in milliseconds: the load runs from an event, as a
// click's does, while a timer that fires whenever the loop is free notes the gaps.
double PausaMaxima(frmEditor& ventana)
{
    QElapsedTimer reloj;
    reloj.start();
    qint64 ultimo = 0;
    qint64 maxima = 0;
    QTimer latido;
    latido.setInterval(0);
    QObject::connect(&latido, &QTimer::timeout, &latido, [&] {
        const qint64 ahora = reloj.nsecsElapsed();
        maxima = std::max(maxima, ahora - ultimo);
        ultimo = ahora;
    });
    bool hecha = false;
    QTimer::singleShot(0, &ventana, [&] {
        ultimo = reloj.nsecsElapsed();
        latido.start();
        ventana.File1->setIndice(0);
        hecha = true;
    });
    while (!hecha)
        QApplication::processEvents();
    QApplication::processEvents();
    return double(maxima) / 1e6;
}

} // namespace

void MedirCarga(const QList<int>& tamanos)
{
    std::printf("Carga de un par (original + traducción, ~50 caracteres por línea), mediana de %d\n",
                repeticiones);
    std::printf("%9s %12s %12s %8s %14s %12s %14s\n", "líneas", "carga ms", "suelo ms", "razón",
                "pausa máx ms", "pico MiB", "tras otro MiB");
    for (const int lineas : tamanos.isEmpty() ? QList<int>{1000, 10000, 100000, 1000000} : tamanos) {
        QTemporaryDir dir;
        EscribirPar(dir.path(), QStringLiteral("guion.txt"), lineas);
        // A short script listed after it, chosen at the end: what the long pair leaves in use.
        EscribirPar(dir.path(), QStringLiteral("z.txt"), 10);
        const int veces = lineas > 100000 ? 3 : repeticiones;
        double carga = 0;
        double pausa = 0;
        double despues = 0;
        {
            frmEditor ventana(Servicios{.carpetaInicial = dir.path()});
            ventana.show();
            while (!ventana.arranqueTerminado())
                QApplication::processEvents();
            carga = TiempoCarga(ventana, veces);
            pausa = PausaMaxima(ventana);
            ventana.File1->setIndice(1);
            ProcesarEventos(1500);
            despues = MemoriaResidenteMiB();
        }
        // The pair's own peak, before the floor's item per line adds its own.
        const double pico = MemoriaPicoMiB();
        const double suelo = TiempoSuelo(LeerLineas(dir.filePath(QStringLiteral("guion.txt"))),
                                         LeerLineas(dir.filePath(QStringLiteral("Traducidos/guion.txt"))));
        std::printf("%9d %12.1f %12.1f %8.2f %14.1f %12.1f %14.1f\n", lineas, carga / 1000, suelo / 1000,
                    carga / suelo, pausa, pico, despues);
        std::fflush(stdout);
    }
}
