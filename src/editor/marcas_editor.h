// Lines over their limit in the window: backgrounds in the box and the original list, ticks on the box's
// scroll bar, F8 / Shift+F8 to the next or previous marked line, Ctrl+L for the overview window, the
// context menu's entries and the "Largo de línea:" caption's tooltip.
#pragma once

#include <memory>

#include <QObject>

#include "marcas.h"
#include "pintura.h"

class QAction;
class QLabel;
class QMenu;
class QWidget;
class CajaTexto;
class ListaSimple;
class VentanaResumen;

class MarcasEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MarcasEditor)
public:
    // `ventana` is where the overview window goes back to when a row is chosen; the overview opens beside
    // it, or over `respaldo` where the screen has no room beside it.
    MarcasEditor(CajaTexto& caja, ListaSimple& lista, QLabel& lblLargoLinea, QWidget& ventana,
                 const QWidget& respaldo);
    ~MarcasEditor() override;

    const MarcasLineas& marcas() const { return marcas_; }
    void AnadirAlMenu(QMenu& menu);
    // Another kind of per-line mark shown with these: a background under theirs in the box and a lane of
    // ticks right of theirs on the scroll bar. `Repintar` once lines desde ... hasta - 1 of it changed.
    void AgregarMarcas(CapaFondos capa, CarrilBarra carril);
    void Repintar(int desde, int hasta);

private:
    QAction* NuevaAccion(const QString& texto, const QKeySequence& atajo);
    void Describir();
    void IrA(bool adelante);
    void IrAFinDeLinea(int linea);
    void Mostrar();

    CajaTexto& caja_;
    ListaSimple& lista_;
    QLabel& lblLargoLinea_;
    QWidget& ventana_;
    const QWidget& respaldo_;
    MarcasLineas marcas_;
    FondosCaja fondos_;
    // A child of the scroll bar, which it paints over.
    std::unique_ptr<MarcasBarra> barra_;
    QAction* siguiente_;
    QAction* anterior_;
    QAction* resumen_;
    // Declared after the marks it reads, so that it goes first.
    std::unique_ptr<VentanaResumen> resumenVentana_;
};
