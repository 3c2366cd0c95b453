// The translation memory of the script folder the translator works in: every line of its scripts beside
// the same line of its translation, and of the folders it adds, built and kept up to date on a thread of
// its own so that the window never waits for it. The window opens it on each folder change, tells it of
// every save, and asks it for the matches of the caret's line and for filling repetitions; answers come
// back as signals, each with the number its request was given, and a newer request of the same kind
// drops an older one.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <variant>

#include <QObject>
#include <QString>
#include <QStringList>

#include "resultados.h"
#include "sistema_archivos.h"

class MemoriaTraduccion final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemoriaTraduccion)
public:
    // Turns a line into the text whose similarity counts, without its codes; called on the memory's
    // thread, so it must hold what it needs (a copy of the folder's code pattern). None: the whole line
    // counts.
    using QuitarCodigos = std::function<QString(QStringView)>;

    // `carpetaCache`: the user's cache folder; the databases go into its folder "memoria", one per script
    // folder, never beside the scripts.
    explicit MemoriaTraduccion(const QString& carpetaCache = CarpetaCache(),
                               SistemaArchivos& sistema = SistemaReal(), QObject* padre = nullptr);
    // Commits what is written, then stops the thread; a build under way stops between two scripts.
    ~MemoriaTraduccion() override;

    // The user's cache folder (~/.cache/velarto).
    static QString CarpetaCache();

    // Opens the memory of a script folder and of the folders its bookmark file adds: the scripts whose
    // files changed since the last time are indexed again, those removed are forgotten. What is ready
    // answers at once. An empty folder closes the memory. Lookups set aside what `quitarCodigos` takes
    // out, the folder's codes.
    void Abrir(const QString& carpeta, QuitarCodigos quitarCodigos = {});
    const QString& carpeta() const { return carpeta_; }
    // A successful save of a script of the open folder: the text written into its translation, its lines
    // joined by '\n'. The lines are taken apart on the memory's thread.
    void Guardado(const QString& script, const QString& texto);

    // Asks for the matches of an original line: the caret's line `linea` (from 0) of `script`, whose
    // own remembered pair is left out. The answer comes through `consultada` with the number returned.
    quint64 Consultar(const QString& script, qsizetype linea, const QString& original);
    // Asks which lines of the box a fill gives a remembered translation, for a script with these
    // original lines; the answer comes through `rellenada`.
    quint64 Rellenar(const QStringList& originales, const QStringList& lineas);

    // The folders the open folder adds to its memory, as kept in its bookmark file.
    QStringList CarpetasAnadidas() const;
    // Adds a folder to the open folder's memory and keeps it in the bookmark file; false when it is the
    // open folder itself, already added, or no memory is open.
    bool AnadirCarpeta(const QString& carpeta);
    // Takes an added folder out; false when it was not added.
    bool QuitarCarpeta(const QString& carpeta);

    // While a pair loads the window wants both processors: with `pausada`, no script is indexed, one under
    // way waits between its lines, and requests wait too. A pause ends by itself after `maximoPausa`, so
    // that a load that never tells its end cannot stop the memory.
    void pausar(bool pausada);
    static constexpr std::chrono::seconds maximoPausa{30};

    // Whether scripts are still being indexed (see `progreso`).
    bool preparando() const { return preparando_; }
    // Waits until every request is answered and the folders are indexed, or indexing is paused; for tests
    // and measurements.
    void Esperar();

Q_SIGNALS:
    // While indexing: scripts checked so far of the folders' scripts (TextoPreparando).
    void progreso(int hechos, int total);
    // Every script of the open folders is indexed.
    void preparada();
    void consultada(const ResultadoConsulta& resultado);
    void rellenada(const ResultadoRelleno& resultado);
    // A folder's memory cannot be used; `motivo` says why in Spanish (TextoNoDisponible). Once per
    // folder and opening; the rest of the memory goes on working.
    void noDisponible(const QString& motivo);

private:
    struct PedidoAbrir
    {
        QString carpeta;
        QStringList anadidas;
        QuitarCodigos quitarCodigos;
    };
    struct PedidoAnadidas
    {
        QStringList anadidas;
    };
    struct PedidoGuardado
    {
        QString script;
        QString texto;
    };
    struct PedidoConsulta
    {
        quint64 numero = 0;
        QString script;
        qsizetype linea = 0;
        QString original;
    };
    struct PedidoRelleno
    {
        quint64 numero = 0;
        QStringList originales;
        QStringList lineas;
    };
    using Pedido = std::variant<PedidoAbrir, PedidoAnadidas, PedidoGuardado, PedidoConsulta, PedidoRelleno>;

    void Pedir(Pedido pedido);
    void Trabajar();
    // Whether a pause holds now; with `mutex_` held.
    bool Pausada() const;
    // Between two lines of a script being indexed: waits out a pause, calling `soltar` before it waits.
    void Ceder(const std::function<void()>& soltar);
    void AvisarProgreso(int hechos, int total);

    const QString carpetaBases_;
    SistemaArchivos& sistema_;

    // The window's thread only.
    QString carpeta_;
    quint64 ultimoNumero_ = 0;
    quint64 ultimaConsulta_ = 0;
    quint64 ultimoRelleno_ = 0;
    bool preparando_ = false;

    // Guarded by `mutex_`.
    std::mutex mutex_;
    std::condition_variable hayTrabajo_;
    std::condition_variable sinTrabajo_;
    std::deque<Pedido> cola_;
    bool ocupado_ = false;
    bool parar_ = false;
    bool pausada_ = false;
    // A pause ended: the thread looks again at what there is to do.
    bool revisar_ = false;
    std::chrono::steady_clock::time_point finPausa_;

    std::thread hilo_;
};
