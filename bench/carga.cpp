// Cost of loading a script pair through the window, against the toolkit's own floor: the same lines put
// straight into a bare list and a bare text box of the same kinds.
#include "medicion.h"

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>

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
    auto* lista = new ListaSimple(&marco);
    lista->setGeometry(8, 200, 449, 171);
    auto* caja = new CajaTexto(&marco);
    caja->setGeometry(8, 24, 449, 169);
    marco.show();
    QApplication::processEvents();
    const QString texto = traduccion.join(u'\n');
    return MedianaMicrosegundos(repeticiones, [&] {
        lista->clear();
        caja->clear();
        caja->setPlainText(texto);
        lista->addItems(original);
        QApplication::processEvents();
    });
}

double TiempoCarga(frmEditor& ventana)
{
    return MedianaMicrosegundos(repeticiones, [&] {
        ventana.File1->setIndice(0);
        QApplication::processEvents();
    });
}

} // namespace

void MedirCarga()
{
    std::printf("Carga de un par (original + traducción, ~50 caracteres por línea), mediana de %d\n",
                repeticiones);
    std::printf("%9s %12s %12s %8s %12s\n", "líneas", "carga ms", "suelo ms", "razón", "pico MiB");
    const QString anterior = QDir::currentPath();
    for (const int lineas : {1000, 10000, 100000}) {
        QTemporaryDir dir;
        EscribirPar(dir.path(), QStringLiteral("guion.txt"), lineas);
        QDir::setCurrent(dir.path());
        double carga = 0;
        {
            frmEditor ventana;
            ventana.show();
            while (!ventana.arranqueTerminado())
                QApplication::processEvents();
            carga = TiempoCarga(ventana);
        }
        const double suelo = TiempoSuelo(LeerLineas(dir.filePath(QStringLiteral("guion.txt"))),
                                         LeerLineas(dir.filePath(QStringLiteral("Traducidos/guion.txt"))));
        std::printf("%9d %12.1f %12.1f %8.2f %12.1f\n", lineas, carga / 1000, suelo / 1000, carga / suelo,
                    MemoriaPicoMiB());
        std::fflush(stdout);
    }
    QDir::setCurrent(anterior);
}
