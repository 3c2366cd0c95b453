// Underlining misspelled words: per-line checks, the idle scan and the restyling marks.
#include "resaltador.h"

#include <QTextBlock>
#include <QTextDocument>

#include "formato_documento.h"
#include "palabras.h"
#include "revisor.h"

namespace {

// A change over at least this many lines is checked while idle rather than at once.
constexpr int lineasInmediatas = 16;

// What a line's last check left, kept with the line so that edits move it along.
struct DatosRevision final : QTextBlockUserData
{
    quint32 generacion = 0;
    bool subrayada = false;
};

DatosRevision* Datos(const QTextBlock& bloque)
{
    return static_cast<DatosRevision*>(bloque.userData());
}

} // namespace

ResaltadorOrtografia::ResaltadorOrtografia(QTextDocument* documento, std::shared_ptr<Revisor> revisor,
                                           Visibles visibles)
    : QSyntaxHighlighter(static_cast<QObject*>(documento)), revisor_(std::move(revisor)),
      visibles_(std::move(visibles))
{
    subrayado_.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    subrayado_.setUnderlineColor(Qt::red);
    ocioso_.setInterval(0);
    connect(&ocioso_, &QTimer::timeout, this, &ResaltadorOrtografia::Tramo);
    tecleo_.setSingleShot(true);
    tecleo_.setInterval(msTrasTecla);
    connect(&tecleo_, &QTimer::timeout, this, &ResaltadorOrtografia::Programar);
    setDocument(documento);
    // Changes are routed through `AlCambiar`, which decides between checking now and checking while
    // idle; the base class's own pass would walk every line of a load at once. Should a later Qt
    // connect differently, its pass only marks lines unchecked (see `inmediato_`).
    disconnect(documento, &QTextDocument::contentsChange, this, nullptr);
    connect(documento, &QTextDocument::contentsChange, this, &ResaltadorOrtografia::AlCambiar);
    if (!documento->isEmpty()) {
        desde_ = 0;
        Programar();
    }
}

ResaltadorOrtografia::~ResaltadorOrtografia()
{
    // The base class clears every line's formats when it leaves a document that stays.
    const CambioDeFormato marca(document());
    setDocument(nullptr);
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

void ResaltadorOrtografia::Programar()
{
    if (trabajoPendiente() && !ocioso_.isActive() && !tecleo_.isActive())
        ocioso_.start();
}

void ResaltadorOrtografia::AlCambiar(int desde, int quitados, int agregados)
{
    if (SoloFormato(document()))
        return;
    QTextDocument* documento = document();
    QTextBlock primero = documento->findBlock(desde);
    if (!primero.isValid())
        return;
    QTextBlock ultimo = documento->findBlock(desde + agregados + (quitados > 0 ? 1 : 0));
    if (!ultimo.isValid())
        ultimo = documento->lastBlock();
    if (ultimo.blockNumber() - primero.blockNumber() < lineasInmediatas) {
        // Typing: the idle checking waits until it pauses, so that no slice delays the next key.
        ocioso_.stop();
        tecleo_.start();
        for (QTextBlock bloque = primero; bloque.isValid(); bloque = bloque.next()) {
            Revisar(bloque);
            if (bloque == ultimo)
                break;
        }
        return;
    }
    // The lines in between are new and unchecked; the two ends may hold older underlines.
    Revisar(primero);
    Revisar(ultimo);
    if (activo_) {
        desde_ = desde_ < 0 ? primero.blockNumber() : std::min(desde_, primero.blockNumber());
        Programar();
    }
}

bool ResaltadorOrtografia::HayErratas(const QString& texto) const
{
    for (const TramoPalabra& palabra : PalabrasRevisables(texto))
        if (!revisor_->Correcta(QStringView(texto).sliced(palabra.inicio, palabra.largo)))
            return true;
    return false;
}

void ResaltadorOrtografia::Revisar(QTextBlock bloque)
{
    // A line with nothing to underline that shows no underline keeps its formats as they are: the
    // base class would lay it out again (and give it a text layout for good) only to find it unchanged.
    DatosRevision* datos = Datos(bloque);
    if (!(datos && datos->subrayada) && (!activo_ || !revisor_->disponible() || !HayErratas(bloque.text()))) {
        if (!datos) {
            datos = new DatosRevision;
            bloque.setUserData(datos);
        }
        datos->generacion = activo_ && revisor_->disponible() ? generacion_ : 0;
        return;
    }
    const CambioDeFormato marca(document());
    const bool antes = std::exchange(inmediato_, true);
    rehighlightBlock(bloque);
    inmediato_ = antes;
}

bool ResaltadorOrtografia::Necesita(const QTextBlock& bloque) const
{
    const DatosRevision* datos = Datos(bloque);
    if (activo_ && (!datos || datos->generacion != generacion_))
        return true;
    if (barrido_ < 0 || !datos || !datos->subrayada)
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
    QTextDocument* documento = document();
    if (!documento) {
        ocioso_.stop();
        return;
    }
    // The lines on screen first.
    if (visibles_) {
        const auto [primera, ultima] = visibles_();
        for (QTextBlock bloque = documento->findBlockByNumber(primera);
             bloque.isValid() && bloque.blockNumber() <= ultima; bloque = bloque.next())
            if (Necesita(bloque))
                Revisar(bloque);
    }
    // Then the scans, each from where it stopped; the clock is read every few lines only.
    const auto barrer = [&](int& posicion, auto necesita) {
        if (posicion < 0)
            return;
        QTextBlock bloque = documento->findBlockByNumber(posicion);
        int vistos = 0;
        while (bloque.isValid()) {
            if (necesita(bloque))
                Revisar(bloque);
            bloque = bloque.next();
            if (++vistos % 64 == 0 && reloj.nsecsElapsed() >= nsPorTramo)
                break;
        }
        posicion = bloque.isValid() ? bloque.blockNumber() : -1;
    };
    barrer(desde_, [this](const QTextBlock& b) { return Necesita(b); });
    if (reloj.nsecsElapsed() < nsPorTramo)
        barrer(barrido_, [this](const QTextBlock& b) { return Necesita(b); });
    if (barrido_ < 0)
        aceptadas_.clear();
    if (!trabajoPendiente()) {
        ocioso_.stop();
        Q_EMIT revisionTerminada();
    }
}

void ResaltadorOrtografia::highlightBlock(const QString& texto)
{
    auto* datos = static_cast<DatosRevision*>(currentBlockUserData());
    if (!inmediato_ || !activo_ || !revisor_->disponible()) {
        // No underlines; the line is checked later (or never, while checking is off).
        if (datos) {
            datos->generacion = 0;
            datos->subrayada = false;
        }
        if (!inmediato_ && activo_) {
            desde_ =
                desde_ < 0 ? currentBlock().blockNumber() : std::min(desde_, currentBlock().blockNumber());
            Programar();
        }
        return;
    }
    bool subrayada = false;
    for (const TramoPalabra& palabra : PalabrasRevisables(texto)) {
        if (!revisor_->Correcta(QStringView(texto).sliced(palabra.inicio, palabra.largo))) {
            setFormat(palabra.inicio, palabra.largo, subrayado_);
            subrayada = true;
        }
    }
    if (!datos) {
        datos = new DatosRevision;
        setCurrentBlockUserData(datos);
    }
    datos->generacion = generacion_;
    datos->subrayada = subrayada;
}
