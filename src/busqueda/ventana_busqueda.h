// The window "Buscar en la carpeta": the search field and its options, the matching lines with what
// matched highlighted and the count above, and the replacement in translations with its undo. It only
// shows and asks: the editor runs the searches and replacements (ConsultasCarpeta) and opens a script
// when a row is chosen.
#pragma once

#include <QAbstractTableModel>

#include "busqueda.h"
#include "ventana_tabla.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// One row per matching line: script, line number, original, translation.
class ModeloBusqueda final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModeloBusqueda)
public:
    enum Columna { Script, Linea, Original, Traduccion, Columnas };
    // The matches of a cell, as a list of QPoint(start, length), for the delegate that paints them.
    static constexpr int RolTramos = Qt::UserRole + 1;

    explicit ModeloBusqueda(QObject* padre = nullptr);

    void ponerResultado(const ResultadoBusqueda& resultado);
    const ResultadoBusqueda& resultado() const { return resultado_; }

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

private:
    ResultadoBusqueda resultado_;
};

class VentanaBusqueda final : public VentanaTabla
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VentanaBusqueda)
public:
    explicit VentanaBusqueda(QWidget* padre = nullptr);

    OpcionesBusqueda opciones() const;
    QString reemplazo() const;
    // The answer to the newest search; older ones are dropped before they get here.
    void mostrar(const ResultadoBusqueda& resultado);
    // Whether there is a replacement to undo.
    void ponerDeshacer(bool hay);

    QLineEdit* txtBuscar() const { return txtBuscar_; }
    QLineEdit* txtReemplazar() const { return txtReemplazar_; }
    QPushButton* cmdReemplazar() const { return cmdReemplazar_; }
    QPushButton* cmdDeshacer() const { return cmdDeshacer_; }
    QRadioButton* optAmbito(Ambito ambito) const;
    QCheckBox* chkMayusculas() const { return chkMayusculas_; }
    QCheckBox* chkPalabra() const { return chkPalabra_; }
    QCheckBox* chkExpresion() const { return chkExpresion_; }
    ModeloBusqueda* modelo() const { return modelo_; }

Q_SIGNALS:
    // The search or its options changed: as the translator types.
    void buscar(const OpcionesBusqueda& opciones);
    // "Reemplazar todo" and "Deshacer el último reemplazo".
    void reemplazar(const OpcionesBusqueda& opciones, const QString& reemplazo);
    void deshacer();
    // A row was chosen (Enter or a double-click).
    void elegida(const FilaBusqueda& fila);

private:
    void Cambio();

    QLineEdit* txtBuscar_;
    QRadioButton* optOriginales_;
    QRadioButton* optTraducciones_;
    QRadioButton* optAmbos_;
    QCheckBox* chkMayusculas_;
    QCheckBox* chkPalabra_;
    QCheckBox* chkExpresion_;
    QLineEdit* txtReemplazar_;
    QPushButton* cmdReemplazar_;
    QPushButton* cmdDeshacer_;
    ModeloBusqueda* modelo_;
};
