// The first idle spelling check, for comparison only.
#include "ortografia_referencia.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>

#include "formato_documento.h"
#include "palabras.h"
#include "revisor.h"

namespace {

constexpr qint64 nsPorTramo = 8'000'000;

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

ResaltadorReferencia::ResaltadorReferencia(QTextDocument* documento, std::shared_ptr<Revisor> revisor,
                                           Visibles visibles)
    : QSyntaxHighlighter(static_cast<QObject*>(documento)), revisor_(std::move(revisor)),
      visibles_(std::move(visibles))
{
    subrayado_.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    subrayado_.setUnderlineColor(Qt::red);
    ocioso_.setInterval(0);
    connect(&ocioso_, &QTimer::timeout, this, &ResaltadorReferencia::Tramo);
    setDocument(documento);
    disconnect(documento, &QTextDocument::contentsChange, this, nullptr);
    desde_ = 0;
    ocioso_.start();
}

ResaltadorReferencia::~ResaltadorReferencia()
{
    const CambioDeFormato marca(document());
    setDocument(nullptr);
}

bool ResaltadorReferencia::HayErratas(const QString& texto) const
{
    for (const TramoPalabra& palabra : PalabrasRevisables(texto))
        if (!revisor_->Correcta(QStringView(texto).sliced(palabra.inicio, palabra.largo)))
            return true;
    return false;
}

void ResaltadorReferencia::Revisar(QTextBlock bloque)
{
    DatosRevision* datos = Datos(bloque);
    if (!(datos && datos->subrayada) && !HayErratas(bloque.text())) {
        if (!datos) {
            datos = new DatosRevision;
            bloque.setUserData(datos);
        }
        datos->generacion = generacion_;
        return;
    }
    const CambioDeFormato marca(document());
    const bool antes = std::exchange(inmediato_, true);
    rehighlightBlock(bloque);
    inmediato_ = antes;
}

bool ResaltadorReferencia::Necesita(const QTextBlock& bloque) const
{
    const DatosRevision* datos = Datos(bloque);
    return !datos || datos->generacion != generacion_;
}

void ResaltadorReferencia::Tramo()
{
    QElapsedTimer reloj;
    reloj.start();
    QTextDocument* documento = document();
    const auto [primera, ultima] = visibles_();
    for (QTextBlock bloque = documento->findBlockByNumber(primera);
         bloque.isValid() && bloque.blockNumber() <= ultima; bloque = bloque.next())
        if (Necesita(bloque))
            Revisar(bloque);
    if (desde_ >= 0) {
        QTextBlock bloque = documento->findBlockByNumber(desde_);
        int vistos = 0;
        while (bloque.isValid()) {
            if (Necesita(bloque))
                Revisar(bloque);
            bloque = bloque.next();
            if (++vistos % 64 == 0 && reloj.nsecsElapsed() >= nsPorTramo)
                break;
        }
        desde_ = bloque.isValid() ? bloque.blockNumber() : -1;
    }
    if (!trabajoPendiente())
        ocioso_.stop();
}

void ResaltadorReferencia::highlightBlock(const QString& texto)
{
    auto* datos = static_cast<DatosRevision*>(currentBlockUserData());
    if (!inmediato_) {
        if (datos) {
            datos->generacion = 0;
            datos->subrayada = false;
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
