// The window "Comprobación de la traducción": one row per problem of the script with its line, the
// problem, the original and the translation, and the count of problems above, following the text.
#pragma once

#include <vector>

#include <QAbstractTableModel>

#include "problemas_guion.h"
#include "ventana_tabla.h"

class QLabel;
class QTableView;

// One row per problem, in line order and in each line in the order of the checks; the translation's missing
// lines last. Follows the problems while it is told to.
class ModeloProblemas final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModeloProblemas)
public:
    enum Columna { Linea, Descripcion, Original, Traduccion, Columnas };

    ModeloProblemas(const ProblemasGuion& guion, const TextosPar& textos, QObject* padre = nullptr);

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

    // Follows the problems, starting from all of them, or stops and shows no rows: a window that is not
    // shown costs no edit anything.
    void seguir(bool seguir);

    // The translation line (from 0) of a row, -1 outside the rows; for the missing lines, the first of
    // them (one past the translation's last line). The first row at or after a line.
    int linea(int fila) const;
    int filaDesde(int linea) const;

private:
    struct Fila
    {
        int linea;
        int indice; // into the line's problems; -1 for the missing lines
        friend bool operator==(const Fila&, const Fila&) = default;
    };

    void Seguir(int desde, int hasta);
    std::vector<Fila> Filas(int desde, int hasta) const;
    const QList<Problema>& ProblemasDe(int linea) const;
    QString Texto(int linea, bool original) const;

    const ProblemasGuion& guion_;
    const TextosPar& textos_;
    QMetaObject::Connection conexion_;
    std::vector<Fila> filas_;
    // The problems of the line last shown, so that its cells do not check it again each.
    mutable int lineaGuardada_ = -1;
    mutable QList<Problema> problemasGuardados_;
};

// Modeless, beside the editor, closed by Escape.
class VentanaComprobaciones final : public VentanaTabla
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VentanaComprobaciones)
public:
    VentanaComprobaciones(const ProblemasGuion& guion, const TextosPar& textos, QWidget* padre);

    ModeloProblemas* modelo() const { return modelo_; }
    // Makes the first row at or after `linea` the current one.
    void irAFila(int linea);

protected:
    void showEvent(QShowEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;

Q_SIGNALS:
    // A row was chosen (double-click or Enter): its translation line, from 0.
    void elegida(int linea);

private:
    void Contar();

    const ProblemasGuion& guion_;
    ModeloProblemas* modelo_;
};
