// The folder's search, its status and its replacements, run on a thread of their own over the index the
// translation memory keeps of the folder's lines: the window asks and gets the answer as a signal. A
// newer search drops an older one, even one under way.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include <QObject>
#include <QSet>
#include <QString>

#include "busqueda.h"
#include "estado.h"
#include "reemplazo.h"

class LectorCarpeta;

class ConsultasCarpeta final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConsultasCarpeta)
public:
    // `carpetaCache`: the user's cache folder, where the memory keeps its databases.
    explicit ConsultasCarpeta(const QString& carpetaCache, QObject* padre = nullptr);
    // Finishes the task under way, drops the rest and stops the thread.
    ~ConsultasCarpeta() override;

    // The script folder asked about from now on.
    void Abrir(const QString& carpeta);
    const QString& carpeta() const { return carpeta_; }

    // Rows kept by a search; the count covers every match.
    static constexpr qsizetype maximoFilas = 1000;
    quint64 Buscar(const OpcionesBusqueda& opciones);
    quint64 CalcularEstado(const OpcionesEstado& opciones, const QSet<QString>& conBorrador);
    // The figures of a script just saved (CalcularFiguras), from its original's lines and the text written,
    // its lines joined by '\n'; they come through `guardadoCalculado`, unless another folder is asked
    // about by then.
    void CalcularGuardado(const QString& nombre, const QStringList& original, const QString& traduccion,
                          const OpcionesEstado& opciones);
    // Looks for the translations with a match and plans the replacement (PlanearReemplazo).
    quint64 Planear(const ContextoReemplazo& contexto, const OpcionesBusqueda& opciones,
                    const QString& reemplazo);
    void Ejecutar(const PlanReemplazo& plan);
    void Deshacer(const HechoReemplazo& hecho);

    // Waits until every task asked for is done; for tests and measurements.
    void Esperar();

Q_SIGNALS:
    void encontrado(const ResultadoBusqueda& resultado);
    void estadoCalculado(quint64 numero, const QList<FigurasScript>& figuras);
    void guardadoCalculado(const FigurasScript& figuras);
    void planeado(quint64 numero, const PlanReemplazo& plan);
    void ejecutado(const HechoReemplazo& hecho);
    void deshecho(const HechoDeshacer& hecho);
    // The folder's index cannot be read: why, for the translator.
    void noDisponible(const QString& motivo);

private:
    using Tarea = std::function<void(LectorCarpeta*)>;
    void Encolar(Tarea tarea);
    void Trabajar();
    LectorCarpeta* Lector(const QString& carpeta);
    // Delivers on the window's thread.
    template <typename F> void Entregar(F f);

    const QString carpetaCache_;
    QString carpeta_;
    quint64 ultimoNumero_ = 0;
    std::atomic<quint64> ultimaBusqueda_ = 0;
    std::atomic<quint64> ultimoEstado_ = 0;

    // The thread's own: the index of the folder of the task under way.
    std::unique_ptr<LectorCarpeta> lector_;

    std::mutex mutex_;
    std::condition_variable hayTrabajo_;
    std::condition_variable sinTrabajo_;
    std::deque<std::pair<QString, Tarea>> cola_; // with the folder asked about
    bool ocupado_ = false;
    bool parar_ = false;
    std::thread hilo_;
};
