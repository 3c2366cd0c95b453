// The translation memory's front: the requests queue up for the memory's thread, which answers them
// before it goes on indexing, and the answers come back to the window's thread as signals.
#include "memoria_traduccion.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "carpetas_memoria.h"
#include "proceso.h"
#include "trabajador.h"

namespace {

// The memory thread's nice values: on a busy machine a keystroke goes first, a lookup or a save next,
// and indexing, which may take a minute, after everything else.
constexpr int prioridadPedidos = 10;
constexpr int prioridadIndexado = 19;

// A folder as the memory compares it: its canonical path when it exists.
QString Identidad(const QString& carpeta)
{
    const QString canonica = QFileInfo(carpeta).canonicalFilePath();
    return canonica.isEmpty() ? QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath()) : canonica;
}

} // namespace

MemoriaTraduccion::MemoriaTraduccion(const QString& carpetaCache, SistemaArchivos& sistema, QObject* padre)
    : QObject(padre), carpetaBases_(BaseMemoria::CarpetaBases(carpetaCache)), sistema_(sistema),
      hilo_([this] { Trabajar(); })
{
}

MemoriaTraduccion::~MemoriaTraduccion()
{
    {
        const std::lock_guard cerrojo(mutex_);
        parar_ = true;
    }
    hayTrabajo_.notify_all();
    hilo_.join();
}

QString MemoriaTraduccion::CarpetaCache()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

void MemoriaTraduccion::Abrir(const QString& carpeta, QuitarCodigos quitarCodigos)
{
    carpeta_ = carpeta.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath());
    preparando_ = !carpeta_.isEmpty();
    Pedir(PedidoAbrir{carpeta_, CarpetasAnadidas(), std::move(quitarCodigos)});
}

void MemoriaTraduccion::Guardado(const QString& script, const QString& texto)
{
    if (!carpeta_.isEmpty())
        Pedir(PedidoGuardado{script, texto});
}

quint64 MemoriaTraduccion::Consultar(const QString& script, qsizetype linea, const QString& original)
{
    ultimaConsulta_ = ++ultimoNumero_;
    Pedir(PedidoConsulta{ultimaConsulta_, script, linea, original});
    return ultimaConsulta_;
}

quint64 MemoriaTraduccion::Rellenar(const QStringList& originales, const QStringList& lineas)
{
    ultimoRelleno_ = ++ultimoNumero_;
    Pedir(PedidoRelleno{ultimoRelleno_, originales, lineas});
    return ultimoRelleno_;
}

QStringList MemoriaTraduccion::CarpetasAnadidas() const
{
    QStringList anadidas;
    if (!carpeta_.isEmpty()) {
        for (const QString& valor : LeerCarpetasMemoria(carpeta_, sistema_))
            anadidas.append(RutaAnadida(carpeta_, valor));
    }
    return anadidas;
}

bool MemoriaTraduccion::AnadirCarpeta(const QString& carpeta)
{
    if (carpeta_.isEmpty() || Identidad(carpeta) == Identidad(carpeta_))
        return false;
    // The kept values stay as they are written, relative ones too.
    QStringList valores = LeerCarpetasMemoria(carpeta_, sistema_);
    for (const QString& valor : valores) {
        if (Identidad(RutaAnadida(carpeta_, valor)) == Identidad(carpeta))
            return false;
    }
    valores.append(QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath()));
    EscribirCarpetasMemoria(carpeta_, valores, sistema_);
    preparando_ = true;
    Pedir(PedidoAnadidas{CarpetasAnadidas()});
    return true;
}

bool MemoriaTraduccion::QuitarCarpeta(const QString& carpeta)
{
    if (carpeta_.isEmpty())
        return false;
    QStringList valores = LeerCarpetasMemoria(carpeta_, sistema_);
    const auto quitadas = valores.removeIf(
        [&](const QString& valor) { return Identidad(RutaAnadida(carpeta_, valor)) == Identidad(carpeta); });
    if (quitadas == 0)
        return false;
    EscribirCarpetasMemoria(carpeta_, valores, sistema_);
    Pedir(PedidoAnadidas{CarpetasAnadidas()});
    return true;
}

void MemoriaTraduccion::pausar(bool pausada)
{
    {
        const std::lock_guard cerrojo(mutex_);
        finPausa_ = std::chrono::steady_clock::now() + maximoPausa;
        // Indexing may go on: until the thread has looked again, it counts as busy.
        if (std::exchange(pausada_, pausada) && !pausada)
            ocupado_ = revisar_ = true;
    }
    hayTrabajo_.notify_all();
}

bool MemoriaTraduccion::Pausada() const
{
    return pausada_ && std::chrono::steady_clock::now() < finPausa_;
}

void MemoriaTraduccion::Ceder(const std::function<void()>& soltar)
{
    std::unique_lock cerrojo(mutex_);
    if (parar_ || !Pausada())
        return;
    cerrojo.unlock();
    soltar();
    cerrojo.lock();
    hayTrabajo_.wait_until(cerrojo, finPausa_, [this] { return parar_ || !Pausada(); });
}

void MemoriaTraduccion::Esperar()
{
    std::unique_lock cerrojo(mutex_);
    sinTrabajo_.wait(cerrojo, [this] { return cola_.empty() && !ocupado_; });
}

// Queues a request; a newer lookup or fill replaces one still waiting, and a folder change drops both.
void MemoriaTraduccion::Pedir(Pedido pedido)
{
    {
        const std::lock_guard cerrojo(mutex_);
        const bool abre = std::holds_alternative<PedidoAbrir>(pedido);
        std::erase_if(cola_, [&](const Pedido& esperando) {
            if (std::holds_alternative<PedidoConsulta>(esperando))
                return abre || std::holds_alternative<PedidoConsulta>(pedido);
            if (std::holds_alternative<PedidoRelleno>(esperando))
                return abre || std::holds_alternative<PedidoRelleno>(pedido);
            return false;
        });
        cola_.push_back(std::move(pedido));
        ocupado_ = true;
    }
    hayTrabajo_.notify_one();
}

void MemoriaTraduccion::AvisarProgreso(int hechos, int total)
{
    preparando_ = hechos < total;
    Q_EMIT progreso(hechos, total);
    if (!preparando_)
        Q_EMIT preparada();
}

void MemoriaTraduccion::Trabajar()
{
    int prioridad = prioridadPedidos;
    PriorizarHilo(prioridad);
    TrabajadorMemoria trabajador(
        carpetaBases_, sistema_,
        {[this](int hechos, int total) {
             QMetaObject::invokeMethod(
                 this, [this, hechos, total] { AvisarProgreso(hechos, total); }, Qt::QueuedConnection);
         },
         [this](const QString& motivo) {
             QMetaObject::invokeMethod(
                 this, [this, motivo] { Q_EMIT noDisponible(motivo); }, Qt::QueuedConnection);
         },
         [this](const std::function<void()>& soltar) {
             Ceder(soltar);
         }});
    const auto atender = [&](Pedido& pedido) {
        if (auto* p = std::get_if<PedidoAbrir>(&pedido)) {
            trabajador.Abrir(p->carpeta, p->anadidas, std::move(p->quitarCodigos));
        } else if (auto* p = std::get_if<PedidoAnadidas>(&pedido)) {
            trabajador.CambiarAnadidas(p->anadidas);
        } else if (auto* p = std::get_if<PedidoGuardado>(&pedido)) {
            trabajador.Guardar(p->script, p->texto.split(u'\n'));
        } else if (auto* p = std::get_if<PedidoConsulta>(&pedido)) {
            ResultadoConsulta resultado = trabajador.Consultar(p->script, p->linea, p->original);
            resultado.numero = p->numero;
            // Dropped on arrival when a newer lookup was asked for meanwhile.
            QMetaObject::invokeMethod(
                this,
                [this, resultado] {
                    if (resultado.numero == ultimaConsulta_)
                        Q_EMIT consultada(resultado);
                },
                Qt::QueuedConnection);
        } else if (auto* p = std::get_if<PedidoRelleno>(&pedido)) {
            ResultadoRelleno resultado = trabajador.Rellenar(p->originales, p->lineas);
            resultado.numero = p->numero;
            QMetaObject::invokeMethod(
                this,
                [this, resultado] {
                    if (resultado.numero == ultimoRelleno_)
                        Q_EMIT rellenada(resultado);
                },
                Qt::QueuedConnection);
        }
    };

    std::unique_lock cerrojo(mutex_);
    while (!parar_) {
        revisar_ = false;
        const bool pausada = Pausada();
        if (cola_.empty() && (!trabajador.Indexando() || pausada)) {
            // Idle: what was written is committed, so that another editor on the folder sees it.
            cerrojo.unlock();
            trabajador.Confirmar();
            cerrojo.lock();
            if (!cola_.empty() || parar_ || revisar_)
                continue;
            ocupado_ = false;
            sinTrabajo_.notify_all();
            const auto despierta = [this] {
                return parar_ || !cola_.empty() || revisar_;
            };
            if (pausada)
                hayTrabajo_.wait_until(cerrojo, finPausa_, despierta);
            else
                hayTrabajo_.wait(cerrojo, despierta);
            continue;
        }
        ocupado_ = true;
        std::optional<Pedido> pedido;
        if (!cola_.empty()) {
            pedido = std::move(cola_.front());
            cola_.pop_front();
        }
        cerrojo.unlock();
        // Requests first: a lookup never waits for more than the script being indexed.
        if (const int debida = pedido ? prioridadPedidos : prioridadIndexado; debida != prioridad)
            PriorizarHilo(prioridad = debida);
        if (pedido)
            atender(*pedido);
        else
            trabajador.IndexarUno();
        cerrojo.lock();
    }
}
