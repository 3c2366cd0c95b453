// The window "Estado de la carpeta": one row per script with where it stands, the folder's total last,
// columns sortable, and "Exportar estado…" writing the table as CSV. It only shows; the editor fills it
// from the folder's queries and opens a script when a row is chosen.
#pragma once

#include <functional>

#include <QAbstractTableModel>

#include "estado.h"
#include "ventana_tabla.h"

class QPushButton;
class QSortFilterProxyModel;
class CajaMensajes;

// The scripts' rows and the total row, last.
class ModeloEstado final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModeloEstado)
public:
    explicit ModeloEstado(QObject* padre = nullptr);

    void ponerFiguras(const QList<FigurasScript>& figuras);
    const QList<FigurasScript>& figuras() const { return figuras_; }
    // The script of a row; empty for the total.
    QString script(int fila) const;

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

private:
    QList<FigurasScript> figuras_;
    FigurasScript total_;
};

class VentanaEstado final : public VentanaTabla
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VentanaEstado)
public:
    // `elegirRuta` asks where to export (the desktop's file chooser by default); empty: nothing written.
    using ElegirRuta = std::function<QString(QWidget* padre)>;
    VentanaEstado(CajaMensajes& mensajes, QWidget* padre, ElegirRuta elegirRuta = {});

    void mostrar(const QList<FigurasScript>& figuras);
    // While the figures are worked out: "Calculando…".
    void calculando();
    ModeloEstado* modelo() const { return modelo_; }
    QPushButton* cmdExportar() const { return cmdExportar_; }
    // Writes the CSV where `elegirRuta` says; what a click on "Exportar estado…" does.
    void Exportar();

Q_SIGNALS:
    // A script's row was chosen.
    void elegido(const QString& script);

private:
    CajaMensajes& mensajes_;
    ElegirRuta elegirRuta_;
    ModeloEstado* modelo_;
    QSortFilterProxyModel* orden_;
    QPushButton* cmdExportar_;
};
