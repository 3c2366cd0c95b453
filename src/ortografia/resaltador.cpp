// Underlining misspelled words: per-line checks, the idle scan and the restyling marks.
#include "resaltador.h"

#include <limits>
#include <optional>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "formato_documento.h"
#include "palabras.h"
#include "revisor.h"

namespace {

// A change over at least this many lines is checked while idle rather than at once.
constexpr int lineasInmediatas = 16;

// What a line's last check left, kept in its block's user state so that edits move it along and a line
// costs no object of its own (a million of them also slowed down emptying the document). A line never
// checked keeps the document's -1.
struct DatosRevision
{
    bool revisada = false;
    quint32 generacion = 0;
    // The line holds misspelled words.
    bool subrayada = false;
    // Its underlines are in its layout. A line gets them once it is shown: a layout per line off screen
    // would cost hundreds of bytes a line and make emptying the document slow.
    bool dibujada = false;
};

// The state's bits: the generation below, then the two marks; never negative.
constexpr int bitSubrayada = 1 << 29;
constexpr int bitDibujada = 1 << 30;
constexpr quint32 mascaraGeneracion = bitSubrayada - 1;

DatosRevision Datos(const QTextBlock& bloque)
{
    const int estado = bloque.userState();
    if (estado < 0)
        return {};
    return {true, quint32(estado) & mascaraGeneracion, (estado & bitSubrayada) != 0,
            (estado & bitDibujada) != 0};
}

void PonerDatos(QTextBlock bloque, const DatosRevision& datos)
{
    bloque.setUserState(int(datos.generacion & mascaraGeneracion) | (datos.subrayada ? bitSubrayada : 0) |
                        (datos.dibujada ? bitDibujada : 0));
}

} // namespace

// The restyling of a pass over many lines, handed to the document as one change when the pass ends: its
// layout then only forgets the lines' layouts and lays out again those it shows, where a change per line
// would lay out every line at once, on screen or not. Opened at the first line that changes, so that a
// pass that changes nothing signals nothing.
class ResaltadorOrtografia::Restilo final
{
public:
    explicit Restilo(QTextDocument* documento) : documento_(documento) {}
    ~Restilo()
    {
        if (grupo_)
            grupo_->endEditBlock();
    }
    Restilo(const Restilo&) = delete;
    Restilo& operator=(const Restilo&) = delete;

    void Abrir()
    {
        if (grupo_)
            return;
        marca_.emplace(documento_);
        grupo_.emplace(documento_);
        grupo_->beginEditBlock();
    }

private:
    QTextDocument* documento_;
    std::optional<CambioDeFormato> marca_;
    std::optional<QTextCursor> grupo_;
};

ResaltadorOrtografia::ResaltadorOrtografia(QTextDocument* documento, std::shared_ptr<Revisor> revisor,
                                           Visibles visibles, QObject* padre)
    : QObject(padre), revisor_(std::move(revisor)), visibles_(std::move(visibles))
{
    subrayado_.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    subrayado_.setUnderlineColor(Qt::red);
    ocioso_.setInterval(0);
    connect(&ocioso_, &QTimer::timeout, this, &ResaltadorOrtografia::Tramo);
    tecleo_.setSingleShot(true);
    tecleo_.setInterval(msTrasTecla);
    connect(&tecleo_, &QTimer::timeout, this, &ResaltadorOrtografia::Programar);
    setDocumento(documento);
}

void ResaltadorOrtografia::setDocumento(QTextDocument* documento)
{
    disconnect(conexion_);
    documento_ = documento;
    conexion_ = connect(documento, &QTextDocument::contentsChange, this, &ResaltadorOrtografia::AlCambiar);
    barrido_ = -1;
    aceptadas_.clear();
    desde_ = activo_ && !documento->isEmpty() ? 0 : -1;
    if (!trabajoPendiente())
        ocioso_.stop();
    Programar();
}

void ResaltadorOrtografia::setActivo(bool activo)
{
    if (activo == activo_)
        return;
    activo_ = activo;
    ++generacion_;
    aceptadas_.clear();
    if (activo_) {
        barrido_ = -1;
        desde_ = 0;
    } else {
        desde_ = -1;
        barrido_ = 0;
    }
    Programar();
}

void ResaltadorOrtografia::RevisarDeNuevo()
{
    ++generacion_;
    if (activo_) {
        desde_ = 0;
        Programar();
    }
}

void ResaltadorOrtografia::Aceptada(const QString& palabra)
{
    if (!activo_ || palabra.isEmpty())
        return;
    aceptadas_.append(palabra);
    barrido_ = 0;
    Programar();
}

bool ResaltadorOrtografia::trabajoPendiente() const
{
    return desde_ >= 0 || barrido_ >= 0;
}

void ResaltadorOrtografia::pausar(bool pausado)
{
    pausado_ = pausado;
    if (pausado_)
        ocioso_.stop();
    else
        Programar();
}

void ResaltadorOrtografia::Programar()
{
    if (!pausado_ && trabajoPendiente() && !ocioso_.isActive() && !tecleo_.isActive())
        ocioso_.start();
}

void ResaltadorOrtografia::AlCambiar(int desde, int quitados, int agregados)
{
    if (SoloFormato(documento_))
        return;
    QTextDocument* documento = documento_;
    QTextBlock primero = documento->findBlock(desde);
    if (!primero.isValid())
        return;
    QTextBlock ultimo = documento->findBlock(desde + agregados + (quitados > 0 ? 1 : 0));
    if (!ultimo.isValid())
        ultimo = documento->lastBlock();
    // Typing, or a load delivering its slices: the idle checking waits until they pause, so that no
    // slice of it delays the next key or the rest of the load.
    ocioso_.stop();
    tecleo_.start();
    if (ultimo.blockNumber() - primero.blockNumber() < lineasInmediatas) {
        for (QTextBlock bloque = primero; bloque.isValid(); bloque = bloque.next()) {
            Revisar(bloque);
            if (bloque == ultimo)
                break;
        }
        return;
    }
    // The lines in between are new and unchecked; the two ends may hold older underlines.
    const auto [primera, ultima] = LineasVisibles();
    const auto visible = [&](const QTextBlock& bloque) {
        return bloque.blockNumber() >= primera && bloque.blockNumber() <= ultima;
    };
    Revisar(primero, nullptr, visible(primero));
    Revisar(ultimo, nullptr, visible(ultimo));
    if (activo_)
        desde_ = desde_ < 0 ? primero.blockNumber() : std::min(desde_, primero.blockNumber());
}

QList<QTextLayout::FormatRange> ResaltadorOrtografia::Erratas(const QString& texto) const
{
    QList<QTextLayout::FormatRange> erratas;
    for (const TramoPalabra& palabra : PalabrasRevisables(texto))
        if (!revisor_->Correcta(QStringView(texto).sliced(palabra.inicio, palabra.largo)))
            erratas.append({palabra.inicio, palabra.largo, subrayado_});
    return erratas;
}

void ResaltadorOrtografia::Revisar(QTextBlock bloque, Restilo* restilo, bool visible)
{
    DatosRevision datos = Datos(bloque);
    const bool revisa = activo_ && revisor_->disponible();
    datos.revisada = true;
    datos.generacion = revisa ? generacion_ : 0;
    const QList<QTextLayout::FormatRange> erratas =
        revisa ? Erratas(bloque.text()) : QList<QTextLayout::FormatRange>();
    datos.subrayada = !erratas.isEmpty();
    // A line off screen keeps its verdict alone until it is shown. A line whose underlines stay as they
    // are keeps its formats and its layout; a line that has none is not even given a text layout.
    const bool redibujar =
        datos.dibujada ? bloque.layout()->formats() != erratas : !erratas.isEmpty() && visible;
    if (redibujar) {
        if (restilo)
            restilo->Abrir();
        bloque.layout()->setFormats(erratas);
        datos.dibujada = !erratas.isEmpty();
    }
    PonerDatos(bloque, datos);
}

std::pair<int, int> ResaltadorOrtografia::LineasVisibles() const
{
    return visibles_ ? visibles_() : std::pair{0, std::numeric_limits<int>::max()};
}

bool ResaltadorOrtografia::PorDibujar(const QTextBlock& bloque)
{
    const DatosRevision datos = Datos(bloque);
    return datos.subrayada && !datos.dibujada;
}

void ResaltadorOrtografia::RevisarVisibles()
{
    if (!visibles_ || pausado_ || !documento_)
        return;
    Restilo restilo(documento_);
    const auto [primera, ultima] = visibles_();
    for (QTextBlock bloque = documento_->findBlockByNumber(primera);
         bloque.isValid() && bloque.blockNumber() <= ultima; bloque = bloque.next())
        if (Necesita(bloque) || PorDibujar(bloque))
            Revisar(bloque, &restilo, true);
}

bool ResaltadorOrtografia::Necesita(const QTextBlock& bloque) const
{
    const DatosRevision datos = Datos(bloque);
    if (activo_ && (!datos.revisada || datos.generacion != (generacion_ & mascaraGeneracion)))
        return true;
    if (barrido_ < 0 || !datos.subrayada)
        return false;
    if (!activo_)
        return true;
    const QString texto = bloque.text();
    for (const QString& palabra : aceptadas_)
        if (texto.contains(palabra, Qt::CaseInsensitive))
            return true;
    return false;
}

void ResaltadorOrtografia::Tramo()
{
    QElapsedTimer reloj;
    reloj.start();
    QTextDocument* documento = documento_;
    if (!documento) {
        ocioso_.stop();
        return;
    }
    // The lines on screen first.
    RevisarVisibles();
    // Then the scans, each from where it stopped; the clock is read every few lines only.
    const auto [primera, ultima] = LineasVisibles();
    const auto barrer = [&](int& posicion) {
        if (posicion < 0)
            return;
        Restilo restilo(documento);
        QTextBlock bloque = documento->findBlockByNumber(posicion);
        int numero = posicion;
        while (bloque.isValid()) {
            if (Necesita(bloque))
                Revisar(bloque, &restilo, numero >= primera && numero <= ultima);
            bloque = bloque.next();
            if (++numero % 64 == 0 && reloj.nsecsElapsed() >= nsPorTramo)
                break;
        }
        posicion = bloque.isValid() ? numero : -1;
    };
    barrer(desde_);
    if (reloj.nsecsElapsed() < nsPorTramo)
        barrer(barrido_);
    if (barrido_ < 0)
        aceptadas_.clear();
    if (!trabajoPendiente()) {
        ocioso_.stop();
        Q_EMIT revisionTerminada();
    }
}
