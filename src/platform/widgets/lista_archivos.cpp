// File list of the script browser.
#include "lista_archivos.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScopedValueRollback>

#include "errores.h"
#include "seleccion.h"
#include "teclas.h"

ListaArchivos::ListaArchivos(const QString& carpeta, QWidget* padre) : QListWidget(padre)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
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
    QDir dir(carpeta);
    dir.setNameFilters({QStringLiteral("*.txt")});
    // Name filters match ignoring case; hidden files are left out unless asked for.
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::NoSort);
    QStringList nombres = dir.entryList();
    // Links are listed only when they lead to a regular file: a pipe or a device is no script.
    nombres.removeIf([&](const QString& nombre) { return !QFileInfo(dir.filePath(nombre)).isFile(); });
    std::sort(nombres.begin(), nombres.end(), [&](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return nombres;
}

void ListaArchivos::Mostrar(const QStringList& nombres, const QString& seleccion)
{
    const QScopedValueRollback<bool> guarda(desdeCodigo_, true);
    clear();
    addItems(nombres);
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
