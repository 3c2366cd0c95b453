// Cost of loading a script pair through the window, against the toolkit's own floor: the same lines put
// straight into a bare list and a bare text box of the same kinds.
#include "medicion.h"

#include <algorithm>
#include <cstdio>
#include <vector>

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

// The toolkit's own list, an item per line, as the floor has always been measured, and a bare box of the
// editor's kind, filled the plain way.
class Suelo
{
public:
    Suelo(QStringList original, const QStringList& traduccion)
        : original_(std::move(original)), texto_(traduccion.join(u'\n'))
    {
        marco_.resize(649, 448);
        lista_->setUniformItemSizes(true);
        lista_->setGeometry(8, 200, 449, 171);
        caja_->setGeometry(8, 24, 449, 169);
        marco_.show();
        QApplication::processEvents();
    }

    void Llenar()
    {
        lista_->clear();
        caja_->clear();
        caja_->setPlainText(texto_);
        lista_->addItems(original_);
        QApplication::processEvents();
    }

private:
    QWidget marco_;
    QListWidget* lista_ = new QListWidget(&marco_);
    CajaTexto* caja_ = new CajaTexto(&marco_);
    const QStringList original_;
    const QString texto_;
};

void Cargar(frmEditor& ventana, int indice)
{
    ventana.File1->setIndice(indice);
    QApplication::processEvents();
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
    std::printf("Carga de un par (original + traducción, ~50 caracteres por línea), mediana de %d\n"
                "(cada carga alterna con un llenado del suelo, para que los vaivenes de la máquina caigan en "
                "ambos)\n",
                repeticiones);
    std::printf("%9s %12s %12s %8s %14s %12s %14s\n", "líneas", "carga ms", "suelo ms", "razón",
                "pausa máx ms", "pico MiB", "tras otro MiB");
    for (const int lineas : tamanos.isEmpty() ? QList<int>{1000, 10000, 100000, 1000000} : tamanos) {
        QTemporaryDir dir;
        EscribirPar(dir.path(), QStringLiteral("guion.txt"), lineas);
        // A short script listed after it, chosen at the end: what the long pair leaves in use.
        EscribirPar(dir.path(), QStringLiteral("z.txt"), 10);
        const int veces = lineas > 100000 ? 3 : repeticiones;
        frmEditor ventana(Servicios{.carpetaInicial = dir.path()});
        ventana.show();
        while (!ventana.arranqueTerminado())
            QApplication::processEvents();
        Cargar(ventana, 0);
        const double pausa = PausaMaxima(ventana);
        Cargar(ventana, 1);
        ProcesarEventos(1500);
        const double despues = MemoriaResidenteMiB();
        // The pair's own peak, before the floor's item per line adds its own.
        const double pico = MemoriaPicoMiB();
        Cargar(ventana, 0);
        Suelo suelo(LeerLineas(dir.filePath(QStringLiteral("guion.txt"))),
                    LeerLineas(dir.filePath(QStringLiteral("Traducidos/guion.txt"))));
        // Each load right after a fill of the floor, itself timed.
        std::vector<double> suelos;
        const double carga = Mediana(
            veces, [&](int) { suelos.push_back(MedianaMicrosegundos(1, [&] { suelo.Llenar(); })); },
            [&] { Cargar(ventana, 0); });
        const double piso = MedianaDe(std::move(suelos));
        std::printf("%9d %12.1f %12.1f %8.2f %14.1f %12.1f %14.1f\n", lineas, carga / 1000, piso / 1000,
                    carga / piso, pausa, pico, despues);
        std::fflush(stdout);
    }
}
