// The editor's small table windows.
#include "ventana_tabla.h"

#include <algorithm>

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

VentanaTabla::VentanaTabla(const QString& nombre, const QString& titulo, QWidget* padre)
    : QDialog(padre), disposicion_(new QVBoxLayout(this)), resumen_(new QLabel(this)),
      tabla_(new QTableView(this))
{
    setObjectName(nombre);
    if (padre)
        setFont(padre->font());
    setWindowTitle(titulo);
    setModal(false);
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->setWordWrap(false);
    tabla_->setTabKeyNavigation(false);
    tabla_->verticalHeader()->hide();
    // Every row one text line high, set once: no row is measured, whatever its text.
    tabla_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tabla_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    tabla_->horizontalHeader()->setHighlightSections(false);
    tabla_->horizontalHeader()->setStretchLastSection(true);
    tabla_->setAccessibleName(titulo);
    // A long summary takes two lines rather than widening a window placed beside the editor.
    resumen_->setWordWrap(true);
    disposicion_->addWidget(resumen_);
    disposicion_->addWidget(tabla_);

    const auto elegir = [this](const QModelIndex& indice) {
        if (indice.isValid())
            Q_EMIT filaElegida(indice.row());
    };
    // Enter on a row is its activation; so is a double-click, unless the style activates on one click.
    connect(tabla_, &QAbstractItemView::activated, this, elegir);
    connect(tabla_, &QAbstractItemView::doubleClicked, this, elegir);
}

void VentanaTabla::ponerResumen(const QString& texto)
{
    if (resumen_->text() != texto)
        resumen_->setText(texto);
}

void VentanaTabla::ponerModelo(QAbstractItemModel* modelo, int anchoPrimera)
{
    tabla_->setModel(modelo);
    const QString titulo = modelo->headerData(0, Qt::Horizontal).toString();
    tabla_->setColumnWidth(0, std::max(fontMetrics().horizontalAdvance(u'0') * anchoPrimera,
                                       fontMetrics().horizontalAdvance(titulo) + 16));
}
