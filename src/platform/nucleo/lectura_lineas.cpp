// The worker of a background read: read, decode, hand over in slices.
#include "lectura_lineas.h"

#include <limits>

#include <QAbstractEventDispatcher>

#include "proceso.h"

namespace {

// Below the window's thread: when more threads want the processors than there are, the window, which
// empties the previous pair and fills the box meanwhile, goes first.
constexpr int prioridadHilo = 10;

// How many slices may wait for the window when the read is bounded: the worker never runs far ahead of
// what the window has taken, so that a long file is not held twice over in slices.
constexpr size_t tramosEnEsperaAcotado = 8;
// A slice holds this many lines, or fewer when they are long.
constexpr qsizetype lineasPorTramo = 2048;
constexpr qsizetype caracteresPorTramo = 256 * 1024;

} // namespace

LecturaLineas::LecturaLineas(QString ruta, SistemaArchivos& sistema, std::optional<Codificacion> eleccion,
                             Texto texto, Adelanto adelanto, qint64 maximo)
    : despertar_(QAbstractEventDispatcher::instance()),
      tramosEnEspera_(adelanto == Adelanto::Acotado ? tramosEnEsperaAcotado
                                                    : std::numeric_limits<size_t>::max()),
      trabajador_([this, ruta = std::move(ruta), &sistema, eleccion, texto, maximo](std::stop_token parar) {
          Trabajar(parar, ruta, sistema, eleccion, texto, maximo);
      })
{
}

LecturaLineas::~LecturaLineas()
{
    trabajador_.request_stop();
    hayLugar_.notify_all();
}

void LecturaLineas::Trabajar(std::stop_token parar, QString ruta, SistemaArchivos& sistema,
                             std::optional<Codificacion> eleccion, Texto texto, qint64 maximo)
{
    PriorizarHilo(prioridadHilo);
    try {
        HuellaArchivo huella;
        QByteArray datos = LeerArchivo(ruta, sistema, maximo, &huella, parar);
        // A file holds at least as many bytes as its text has characters, but for UTF-16: the text grows
        // in place, and is never copied to grow while it stays in Latin-1.
        TextoCompacto entero;
        if (texto == Texto::Entero)
            entero.Reservar(datos.size());
        LectorLineas lector(std::move(datos), eleccion);
        {
            const std::lock_guard bloqueo(cerrojo_);
            formato_ = lector.formato();
            huella_ = huella;
        }
        QStringList tramo;
        qsizetype caracteres = 0;
        bool primera = true;
        while (!lector.fin() && !parar.stop_requested()) {
            tramo.append(lector.siguiente());
            caracteres += tramo.constLast().size();
            if (texto == Texto::Entero) {
                if (!std::exchange(primera, false))
                    entero.Anadir(u"\n");
                entero.Anadir(tramo.constLast());
            }
            if (tramo.size() >= lineasPorTramo || caracteres >= caracteresPorTramo) {
                Entregar(parar, std::exchange(tramo, {}));
                caracteres = 0;
            }
        }
        if (!tramo.isEmpty())
            Entregar(parar, std::move(tramo));
        const std::lock_guard bloqueo(cerrojo_);
        texto_ = std::move(entero);
    } catch (...) {
        // Raised on the window's thread, where a load's errors are handled.
        const std::lock_guard bloqueo(cerrojo_);
        error_ = std::current_exception();
    }
    {
        const std::lock_guard bloqueo(cerrojo_);
        fin_ = true;
    }
    Avisar();
}

void LecturaLineas::Entregar(std::stop_token parar, QStringList tramo)
{
    {
        std::unique_lock bloqueo(cerrojo_);
        hayLugar_.wait(bloqueo, parar, [this] { return tramos_.size() < tramosEnEspera_; });
        if (parar.stop_requested())
            return;
        tramos_.push_back(std::move(tramo));
    }
    Avisar();
}

TextoCompacto LecturaLineas::texto()
{
    const std::lock_guard bloqueo(cerrojo_);
    return std::exchange(texto_, {});
}

void LecturaLineas::Avisar()
{
    if (despertar_)
        despertar_->wakeUp();
}

std::optional<QStringList> LecturaLineas::Tomar()
{
    std::optional<QStringList> tramo;
    {
        const std::lock_guard bloqueo(cerrojo_);
        if (tramos_.empty())
            return std::nullopt;
        tramo = std::move(tramos_.front());
        tramos_.pop_front();
    }
    hayLugar_.notify_one();
    return tramo;
}

bool LecturaLineas::leida()
{
    {
        const std::lock_guard bloqueo(cerrojo_);
        if (!fin_)
            return false;
    }
    if (trabajador_.joinable())
        trabajador_.join();
    return true;
}

bool LecturaLineas::terminada()
{
    const std::lock_guard bloqueo(cerrojo_);
    if (!tramos_.empty() || !fin_)
        return false;
    if (error_)
        std::rethrow_exception(error_);
    return true;
}

FormatoTexto LecturaLineas::formato() const
{
    const std::lock_guard bloqueo(cerrojo_);
    return formato_;
}

HuellaArchivo LecturaLineas::huella() const
{
    const std::lock_guard bloqueo(cerrojo_);
    return huella_;
}
