// Going to a folder: the chooser, the recent folders and the move of the browser.
#include "carpetas_recientes.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

#include "ajustes.h"
#include "lista_carpetas.h"
#include "lista_unidades.h"
#include "mensajes.h"
#include "par_cargado.h"
#include "proteger.h"
#include "vida_par.h"

namespace {

const QString claveRecientes = QStringLiteral("carpetas/recientes");

QString ElegirEnEscritorio(QWidget* padre, const QString& inicial)
{
    return QFileDialog::getExistingDirectory(padre, QStringLiteral("Ir a una carpeta"), inicial);
}

} // namespace

CarpetasRecientes::CarpetasRecientes(Controles controles, const ProveedorUnidades& raices,
                                     const VidaPar& vida, CajaMensajes& mensajes,
                                     const QString& archivoAjustes, ElegirCarpeta elegir)
    : c_(controles), raices_(raices), mensajes_(mensajes), archivoAjustes_(archivoAjustes),
      elegir_(elegir ? std::move(elegir) : ElegirCarpeta(ElegirEnEscritorio))
{
    auto* abrir = new QAction(&c_.ventana);
    abrir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    abrir->setShortcutContext(Qt::WindowShortcut);
    c_.ventana.addAction(abrir);
    connect(abrir, &QAction::triggered, this, &CarpetasRecientes::Elegir);
    // A folder counts as used once one of its scripts is loaded: the folders passed on the way there do
    // not fill the list.
    connect(&vida, &VidaPar::cargado, this, &CarpetasRecientes::Anotar);
}

QStringList CarpetasRecientes::recientes() const
{
    return AbrirAjustes(archivoAjustes_)->value(claveRecientes).toStringList();
}

void CarpetasRecientes::Anotar(const ParCargado& par)
{
    const QString carpeta = QFileInfo(par.rutaOriginal).absolutePath();
    QStringList lista = recientes();
    if (lista.value(0) == carpeta)
        return;
    lista.removeAll(carpeta);
    lista.prepend(carpeta);
    AbrirAjustes(archivoAjustes_)->setValue(claveRecientes, lista.mid(0, maximo));
}

void CarpetasRecientes::Ir(const QString& carpeta)
{
    Proteger(mensajes_, [&] {
        // The drive first when the folder lies on another: its change empties the editor as a pick by hand
        // does.
        if (RaizDe(carpeta, raices_()) != c_.unidades.unidad())
            c_.unidades.setUnidad(carpeta);
        c_.carpetas.setRuta(carpeta);
    });
}

void CarpetasRecientes::Elegir()
{
    const QString carpeta = elegir_(&c_.ventana, c_.carpetas.ruta());
    if (!carpeta.isEmpty())
        Ir(QDir::cleanPath(carpeta));
}

void CarpetasRecientes::AnadirAlMenu(QMenu& menu)
{
    QMenu* submenu = menu.addMenu(QStringLiteral("Carpetas recientes"));
    const QStringList lista = recientes();
    submenu->setEnabled(!lista.isEmpty());
    for (const QString& carpeta : lista) {
        QString texto = QDir::toNativeSeparators(carpeta);
        QAction* accion = submenu->addAction(texto.replace(u'&', QStringLiteral("&&")));
        connect(accion, &QAction::triggered, this, [this, carpeta] { Ir(carpeta); });
    }
}
