// How the marked lines show: backgrounds behind the box's marked lines, ticks over its vertical scroll
// bar. Both paint only what is on screen and read the marks, never the text.
#pragma once

#include <vector>

#include <QColor>
#include <QPointer>
#include <QWidget>

#include "marcas.h"

class QPlainTextEdit;
class QScrollBar;

// The background behind a marked line: the mark's hue over the control's own background (`base`), light
// on a light one, so that its text stays as readable as on the background itself.
QColor ColorFondo(Marca marca, const QColor& base = Qt::white);
// The scroll bar's ticks.
QColor ColorTrazo(Marca marca);
// Contrast ratio of two colours as readability guidelines measure it, 1 ... 21.
double Contraste(const QColor& a, const QColor& b);

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

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QPointer<QPlainTextEdit> caja_;
    MarcasLineas& marcas_;
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

// The ticks, drawn over the box's vertical scroll bar's groove; clicks go through to the bar.
class MarcasBarra final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MarcasBarra)
public:
    MarcasBarra(QScrollBar* barra, const MarcasLineas& marcas);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    void Ubicar();

    QScrollBar* barra_;
    const MarcasLineas& marcas_;
};
