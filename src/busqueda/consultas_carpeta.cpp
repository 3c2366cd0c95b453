// The folder's queries on their own thread.
#include "consultas_carpeta.h"

#include <QFileInfo>

#include "lector_carpeta.h"
#include "proceso.h"
#include "sqlite.h"

namespace {

// The thread's nice value, as the drafts' writer and the reader of a load have.
constexpr int prioridadHilo = 10;

} // namespace

ConsultasCarpeta::ConsultasCarpeta(const QString& carpetaCache, QObject* padre)
    : QObject(padre), carpetaCache_(carpetaCache), hilo_([this] { Trabajar(); })
{
}

ConsultasCarpeta::~ConsultasCarpeta()
{
    {
        std::lock_guard bloqueo(mutex_);
        parar_ = true;
        cola_.clear();
    }
    // A search under way sees that it is no longer the newest.
    ++ultimaBusqueda_;
    ++ultimoEstado_;
    hayTrabajo_.notify_all();
    hilo_.join();
}

void ConsultasCarpeta::Abrir(const QString& carpeta)
{
    carpeta_ = carpeta;
    ++ultimaBusqueda_;
    ++ultimoEstado_;
}

template <typename F> void ConsultasCarpeta::Entregar(F f)
{
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

quint64 ConsultasCarpeta::Buscar(const OpcionesBusqueda& opciones)
{
    const quint64 numero = ++ultimoNumero_;
    ultimaBusqueda_ = numero;
    Encolar([this, numero, opciones](LectorCarpeta* lector) {
        const auto cancelada = [this, numero] {
            return ultimaBusqueda_ != numero;
        };
        if (cancelada())
            return;
        std::optional<ResultadoBusqueda> resultado =
            lector ? BuscarEnCarpeta(*lector, opciones, maximoFilas, cancelada) : ResultadoBusqueda{};
        if (!resultado)
            return;
        resultado->numero = numero;
        resultado->opciones = opciones;
        if (!lector)
            resultado->error = QStringLiteral("La carpeta aún no está indexada.");
        Entregar([this, r = std::move(*resultado)] {
            if (r.numero == ultimaBusqueda_)
                Q_EMIT encontrado(r);
        });
    });
    return numero;
}

quint64 ConsultasCarpeta::CalcularEstado(const OpcionesEstado& opciones, const QSet<QString>& conBorrador)
{
    const quint64 numero = ++ultimoNumero_;
    ultimoEstado_ = numero;
    Encolar([this, numero, opciones, conBorrador](LectorCarpeta* lector) {
        const auto cancelado = [this, numero] {
            return ultimoEstado_ != numero;
        };
        if (cancelado() || !lector)
            return;
        auto figuras = ::CalcularEstado(*lector, opciones, conBorrador, cancelado);
        if (!figuras)
            return;
        Entregar([this, numero, f = std::move(*figuras)] {
            if (numero == ultimoEstado_)
                Q_EMIT estadoCalculado(numero, f);
        });
    });
    return numero;
}

void ConsultasCarpeta::CalcularGuardado(const QString& nombre, const QStringList& original,
                                        const QString& traduccion, const OpcionesEstado& opciones)
{
    Encolar([this, carpeta = carpeta_, nombre, original, traduccion, opciones](LectorCarpeta*) {
        Entregar([this, carpeta, f = CalcularFiguras(nombre, original, traduccion, opciones)] {
            if (carpeta == carpeta_)
                Q_EMIT guardadoCalculado(f);
        });
    });
}

quint64 ConsultasCarpeta::Planear(const ContextoReemplazo& contexto, const OpcionesBusqueda& opciones,
                                  const QString& reemplazo)
{
    const quint64 numero = ++ultimoNumero_;
    Encolar([this, numero, contexto, opciones, reemplazo](LectorCarpeta* lector) {
        OpcionesBusqueda enTraducciones = opciones;
        enTraducciones.ambito = Ambito::Traducciones;
        const auto resultado = lector ? BuscarEnCarpeta(*lector, enTraducciones, 0, {}) : std::nullopt;
        PlanReemplazo plan = PlanearReemplazo(contexto, opciones, reemplazo,
                                              resultado ? resultado->conTraduccion : QStringList());
        Entregar([this, numero, p = std::move(plan)] { Q_EMIT planeado(numero, p); });
    });
    return numero;
}

void ConsultasCarpeta::Ejecutar(const PlanReemplazo& plan)
{
    Encolar([this, plan](LectorCarpeta*) {
        Entregar([this, h = EjecutarReemplazo(plan)] { Q_EMIT ejecutado(h); });
    });
}

void ConsultasCarpeta::Deshacer(const HechoReemplazo& hecho)
{
    Encolar([this, hecho](LectorCarpeta*) {
        Entregar([this, d = DeshacerReemplazo(hecho)] { Q_EMIT deshecho(d); });
    });
}

void ConsultasCarpeta::Esperar()
{
    std::unique_lock bloqueo(mutex_);
    sinTrabajo_.wait(bloqueo, [this] { return cola_.empty() && !ocupado_; });
}

void ConsultasCarpeta::Encolar(Tarea tarea)
{
    {
        std::lock_guard bloqueo(mutex_);
        cola_.emplace_back(carpeta_, std::move(tarea));
    }
    hayTrabajo_.notify_one();
}

LectorCarpeta* ConsultasCarpeta::Lector(const QString& carpeta)
{
    // Opened afresh for each task: the memory may have made the database since, or started it again.
    lector_.reset();
    if (carpeta.isEmpty())
        return nullptr;
    lector_ = LectorCarpeta::Abrir(carpetaCache_, carpeta);
    return lector_.get();
}

void ConsultasCarpeta::Trabajar()
{
    // A folder's status or search waits for the window whenever both want the processors.
    PriorizarHilo(prioridadHilo);
    for (;;) {
        std::pair<QString, Tarea> tarea;
        {
            std::unique_lock bloqueo(mutex_);
            ocupado_ = false;
            sinTrabajo_.notify_all();
            hayTrabajo_.wait(bloqueo, [this] { return parar_ || !cola_.empty(); });
            if (parar_)
                return;
            tarea = std::move(cola_.front());
            cola_.pop_front();
            ocupado_ = true;
        }
        try {
            tarea.second(Lector(tarea.first));
        } catch (const ErrorSqlite& error) {
            // The next task opens the database again.
            lector_.reset();
            const QString motivo = error.motivo(tarea.first);
            Entregar([this, motivo] { Q_EMIT noDisponible(motivo); });
        }
    }
}
