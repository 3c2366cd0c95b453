// The window of the script's problems and its table.
#include "ventana_comprobaciones.h"

#include <algorithm>

#include <QHideEvent>
#include <QShowEvent>
#include <QTableView>

namespace {

// A cell shows the start of a long line only: the whole of it would never fit, and laying it out would
// take as long as the line.
constexpr int caracteresCelda = 300;

} // namespace

ModeloProblemas::ModeloProblemas(const ProblemasGuion& guion, const TextosPar& textos, QObject* padre)
    : QAbstractTableModel(padre), guion_(guion), textos_(textos)
{
    seguir(true);
}

void ModeloProblemas::seguir(bool seguir)
{
    disconnect(conexion_);
    beginResetModel();
    lineaGuardada_ = -1;
    filas_.clear();
    if (seguir) {
        filas_ = Filas(0, guion_.lineasTraduccion());
        if (guion_.faltantes() > 0)
            filas_.push_back({guion_.lineasTraduccion(), -1});
        conexion_ = connect(&guion_, &ProblemasGuion::cambio, this,
                            [this](int desde, int hasta) { Seguir(desde, hasta); });
    }
    endResetModel();
}

std::vector<ModeloProblemas::Fila> ModeloProblemas::Filas(int desde, int hasta) const
{
    std::vector<Fila> filas;
    for (int orden = guion_.orden(desde), l = guion_.enesima(orden); l >= 0 && l < hasta;
         l = guion_.enesima(++orden)) {
        for (int k = 0; k < guion_.cantidad(l); ++k)
            filas.push_back({l, k});
    }
    return filas;
}

void ModeloProblemas::Seguir(int desde, int hasta)
{
    lineaGuardada_ = -1;
    // The rows of the changed lines; the missing lines' row, last, apart.
    const bool conFaltantes = !filas_.empty() && filas_.back().indice < 0;
    const auto finLineas = filas_.end() - (conFaltantes ? 1 : 0);
    const auto menor = [](const Fila& fila, int linea) {
        return fila.linea < linea;
    };
    const auto primera = std::lower_bound(filas_.begin(), finLineas, desde, menor);
    const auto ultima = std::lower_bound(primera, finLineas, hasta, menor);
    const int inicio = int(primera - filas_.begin());
    const int viejas = int(ultima - primera);
    const std::vector<Fila> nuevas = Filas(desde, hasta);
    if (int(nuevas.size()) == viejas) {
        // A keystroke that keeps the number of problems keeps the rows, and the current one.
        std::copy(nuevas.begin(), nuevas.end(), primera);
        if (viejas > 0)
            Q_EMIT dataChanged(index(inicio, 0), index(inicio + viejas - 1, Columnas - 1));
    } else {
        if (viejas > 0) {
            beginRemoveRows({}, inicio, inicio + viejas - 1);
            filas_.erase(primera, ultima);
            endRemoveRows();
        }
        if (!nuevas.empty()) {
            beginInsertRows({}, inicio, inicio + int(nuevas.size()) - 1);
            filas_.insert(filas_.begin() + inicio, nuevas.begin(), nuevas.end());
            endInsertRows();
        }
    }
    const int faltante = int(filas_.size()) - 1;
    if (conFaltantes && guion_.faltantes() > 0) {
        filas_.back().linea = guion_.lineasTraduccion();
        Q_EMIT dataChanged(index(faltante, 0), index(faltante, Columnas - 1));
    } else if (conFaltantes) {
        beginRemoveRows({}, faltante, faltante);
        filas_.pop_back();
        endRemoveRows();
    } else if (guion_.faltantes() > 0) {
        beginInsertRows({}, faltante + 1, faltante + 1);
        filas_.push_back({guion_.lineasTraduccion(), -1});
        endInsertRows();
    }
}

int ModeloProblemas::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : int(filas_.size());
}

int ModeloProblemas::columnCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : Columnas;
}

int ModeloProblemas::linea(int fila) const
{
    return fila >= 0 && fila < rowCount() ? filas_[std::size_t(fila)].linea : -1;
}

int ModeloProblemas::filaDesde(int linea) const
{
    const auto fila = std::lower_bound(filas_.begin(), filas_.end(), linea,
                                       [](const Fila& f, int l) { return f.linea < l; });
    return int(fila - filas_.begin());
}

const QList<Problema>& ModeloProblemas::ProblemasDe(int linea) const
{
    if (linea != lineaGuardada_) {
        problemasGuardados_ = guion_.problemas(linea);
        lineaGuardada_ = linea;
    }
    return problemasGuardados_;
}

QString ModeloProblemas::Texto(int linea, bool original) const
{
    QString texto;
    const auto leer = [&](int, const QString& linea) {
        texto = linea.size() > caracteresCelda ? linea.left(caracteresCelda) + u'…' : linea;
    };
    if (original)
        textos_.leerOriginal(linea, linea + 1, leer);
    else
        textos_.leerTraduccion(linea, linea + 1, leer);
    return texto;
}

QVariant ModeloProblemas::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid() || indice.row() >= rowCount() || (rol != Qt::DisplayRole && rol != Qt::ToolTipRole))
        return {};
    const Fila& fila = filas_[std::size_t(indice.row())];
    switch (indice.column()) {
    case Linea:
        return fila.linea + 1;
    case Descripcion: {
        if (fila.indice < 0)
            return guion_.problemaFaltantes().texto;
        const QList<Problema>& problemas = ProblemasDe(fila.linea);
        if (fila.indice >= problemas.size())
            return {};
        const Problema& problema = problemas[fila.indice];
        return problema.ignorado ? problema.texto + u" (ignorado)" : problema.texto;
    }
    case Original:
        return Texto(fila.linea, true);
    case Traduccion:
        return fila.indice < 0 ? QString() : Texto(fila.linea, false);
    default:
        return {};
    }
}

QVariant ModeloProblemas::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole)
        return {};
    switch (seccion) {
    case Linea:
        return QStringLiteral("Línea");
    case Descripcion:
        return QStringLiteral("Problema");
    case Original:
        return QStringLiteral("Original");
    case Traduccion:
        return QStringLiteral("Traducción");
    default:
        return {};
    }
}

VentanaComprobaciones::VentanaComprobaciones(const ProblemasGuion& guion, const TextosPar& textos,
                                             QWidget* padre)
    : VentanaTabla(QStringLiteral("frmComprobaciones"), QStringLiteral("Comprobación de la traducción"),
                   padre),
      guion_(guion), modelo_(new ModeloProblemas(guion, textos, this))
{
    ponerModelo(modelo_, 7);
    tabla()->setColumnWidth(ModeloProblemas::Descripcion, 260);
    tabla()->setColumnWidth(ModeloProblemas::Original, 220);
    resize(720, 320);

    connect(&guion_, &ProblemasGuion::cambio, this, [this] { Contar(); });
    connect(this, &VentanaTabla::filaElegida, this, [this](int fila) {
        const int linea = modelo_->linea(fila);
        if (linea >= 0)
            Q_EMIT elegida(linea);
    });
    Contar();
}

void VentanaComprobaciones::showEvent(QShowEvent* evento)
{
    if (!evento->spontaneous())
        modelo_->seguir(true);
    VentanaTabla::showEvent(evento);
}

void VentanaComprobaciones::hideEvent(QHideEvent* evento)
{
    VentanaTabla::hideEvent(evento);
    if (!evento->spontaneous())
        modelo_->seguir(false);
}

void VentanaComprobaciones::irAFila(int linea)
{
    const int fila = std::min(modelo_->filaDesde(linea), modelo_->rowCount() - 1);
    if (fila < 0)
        return;
    tabla()->setCurrentIndex(modelo_->index(fila, 0));
    tabla()->scrollTo(modelo_->index(fila, 0));
}

void VentanaComprobaciones::Contar()
{
    ponerResumen(guion_.resumen());
}
