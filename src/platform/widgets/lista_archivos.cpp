// File list of the script browser.
#include "lista_archivos.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

#include "archivos.h"
#include "errores.h"
#include "seleccion.h"
#include "teclas.h"

namespace {

// Puts an item's icon after its name, at the row's right end, and sizes every row as if it had none.
class DelegadoDecoracion final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override
    {
        QStyleOptionViewItem sinIcono = opcion;
        initStyleOption(&sinIcono, indice);
        sinIcono.features &= ~QStyleOptionViewItem::HasDecoration;
        sinIcono.icon = QIcon();
        sinIcono.decorationSize = QSize();
        const QWidget* vista = opcion.widget;
        QStyle* estilo = vista ? vista->style() : QApplication::style();
        return estilo->sizeFromContents(QStyle::CT_ItemViewItem, &sinIcono, QSize(), vista);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* opcion, const QModelIndex& indice) const override
    {
        QStyledItemDelegate::initStyleOption(opcion, indice);
        opcion->decorationPosition = QStyleOptionViewItem::Right;
    }
};

} // namespace

ListaArchivos::ListaArchivos(const QString& carpeta, QWidget* padre) : QListWidget(padre)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new DelegadoDecoracion(this));
    // The selection, not the current row: a mouse press makes the row current before it selects it, and
    // the click must find the file selected.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        resaltado_ = false;
        if (!desdeCodigo_ && indice() >= 0)
            Q_EMIT click();
    });
    // A click on the highlighted file changes no row, so it is caught here.
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* elemento) {
        if (!resaltado_ || row(elemento) != indice())
            return;
        resaltado_ = false;
        Q_EMIT click();
    });
    setCarpeta(carpeta);
}

QStringList ListaArchivos::ArchivosDe(const QString& carpeta)
{
    return ArchivosScript(carpeta);
}

void ListaArchivos::Mostrar(const QStringList& nombres, const QString& seleccion)
{
    const QScopedValueRollback<bool> guarda(desdeCodigo_, true);
    clear();
    addItems(nombres);
    if (decorador_) {
        for (int i = 0; i < count(); ++i)
            decorador_(*item(i));
    }
    const int fila = seleccion.isEmpty() ? -1 : int(nombres.indexOf(seleccion));
    setCurrentRow(fila);
    if (fila < 0)
        clearSelection();
}

void ListaArchivos::setCarpeta(const QString& carpeta)
{
    carpeta_ = QDir::cleanPath(QDir(carpeta).absolutePath());
    Mostrar(ArchivosDe(carpeta_), QString());
}

void ListaArchivos::refrescar()
{
    Mostrar(ArchivosDe(carpeta_), nombreArchivo());
}

void ListaArchivos::setDecorador(Decorador decorador)
{
    decorador_ = std::move(decorador);
    for (int i = 0; decorador_ && i < count(); ++i)
        decorador_(*item(i));
}

void ListaArchivos::decorar(const QString& nombre)
{
    if (!decorador_)
        return;
    for (QListWidgetItem* elemento : findItems(nombre, Qt::MatchExactly)) {
        // Only the name itself: a match ignoring case would also take "A.txt" for "a.txt".
        if (elemento->text() == nombre)
            decorador_(*elemento);
    }
}

int ListaArchivos::indice() const
{
    return FilaSeleccionada(*this);
}

void ListaArchivos::setIndice(int indice)
{
    {
        const QScopedValueRollback<bool> guarda(desdeCodigo_, true);
        SeleccionarFila(*this, indice);
    }
    resaltado_ = false;
    if (indice >= 0)
        Q_EMIT click();
}

void ListaArchivos::resaltar(int indice)
{
    if (indice < 0 || indice >= count())
        throw ErrorEjecucion(Errores::ValorPropiedadNoValido);
    const QScopedValueRollback<bool> guarda(desdeCodigo_, true);
    setCurrentRow(indice);
    resaltado_ = true;
}

QString ListaArchivos::nombreArchivo() const
{
    const int i = indice();
    return i >= 0 ? item(i)->text() : QString();
}

void ListaArchivos::keyReleaseEvent(QKeyEvent* evento)
{
    QListWidget::keyReleaseEvent(evento);
    if (!evento->isAutoRepeat())
        Q_EMIT teclaSoltada(CodigoTecla(evento->key()), EstadoShift(evento->modifiers()));
}
