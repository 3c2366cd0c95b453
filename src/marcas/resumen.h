// The overview of the marked lines: a small window with one row per marked line, and the sentences
// that count them.
#pragma once

#include <vector>

#include <QAbstractTableModel>

#include "marcas.h"
#include "ventana_tabla.h"

class QLabel;
class QTableView;

// "3 líneas superan su original; 1 línea sobra" with `union` "; ", or "Ninguna línea supera su original".
QString TextoMarcas(int largas, int sobrantes, const QString& union_);

// One row per marked line, in line order, following the marks as they change.
class ModeloResumen final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModeloResumen)
public:
    enum Columna { Linea, Largo, LargoOriginal, Exceso, Traduccion, Original, Columnas };

    explicit ModeloResumen(const MarcasLineas& marcas, QObject* padre = nullptr);

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

    // Follows the marks, starting from all of them, or stops following and shows no rows: a window that
    // is not shown costs no edit anything.
    void seguir(bool seguir);

    // The box line (from 0) of a row, -1 outside the rows; the first row at or after a line.
    int linea(int fila) const;
    int filaDesde(int linea) const;

private:
    void Seguir(int desde, int hasta);

    const MarcasLineas& marcas_;
    QMetaObject::Connection conexion_;
    // The marked lines as the rows show them; only the changed stretch is compared with the marks.
    std::vector<int> lineas_;
};

// The window "Líneas que superan el original": modeless, above the editor, closed by Escape.
class VentanaResumen final : public VentanaTabla
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VentanaResumen)
public:
    VentanaResumen(const MarcasLineas& marcas, QWidget* padre);

    // Makes the first row at or after `linea` the current one.
    void irAFila(int linea);

protected:
    void showEvent(QShowEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;

Q_SIGNALS:
    // A row was chosen (double-click or Enter): the box line, from 0.
    void elegida(int linea);

private:
    void Contar();

    const MarcasLineas& marcas_;
    ModeloResumen* modelo_;
};
