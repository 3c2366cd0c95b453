// Painting the marks: line backgrounds in the box and ticks over its scroll bar.
#include "pintura.h"

#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTextBlock>

namespace {

// Height of one tick, in pixels.
constexpr int altoTrazo = 3;

double Luminancia(const QColor& color)
{
    const auto canal = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * canal(color.redF()) + 0.7152 * canal(color.greenF()) + 0.0722 * canal(color.blueF());
}

} // namespace

QColor ColorFondo(Marca marca, const QColor& base)
{
    // On white: light red (255, 204, 204) and light orange (255, 224, 179).
    const auto mezcla = [&base](const QColor& tinte, double parte) {
        const auto canal = [&](int b, int t) {
            return int(std::lround(b + (t - b) * parte));
        };
        return QColor(canal(base.red(), tinte.red()), canal(base.green(), tinte.green()),
                      canal(base.blue(), tinte.blue()));
    };
    switch (marca) {
    case Marca::Larga:
        return mezcla(QColor(255, 0, 0), 0.2);
    case Marca::Sobrante:
        return mezcla(QColor(255, 150, 0), 0.3);
    case Marca::Ninguna:
        break;
    }
    return {};
}

QColor ColorTrazo(Marca marca)
{
    switch (marca) {
    case Marca::Larga:
        return {211, 47, 47};
    case Marca::Sobrante:
        return {245, 124, 0};
    case Marca::Ninguna:
        break;
    }
    return {};
}

double Contraste(const QColor& a, const QColor& b)
{
    const double la = Luminancia(a);
    const double lb = Luminancia(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

FondosCaja::FondosCaja(QPlainTextEdit* caja, MarcasLineas& marcas) : caja_(caja), marcas_(marcas)
{
    // Filters run newest first: the backgrounds are down before the box paints its text over them.
    caja_->viewport()->installEventFilter(this);
}

FondosCaja::~FondosCaja()
{
    if (caja_)
        caja_->viewport()->removeEventFilter(this);
}

void FondosCaja::actualizar(int desde, int hasta)
{
    if (!caja_)
        return;
    // Called while the document reports a change, before the box has laid it out: the lines on screen
    // are reckoned from the scroll bar, which counts lines in a box that never wraps, not asked of the
    // layout.
    QWidget* vista = caja_->viewport();
    const int primera = caja_->verticalScrollBar()->value();
    const int ultima = primera + vista->height() / std::max(1, caja_->fontMetrics().lineSpacing()) + 1;
    if (desde <= ultima && hasta > primera)
        vista->update();
}

bool FondosCaja::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() != QEvent::Paint || !caja_ || objeto != caja_->viewport())
        return false;
    marcas_.vigilar();
    if (marcas_.cantidad() == 0)
        return false;
    QWidget* vista = caja_->viewport();
    const QRect zona = static_cast<QPaintEvent*>(evento)->rect();
    const QColor base = caja_->palette().color(QPalette::Base);
    QPainter pintor(vista);
    // From the first line under the damaged area down to the last one in it: the lines on screen only.
    for (QTextBlock bloque = caja_->cursorForPosition(QPoint(0, zona.top())).block(); bloque.isValid();
         bloque = bloque.next()) {
        if (!bloque.isVisible())
            continue;
        const QRect linea = caja_->cursorRect(QTextCursor(bloque));
        if (linea.top() > zona.bottom())
            break;
        const Marca marca = marcas_.marca(bloque.blockNumber());
        if (marca != Marca::Ninguna)
            pintor.fillRect(QRect(0, linea.top(), vista->width(), linea.height()), ColorFondo(marca, base));
    }
    return false;
}

std::vector<Trazo> TrazosBarra(const MarcasLineas& marcas, int alto)
{
    std::vector<Trazo> trazos;
    const qint64 lineas = marcas.lineasTraduccion();
    if (alto < altoTrazo || lineas == 0 || marcas.cantidad() == 0)
        return trazos;
    // A line's tick starts at the pixel row of its relative height. Each search finds the first marked
    // line from the pixel row after the last tick's start: at most one search per pixel row, however many
    // lines share it.
    const auto pixelDeLinea = [&](qint64 linea) {
        return int(std::min<qint64>(linea * alto / lineas, alto - altoTrazo));
    };
    const auto lineaDePixel = [&](qint64 pixel) {
        return int((pixel * lineas + alto - 1) / alto);
    };
    for (const Marca tipo : {Marca::Sobrante, Marca::Larga}) {
        int pixel = 0;
        while (pixel < alto) {
            const int linea = marcas.primeraDesde(tipo, lineaDePixel(pixel));
            if (linea < 0)
                break;
            const int desde = pixelDeLinea(linea);
            if (!trazos.empty() && trazos.back().marca == tipo &&
                desde <= trazos.back().desde + trazos.back().alto)
                trazos.back().alto = std::max(trazos.back().alto, desde + altoTrazo - trazos.back().desde);
            else
                trazos.push_back({tipo, desde, altoTrazo});
            pixel = std::max(pixel, desde) + 1;
        }
    }
    return trazos;
}

MarcasBarra::MarcasBarra(QScrollBar* barra, const MarcasLineas& marcas)
    : QWidget(barra), barra_(barra), marcas_(marcas)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    barra_->installEventFilter(this);
    Ubicar();
    show();
}

bool MarcasBarra::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == barra_ && (evento->type() == QEvent::Resize || evento->type() == QEvent::StyleChange))
        Ubicar();
    return false;
}

void MarcasBarra::Ubicar()
{
    // The groove as the bar's style lays it out, between the arrows.
    QStyleOptionSlider opcion;
    opcion.initFrom(barra_);
    opcion.orientation = barra_->orientation();
    opcion.minimum = barra_->minimum();
    opcion.maximum = barra_->maximum();
    opcion.sliderPosition = barra_->sliderPosition();
    opcion.sliderValue = barra_->value();
    opcion.singleStep = barra_->singleStep();
    opcion.pageStep = barra_->pageStep();
    opcion.upsideDown = barra_->invertedAppearance();
    if (opcion.orientation == Qt::Horizontal)
        opcion.state |= QStyle::State_Horizontal;
    setGeometry(
        barra_->style()->subControlRect(QStyle::CC_ScrollBar, &opcion, QStyle::SC_ScrollBarGroove, barra_));
}

void MarcasBarra::paintEvent(QPaintEvent*)
{
    const std::vector<Trazo> trazos = TrazosBarra(marcas_, height());
    if (trazos.empty())
        return;
    QPainter pintor(this);
    const int margen = std::max(1, width() / 5);
    for (const Trazo& trazo : trazos)
        pintor.fillRect(QRect(margen, trazo.desde, width() - 2 * margen, trazo.alto),
                        ColorTrazo(trazo.marca));
}
