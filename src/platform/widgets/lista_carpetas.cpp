// Folder list of the script browser.
#include "lista_carpetas.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>

namespace {

constexpr int rolRuta = Qt::UserRole;

QTreeWidgetItem* NuevoElemento(const QString& texto, const QString& ruta, const QIcon& icono)
{
    auto* elemento = new QTreeWidgetItem(QStringList{texto});
    elemento->setData(0, rolRuta, ruta);
    elemento->setIcon(0, icono);
    elemento->setToolTip(0, ruta);
    return elemento;
}

bool SePuedeListar(const QString& ruta)
{
    const QFileInfo info(ruta);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

} // namespace

ListaCarpetas::ListaCarpetas(ProveedorUnidades unidades, const QString& carpeta, QWidget* padre)
    : QTreeWidget(padre), unidades_(std::move(unidades)), ruta_(QDir::cleanPath(QDir(carpeta).absolutePath()))
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(8);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* e) { Abrir(e); });
    Mostrar();
}

void ListaCarpetas::setRuta(const QString& ruta)
{
    const QString limpia = QDir::cleanPath(QDir(ruta).absolutePath());
    if (!SePuedeListar(limpia)) {
        if (unidades_ && unidades_().contains(limpia))
            throw ErrorEjecucion(Errores::DispositivoNoDisponible);
        throw ErrorEjecucion(QFileInfo(limpia).isDir() ? Errores::PermisoDenegado
                                                       : Errores::RutaNoEncontrada);
    }
    ruta_ = limpia;
    Mostrar();
    Q_EMIT cambio();
}

void ListaCarpetas::Abrir(QTreeWidgetItem* elemento)
{
    try {
        setRuta(elemento->data(0, rolRuta).toString());
    } catch (const ErrorEjecucion& error) {
        Q_EMIT fallo(error);
    }
}

void ListaCarpetas::Mostrar()
{
    clear();
    const QIcon abierta = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon cerrada = style()->standardIcon(QStyle::SP_DirClosedIcon);
    // The chain of ancestors, from the root down to the current folder.
    QStringList cadena;
    for (QDir d(ruta_);;) {
        cadena.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    QTreeWidgetItem* actual = nullptr;
    for (const QString& r : std::as_const(cadena)) {
        const QString nombre = QFileInfo(r).fileName();
        auto* elemento = NuevoElemento(nombre.isEmpty() ? r : nombre, r, abierta);
        if (actual)
            actual->addChild(elemento);
        else
            addTopLevelItem(elemento);
        actual = elemento;
    }
    QDir dir(ruta_);
    dir.setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    for (const QString& nombre : dir.entryList())
        actual->addChild(NuevoElemento(nombre, dir.absoluteFilePath(nombre), cerrada));
    expandAll();
    setCurrentItem(actual);
    scrollToItem(actual, QAbstractItemView::PositionAtCenter);
}

void ListaCarpetas::drawBranches(QPainter*, const QRect&, const QModelIndex&) const
{
    // Every folder shown is open: no expand or collapse marks, only the indentation.
}
