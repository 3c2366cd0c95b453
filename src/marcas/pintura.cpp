// Painting the marks: line backgrounds in the box and ticks over its scroll bar.
#include "pintura.h"

#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegion>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTextBlock>

namespace {

// Height of one tick, in pixels.
constexpr int altoTrazo = 3;

// `tinte` over `base`, as much as `parte` of it.
QColor Mezcla(const QColor& base, const QColor& tinte, double parte)
{
    const auto canal = [&](int b, int t) {
        return int(std::lround(b + (t - b) * parte));
    };
    return QColor(canal(base.red(), tinte.red()), canal(base.green(), tinte.green()),
                  canal(base.blue(), tinte.blue()));
}

// Calls `alTrazo(desde, alto)` for the ticks of the lines `primeraDesde` finds, merged where they touch.
// A line's tick starts at the pixel row of its relative height. Each search finds the first line from the
// pixel row after the last tick's start: at most one search per pixel row, however many lines share it.
template <typename PrimeraDesde, typename AlTrazo>
void RecorrerTrazos(qint64 lineas, int alto, PrimeraDesde primeraDesde, AlTrazo alTrazo)
{
    if (alto < altoTrazo || lineas == 0)
        return;
    const auto pixelDeLinea = [&](qint64 linea) {
        return int(std::min<qint64>(linea * alto / lineas, alto - altoTrazo));
    };
    const auto lineaDePixel = [&](qint64 pixel) {
        return int((pixel * lineas + alto - 1) / alto);
    };
    int desdeActual = -1;
    int altoActual = 0;
    int pixel = 0;
    while (pixel < alto) {
        const int linea = primeraDesde(lineaDePixel(pixel));
        if (linea < 0)
            break;
        const int desde = pixelDeLinea(linea);
        if (desdeActual >= 0 && desde <= desdeActual + altoActual) {
            altoActual = std::max(altoActual, desde + altoTrazo - desdeActual);
        } else {
            if (desdeActual >= 0)
                alTrazo(desdeActual, altoActual);
            desdeActual = desde;
            altoActual = altoTrazo;
        }
        pixel = std::max(pixel, desde) + 1;
    }
    if (desdeActual >= 0)
        alTrazo(desdeActual, altoActual);
}

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
    switch (marca) {
    case Marca::Larga:
        return Mezcla(base, QColor(255, 0, 0), 0.2);
    case Marca::Sobrante:
        return Mezcla(base, QColor(255, 150, 0), 0.3);
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

QColor ColorFondoAviso(const QColor& base)
{
    // On white: light violet (230, 214, 255).
    return Mezcla(base, QColor(128, 48, 255), 0.2);
}

QColor ColorTrazoAviso()
{
    return {142, 68, 173};
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

void FondosCaja::agregarCapa(CapaFondos capa)
{
    capas_.push_back(std::move(capa));
    if (caja_)
        caja_->viewport()->update();
}

QColor FondosCaja::Fondo(int linea, const QColor& base) const
{
    const Marca marca = marcas_.marca(linea);
    if (marca != Marca::Ninguna)
        return ColorFondo(marca, base);
    for (const CapaFondos& capa : capas_) {
        if (const QColor color = capa.color(linea, base); color.isValid())
            return color;
    }
    return {};
}

bool FondosCaja::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() != QEvent::Paint || !caja_ || objeto != caja_->viewport())
        return false;
    marcas_.vigilar();
    if (marcas_.cantidad() == 0 &&
        std::none_of(capas_.cbegin(), capas_.cend(), [](const CapaFondos& capa) { return capa.hayAlguno(); }))
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
        if (const QColor fondo = Fondo(bloque.blockNumber(), base); fondo.isValid())
            pintor.fillRect(QRect(0, linea.top(), vista->width(), linea.height()), fondo);
    }
    return false;
}

std::vector<Trazo> TrazosBarra(const MarcasLineas& marcas, int alto)
{
    std::vector<Trazo> trazos;
    if (marcas.cantidad() == 0)
        return trazos;
    for (const Marca tipo : {Marca::Sobrante, Marca::Larga})
        RecorrerTrazos(
            marcas.lineasTraduccion(), alto, [&](int linea) { return marcas.primeraDesde(tipo, linea); },
            [&](int desde, int altura) {
                trazos.push_back({tipo, desde, altura});
            });
    return trazos;
}

std::vector<TrazoCarril> TrazosLineas(int lineas, int alto, const std::function<int(int)>& primeraDesde,
                                      const QColor& color)
{
    std::vector<TrazoCarril> trazos;
    RecorrerTrazos(lineas, alto, primeraDesde, [&](int desde, int altura) {
        trazos.push_back({color, desde, altura});
    });
    return trazos;
}

MarcasBarra::MarcasBarra(QScrollBar* barra, const MarcasLineas& marcas) : QWidget(barra), barra_(barra)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    agregarCarril([&marcas](int alto) {
        std::vector<TrazoCarril> trazos;
        for (const Trazo& trazo : TrazosBarra(marcas, alto))
            trazos.push_back({ColorTrazo(trazo.marca), trazo.desde, trazo.alto});
        return trazos;
    });
    barra_->installEventFilter(this);
    // The handle moves with the bar's value; the ticks leave its place free.
    connect(barra_, &QAbstractSlider::valueChanged, this, [this] { update(); });
    connect(barra_, &QAbstractSlider::rangeChanged, this, [this] { update(); });
    Ubicar();
    show();
}

void MarcasBarra::agregarCarril(CarrilBarra carril)
{
    carriles_.push_back(std::move(carril));
    update();
}

bool MarcasBarra::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == barra_ && (evento->type() == QEvent::Resize || evento->type() == QEvent::StyleChange))
        Ubicar();
    return false;
}

QStyleOptionSlider MarcasBarra::Opcion() const
{
    QStyleOptionSlider opcion;
    opcion.initFrom(barra_);
    opcion.subControls = QStyle::SC_All;
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
    return opcion;
}

void MarcasBarra::Ubicar()
{
    // The groove as the bar's style lays it out, between the arrows.
    const QStyleOptionSlider opcion = Opcion();
    setGeometry(
        barra_->style()->subControlRect(QStyle::CC_ScrollBar, &opcion, QStyle::SC_ScrollBarGroove, barra_));
}

QRect MarcasBarra::asa() const
{
    if (barra_->maximum() <= barra_->minimum())
        return {};
    const QStyleOptionSlider opcion = Opcion();
    return barra_->style()
        ->subControlRect(QStyle::CC_ScrollBar, &opcion, QStyle::SC_ScrollBarSlider, barra_)
        .translated(-pos());
}

void MarcasBarra::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    // Everything but the handle: a bar full of ticks still shows where the view is.
    QRegion zona(rect());
    if (const QRect mano = asa(); !mano.isEmpty())
        zona -= mano;
    pintor.setClipRegion(zona);
    // One lane fills the middle three fifths, as it always has; more share the width left of a margin.
    const int carriles = int(carriles_.size());
    const int margen = std::max(1, width() / (carriles == 1 ? 5 : 8));
    const int ancho = std::max(1, (width() - 2 * margen) / std::max(carriles, 1));
    for (int i = 0; i < carriles; ++i) {
        const int x = margen + i * ancho;
        // Lanes side by side keep a pixel between them.
        const int anchoCarril = std::max(1, ancho - (carriles > 1 ? 1 : 0));
        for (const TrazoCarril& trazo : carriles_[std::size_t(i)](height()))
            pintor.fillRect(QRect(x, trazo.desde, anchoCarril, trazo.alto), trazo.color);
    }
}
