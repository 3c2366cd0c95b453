// The multi-line text box and the plain list box of the window, with the operations it relies on.
#pragma once

#include <functional>

#include <QAbstractListModel>
#include <QListView>
#include <QPlainTextEdit>
#include <QThreadPool>

class QMenu;

// A text box that never wraps and reports released keys with their traditional codes.
class CajaTexto final : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CajaTexto(QWidget* padre = nullptr);

    // The box's lines; the box never holds a line break inside a line.
    QStringList lineas() const;
    void setLineas(const QStringList& lineas);

    // Empties the box at once, whatever it holds: a fresh document takes the place of the old one, which is
    // freed on another thread (emptying a million lines in place holds the window a tenth of a second).
    // Undo starts afresh, as after `clear`. `documentoNuevo` tells who watches the document.
    void vaciar();

    // Filling the box a slice at a time, with yields between the slices: meanwhile the box takes no typing,
    // and the filling is no edit (nothing to undo, not modified); `vaciar` empties the box before the first
    // slice. `terminarCarga` ends the filling and does nothing when none is under way, so that whoever
    // empties the box may call it.
    void empezarCarga();
    void anadirLineas(const QStringList& lineas);
    void terminarCarga();

Q_SIGNALS:
    // The box shows another document (`vaciar`): whoever connected to the old one connects to this one.
    void documentoNuevo();
    void teclaSoltada(int codigo, int shift);
    // The context menu is about to open at `posicion` (in the box's coordinates), holding Qt's standard
    // entries; receivers add theirs before it is shown.
    void menuContextual(QMenu* menu, QPoint posicion);

protected:
    void contextMenuEvent(QContextMenuEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void keyReleaseEvent(QKeyEvent* evento) override;

private:
    void CaretAlPrincipio();

    bool cargando_ = false;
    bool conLineas_ = false; // the filling has put at least one line into the box
    // Frees the documents the box no longer shows; the box waits for it when it goes.
    QThreadPool liberador_;
};

// The lines a list box shows, one row each, with no object per row: a million lines cost what their text
// costs.
class ModeloLineas final : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;

    const QString& texto(int fila) const { return lineas_[fila]; }
    // The lines shown, shared with the model: no line is copied.
    QStringList lineas() const { return mostradas_ == lineas_.size() ? lineas_ : lineas_.first(mostradas_); }
    // Adds lines at the end; the view may be told of them only at a later `anadir` or at `completar`.
    void anadir(const QStringList& lineas);
    // Shows every line added so far.
    void completar();
    // Empties the model at once; the old lines are given back to the system off the window's thread.
    void vaciar();

private:
    // The first rows are shown once this many lines are there.
    static constexpr qsizetype filasPorAnuncio = 2048;

    QStringList lineas_;
    // How many of `lineas_` the view has been told of.
    qsizetype mostradas_ = 0;
};

// A list box whose selected index is set without running any handler; an index outside
// -1 ... count - 1 is error 380.
class ListaSimple final : public QListView
{
    Q_OBJECT
public:
    explicit ListaSimple(QWidget* padre = nullptr);

    int count() const { return modelo_->rowCount(); }
    // The text of a row, which must exist.
    const QString& texto(int fila) const { return modelo_->texto(fila); }
    // Every row's text, shared with the list: no line is copied.
    QStringList lineas() const { return modelo_->lineas(); }
    // Filling the list a slice at a time: the lines added show in batches, and all of them once
    // `terminarCarga` is called.
    void anadirLineas(const QStringList& lineas) { modelo_->anadir(lineas); }
    void terminarCarga() { modelo_->completar(); }
    void clear() { modelo_->vaciar(); }

    int indice() const;
    void setIndice(int indice);
    // The selected item's text, "" when none.
    QString textoSeleccionado() const;
    // How far, in pixels, the list scrolls sideways, whatever its items' widths.
    void setExtensionHorizontal(int pixeles);
    // The background of each row that `fondo` gives a valid colour for; the selection's highlight still
    // shows on the selected row. The caller repaints the viewport when the colours change.
    void setFondoFilas(std::function<QColor(int fila)> fondo);
    const std::function<QColor(int)>& fondoFilas() const { return fondo_; }

private:
    ModeloLineas* modelo_;
    std::function<QColor(int)> fondo_;
};
