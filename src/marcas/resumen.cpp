// The overview window of the marked lines and its table.
#include "resumen.h"

#include <algorithm>

#include <QHideEvent>
#include <QShowEvent>
#include <QPalette>
#include <QTableView>

#include "pintura.h"

namespace {

// Above this many changed lines, the rows of the stretch are replaced at once instead of one by one.
constexpr int filasSueltas = 256;
// A cell shows the start of a long line only: the whole of it would never fit, and laying it out
// would take as long as the line.
constexpr int caracteresCelda = 300;

QString Cantidad(int n, const char* singular, const char* plural)
{
    return QString::number(n) + u' ' + QString::fromUtf8(n == 1 ? singular : plural);
}

// The start of a line, with an ellipsis when the line goes on.
QString Celda(const QString& inicio, int largo)
{
    return largo > inicio.size() ? inicio + u'…' : inicio;
}

} // namespace

QString TextoMarcas(int largas, int sobrantes, const QString& union_)
{
    QStringList partes;
    if (largas > 0)
        partes.append(Cantidad(largas, "línea supera su original", "líneas superan su original"));
    if (sobrantes > 0)
        partes.append(Cantidad(sobrantes, "línea sobra", "líneas sobran"));
    if (partes.isEmpty())
        return QStringLiteral("Ninguna línea supera su original");
    return partes.join(union_);
}

ModeloResumen::ModeloResumen(const MarcasLineas& marcas, QObject* padre)
    : QAbstractTableModel(padre), marcas_(marcas)
{
    seguir(true);
}

void ModeloResumen::seguir(bool seguir)
{
    disconnect(conexion_);
    beginResetModel();
    lineas_.clear();
    if (seguir) {
        lineas_.reserve(std::size_t(marcas_.cantidad()));
        for (int orden = 0; orden < marcas_.cantidad(); ++orden)
            lineas_.push_back(marcas_.enesima(orden));
        conexion_ = connect(&marcas_, &MarcasLineas::cambio, this,
                            [this](int desde, int hasta) { Seguir(desde, hasta); });
    }
    lineas_.shrink_to_fit();
    endResetModel();
}

int ModeloResumen::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : int(lineas_.size());
}

int ModeloResumen::columnCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : Columnas;
}

int ModeloResumen::linea(int fila) const
{
    return fila >= 0 && fila < rowCount() ? lineas_[std::size_t(fila)] : -1;
}

int ModeloResumen::filaDesde(int linea) const
{
    return int(std::lower_bound(lineas_.begin(), lineas_.end(), linea) - lineas_.begin());
}

QVariant ModeloResumen::data(const QModelIndex& indice, int rol) const
{
    const int l = linea(indice.row());
    if (l < 0)
        return {};
    const Marca marca = marcas_.marca(l);
    if (rol == Qt::BackgroundRole && indice.column() == Linea)
        return ColorFondo(marca, QPalette().color(QPalette::Base));
    if (rol == Qt::TextAlignmentRole && indice.column() < Traduccion)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (rol != Qt::DisplayRole)
        return {};
    const int largo = marcas_.largoTraduccion(l);
    const int largoOriginal = marca == Marca::Sobrante ? -1 : marcas_.largoOriginal(l);
    switch (indice.column()) {
    case Linea:
        return l + 1;
    case Largo:
        return largo;
    case LargoOriginal:
        return largoOriginal < 0 ? QVariant(QString()) : QVariant(largoOriginal);
    case Exceso:
        return largo - std::max(largoOriginal, 0);
    case Traduccion:
        return Celda(marcas_.textoTraduccion(l, caracteresCelda), largo);
    case Original:
        return largoOriginal < 0 ? QString()
                                 : Celda(marcas_.textoOriginal(l, caracteresCelda), largoOriginal);
    default:
        return {};
    }
}

QVariant ModeloResumen::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole)
        return QAbstractTableModel::headerData(seccion, orientacion, rol);
    switch (seccion) {
    case Linea:
        return QStringLiteral("Línea");
    case Largo:
        return QStringLiteral("Largo");
    case LargoOriginal:
        return QStringLiteral("Largo original");
    case Exceso:
        return QStringLiteral("Exceso");
    case Traduccion:
        return QStringLiteral("Traducción");
    case Original:
        return QStringLiteral("Original");
    default:
        return {};
    }
}

void ModeloResumen::Seguir(int desde, int hasta)
{
    const std::size_t primera = std::size_t(filaDesde(desde));
    std::size_t fin = std::size_t(filaDesde(hasta));
    std::vector<int> nuevas;
    for (int orden = marcas_.orden(desde), l = marcas_.enesima(orden); l >= 0 && l < hasta;
         l = marcas_.enesima(++orden))
        nuevas.push_back(l);
    const auto ultimaColumna = Columnas - 1;
    if (int(fin - primera) + int(nuevas.size()) > filasSueltas) {
        if (fin > primera) {
            beginRemoveRows({}, int(primera), int(fin) - 1);
            lineas_.erase(lineas_.begin() + qsizetype(primera), lineas_.begin() + qsizetype(fin));
            endRemoveRows();
        }
        if (!nuevas.empty()) {
            beginInsertRows({}, int(primera), int(primera + nuevas.size()) - 1);
            lineas_.insert(lineas_.begin() + qsizetype(primera), nuevas.begin(), nuevas.end());
            endInsertRows();
        }
        return;
    }
    // A few lines: rows that stay keep their place (and the view its current row), the others come or go.
    std::size_t fila = primera;
    std::size_t j = 0;
    while (fila < fin || j < nuevas.size()) {
        if (j == nuevas.size() || (fila < fin && lineas_[fila] < nuevas[j])) {
            beginRemoveRows({}, int(fila), int(fila));
            lineas_.erase(lineas_.begin() + qsizetype(fila));
            endRemoveRows();
            --fin;
        } else if (fila == fin || nuevas[j] < lineas_[fila]) {
            beginInsertRows({}, int(fila), int(fila));
            lineas_.insert(lineas_.begin() + qsizetype(fila), nuevas[j]);
            endInsertRows();
            ++fila;
            ++fin;
            ++j;
        } else {
            Q_EMIT dataChanged(index(int(fila), 0), index(int(fila), ultimaColumna));
            ++fila;
            ++j;
        }
    }
}

VentanaResumen::VentanaResumen(const MarcasLineas& marcas, QWidget* padre)
    : VentanaTabla(QStringLiteral("frmLineasLargas"), QStringLiteral("Líneas que superan el original"),
                   padre),
      marcas_(marcas), modelo_(new ModeloResumen(marcas, this))
{
    ponerModelo(modelo_, 7);
    const int cifra = fontMetrics().horizontalAdvance(u'0');
    for (const int columna : {ModeloResumen::Largo, ModeloResumen::LargoOriginal, ModeloResumen::Exceso}) {
        const QString titulo = modelo_->headerData(columna, Qt::Horizontal).toString();
        tabla()->setColumnWidth(columna, std::max(cifra * 7, fontMetrics().horizontalAdvance(titulo) + 16));
    }
    tabla()->setColumnWidth(ModeloResumen::Traduccion, 220);
    resize(640, 300);

    connect(&marcas_, &MarcasLineas::cambio, this, [this] { Contar(); });
    connect(this, &VentanaTabla::filaElegida, this, [this](int fila) {
        const int linea = modelo_->linea(fila);
        if (linea >= 0)
            Q_EMIT elegida(linea);
    });
    Contar();
}

void VentanaResumen::showEvent(QShowEvent* evento)
{
    if (!evento->spontaneous())
        modelo_->seguir(true);
    VentanaTabla::showEvent(evento);
}

void VentanaResumen::hideEvent(QHideEvent* evento)
{
    VentanaTabla::hideEvent(evento);
    if (!evento->spontaneous())
        modelo_->seguir(false);
}

void VentanaResumen::irAFila(int linea)
{
    const int fila = std::min(modelo_->filaDesde(linea), modelo_->rowCount() - 1);
    if (fila < 0)
        return;
    tabla()->setCurrentIndex(modelo_->index(fila, 0));
    tabla()->scrollTo(modelo_->index(fila, 0));
}

void VentanaResumen::Contar()
{
    ponerResumen(TextoMarcas(marcas_.largas(), marcas_.sobrantes(), QStringLiteral(" y ")));
}
