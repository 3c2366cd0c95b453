// How the marked lines show: backgrounds behind the box's marked lines, ticks over its vertical scroll
// bar. Both paint only what is on screen and read the marks, never the text. Other per-line marks (the
// checks' problems) can show beside them: a further background under the marks', a further lane of ticks.
#pragma once

#include <functional>
#include <vector>

#include <QColor>
#include <QPointer>
#include <QWidget>

#include "marcas.h"

class QPlainTextEdit;
class QScrollBar;
class QStyleOptionSlider;

// The background behind a marked line: the mark's hue over the control's own background (`base`), light
// on a light one, so that its text stays as readable as on the background itself.
QColor ColorFondo(Marca marca, const QColor& base = Qt::white);
// The scroll bar's ticks.
QColor ColorTrazo(Marca marca);
// The same for a line with a problem of the checks: light violet, and its tick.
QColor ColorFondoAviso(const QColor& base = Qt::white);
QColor ColorTrazoAviso();
// Contrast ratio of two colours as readability guidelines measure it, 1 ... 21.
double Contraste(const QColor& a, const QColor& b);

// Another kind of per-line background: whether any line has one now, and the colour of a line over the
// box's own background (an invalid colour for none).
struct CapaFondos
{
    std::function<bool()> hayAlguno;
    std::function<QColor(int linea, const QColor& base)> color;
};

// Paints the background of every visible marked line across the box's whole width, under the text,
// the selection and the caret. The document's formats are never touched, so marking is no edit.
class FondosCaja final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FondosCaja)
public:
    FondosCaja(QPlainTextEdit* caja, MarcasLineas& marcas);
    ~FondosCaja() override;

    // Lines desde ... hasta - 1 changed their marks: repaints the box if any of them shows.
    void actualizar(int desde, int hasta);
    // A further background for the lines without a mark; layers added first win.
    void agregarCapa(CapaFondos capa);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QColor Fondo(int linea, const QColor& base) const;

    QPointer<QPlainTextEdit> caja_;
    MarcasLineas& marcas_;
    std::vector<CapaFondos> capas_;
};

// A tick of the scroll bar: pixel rows desde ... desde + alto - 1 of its groove.
struct Trazo
{
    Marca marca;
    int desde;
    int alto;
    friend bool operator==(const Trazo&, const Trazo&) = default;
};

// The ticks for a groove `alto` pixels high: each marked line at its relative height, ticks that would
// overlap merged into one. One search of the marks per tick drawn, however many lines share a pixel.
std::vector<Trazo> TrazosBarra(const MarcasLineas& marcas, int alto);

// A tick of any lane, in its colour.
struct TrazoCarril
{
    QColor color;
    int desde;
    int alto;
    friend bool operator==(const TrazoCarril&, const TrazoCarril&) = default;
};
// The ticks of a lane for a groove `alto` pixels high.
using CarrilBarra = std::function<std::vector<TrazoCarril>(int alto)>;

// The ticks, in `color`, of some of a script's `lineas` lines, as TrazosBarra places them:
// `primeraDesde(linea)` is the first of those lines at or after `linea`, -1 when none.
std::vector<TrazoCarril> TrazosLineas(int lineas, int alto, const std::function<int(int)>& primeraDesde,
                                      const QColor& color);

// The ticks, drawn over the box's vertical scroll bar's groove, each kind in a lane of its own side by side;
// never over the bar's handle, which shows even when every line has a tick. Clicks go through to the bar.
class MarcasBarra final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MarcasBarra)
public:
    // The marks' lane.
    MarcasBarra(QScrollBar* barra, const MarcasLineas& marcas);

    // A further lane, right of the ones there.
    void agregarCarril(CarrilBarra carril);
    // The handle in this widget's coordinates; empty when the bar has no range to scroll.
    QRect asa() const;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    QStyleOptionSlider Opcion() const;
    void Ubicar();

    QScrollBar* barra_;
    std::vector<CarrilBarra> carriles_;
};
