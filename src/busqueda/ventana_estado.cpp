// The folder's status window.
#include "ventana_estado.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include "archivos.h"
#include "errores.h"
#include "mensajes.h"
#include "numeros.h"

namespace {

enum Columna { Script, Lineas, Traducidas, Porcentaje, Largas, Problemas, Diferencia, SinGuardar, Guardada };

// Sorts by the figure, not its text; the total stays last whichever way.
class OrdenEstado final : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& a, const QModelIndex& b) const override
    {
        const int total = sourceModel()->rowCount() - 1;
        if (a.row() == total || b.row() == total)
            return (b.row() == total) == (sortOrder() == Qt::AscendingOrder);
        const QVariant va = a.data(Qt::UserRole);
        const QVariant vb = b.data(Qt::UserRole);
        if (a.column() == Script)
            return va.toString().compare(vb.toString(), Qt::CaseInsensitive) < 0;
        return QVariant::compare(va, vb) == QPartialOrdering::Less;
    }
};

QVariant Valor(const FigurasScript& f, int columna)
{
    switch (columna) {
    case Script:
        return f.nombre;
    case Lineas:
        return f.lineasOriginal;
    case Traducidas:
        return f.traducidas;
    case Porcentaje:
        return f.porcentaje();
    case Largas:
        return f.largas;
    case Problemas:
        return f.problemas;
    case Diferencia:
        return f.diferencia();
    case SinGuardar:
        return f.sinGuardar;
    default:
        return f.guardada.isValid() ? f.guardada.toMSecsSinceEpoch() : -1;
    }
}

QString RutaElegida(QWidget* padre)
{
    return QFileDialog::getSaveFileName(padre, QStringLiteral("Exportar estado"),
                                        QStringLiteral("estado.csv"), QStringLiteral("CSV (*.csv)"));
}

} // namespace

ModeloEstado::ModeloEstado(QObject* padre) : QAbstractTableModel(padre) {}

void ModeloEstado::ponerFiguras(const QList<FigurasScript>& figuras)
{
    beginResetModel();
    figuras_ = figuras;
    total_ = TotalCarpeta(figuras_);
    endResetModel();
}

QString ModeloEstado::script(int fila) const
{
    return fila >= 0 && fila < figuras_.size() ? figuras_[fila].nombre : QString();
}

int ModeloEstado::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : int(figuras_.size()) + 1;
}

int ModeloEstado::columnCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : int(TitulosEstado().size());
}

QVariant ModeloEstado::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid())
        return {};
    const FigurasScript& f = indice.row() < figuras_.size() ? figuras_[indice.row()] : total_;
    switch (rol) {
    case Qt::DisplayRole:
        return CeldasEstado(f).value(indice.column());
    case Qt::UserRole:
        return Valor(f, indice.column());
    case Qt::ToolTipRole:
        return TextoFiguras(f);
    case Qt::TextAlignmentRole:
        return indice.column() == Script || indice.column() == Guardada
                   ? QVariant()
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
        if (indice.row() == figuras_.size()) {
            QFont negrita;
            negrita.setBold(true);
            return negrita;
        }
        return {};
    default:
        return {};
    }
}

QVariant ModeloEstado::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    if (orientacion != Qt::Horizontal)
        return {};
    if (rol == Qt::DisplayRole)
        return TitulosEstado().value(seccion);
    if (rol != Qt::ToolTipRole)
        return {};
    static const QStringList ayudas{
        QString(),
        QStringLiteral("Líneas del original"),
        QStringLiteral("Líneas traducidas: no vacías, dentro de las del original"),
        QStringLiteral("Porcentaje de las líneas del original traducidas"),
        QStringLiteral("Líneas más largas que su original"),
        QStringLiteral("Líneas con problemas según las comprobaciones"),
        QStringLiteral("Líneas de la traducción de más (+) o que faltan (−)"),
        QStringLiteral("Texto sin guardar en un borrador"),
        QStringLiteral("Cuándo se guardó la traducción por última vez")};
    return ayudas.value(seccion);
}

VentanaEstado::VentanaEstado(CajaMensajes& mensajes, QWidget* padre, ElegirRuta elegirRuta)
    : VentanaTabla(QStringLiteral("frmEstado"), QStringLiteral("Estado de la carpeta"), padre),
      mensajes_(mensajes), elegirRuta_(elegirRuta ? std::move(elegirRuta) : ElegirRuta(RutaElegida)),
      modelo_(new ModeloEstado(this)), orden_(new OrdenEstado(this)),
      cmdExportar_(new QPushButton(QStringLiteral("Exportar estado…"), this))
{
    // Enter chooses a row; it never presses the button.
    cmdExportar_->setAutoDefault(false);
    orden_->setSourceModel(modelo_);
    ponerModelo(orden_, 16);
    tabla()->setSortingEnabled(true);
    tabla()->sortByColumn(-1, Qt::AscendingOrder);
    tabla()->setColumnWidth(Script, 140);
    for (int columna = Lineas; columna <= SinGuardar; ++columna)
        tabla()->resizeColumnToContents(columna);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdExportar_);
    disposicion()->addLayout(botones);
    resize(820, 360);

    connect(cmdExportar_, &QPushButton::clicked, this, &VentanaEstado::Exportar);
    connect(this, &VentanaTabla::filaElegida, this, [this](int fila) {
        const QString script = modelo_->script(orden_->mapToSource(orden_->index(fila, 0)).row());
        if (!script.isEmpty())
            Q_EMIT elegido(script);
    });
    calculando();
}

void VentanaEstado::calculando()
{
    ponerResumen(QStringLiteral("Calculando…"));
}

void VentanaEstado::mostrar(const QList<FigurasScript>& figuras)
{
    modelo_->ponerFiguras(figuras);
    ponerResumen(TextoFiguras(TotalCarpeta(figuras)) + u" en " + ConMiles(figuras.size()) +
                 (figuras.size() == 1 ? u" script" : u" scripts"));
    for (int columna = Lineas; columna <= SinGuardar; ++columna)
        tabla()->resizeColumnToContents(columna);
}

void VentanaEstado::Exportar()
{
    const QString ruta = elegirRuta_(this);
    if (ruta.isEmpty())
        return;
    try {
        EscribirArchivoAtomico(ruta, CsvEstado(modelo_->figuras()));
    } catch (const ErrorEjecucion& error) {
        mensajes_.Mostrar(u"No se ha podido exportar el estado: " + error.descripcion(), Botones::Aceptar,
                          Icono::Exclamacion);
    }
}
