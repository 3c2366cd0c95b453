// The editor's small table windows: modeless, a line that sums up above a table of rows, one text line
// per row and whole rows selected, Enter or a double-click choosing a row, Escape closing the window.
// The windows that list rows derive from it and add their own model and fields.
#pragma once

#include <QDialog>

class QAbstractItemModel;
class QLabel;
class QTableView;
class QVBoxLayout;

class VentanaTabla : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VentanaTabla)
public:
    // `nombre`: the object name tests find the window by; `titulo`: its title and the table's accessible
    // name. Takes its parent's font, as windows do not by themselves.
    VentanaTabla(const QString& nombre, const QString& titulo, QWidget* padre);

    QTableView* tabla() const { return tabla_; }
    QLabel* resumen() const { return resumen_; }
    void ponerResumen(const QString& texto);

Q_SIGNALS:
    // A row of the table's model was chosen (double-click or Enter).
    void filaElegida(int fila);

protected:
    // Shows `modelo` in the table; the first column as wide as `anchoPrimera` digits or its title.
    void ponerModelo(QAbstractItemModel* modelo, int anchoPrimera);
    // Where a derived window puts its own fields: above the summary and the table.
    QVBoxLayout* disposicion() const { return disposicion_; }

private:
    QVBoxLayout* disposicion_;
    QLabel* resumen_;
    QTableView* tabla_;
};
