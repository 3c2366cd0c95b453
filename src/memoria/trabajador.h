// The translation memory's work, all of it on the memory's own thread: the databases of the
// translator's folder and of the folders it adds, indexing them one script at a time, saves, lookups
// and fills. Nothing here is called from the window's thread.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "base_memoria.h"
#include "codificacion.h"
#include "resultados.h"
#include "sistema_archivos.h"

class TrabajadorMemoria final
{
public:
    using QuitarCodigos = std::function<QString(QStringView)>;
    struct Avisos
    {
        // Scripts checked or indexed so far, of all the opened folders' scripts.
        std::function<void(int hechos, int total)> progreso;
        // A folder's memory cannot be used, and why (see TextoNoDisponible); once per folder and opening.
        std::function<void(const QString& motivo)> noDisponible;
        // Called now and then between two lines of a script being indexed; may wait, and calls `soltar`
        // first when it does, so that a waiting script holds none of its files' bytes.
        std::function<void(const std::function<void()>& soltar)> ceder;
    };

    // `carpetaBases`: where the databases go.
    TrabajadorMemoria(const QString& carpetaBases, SistemaArchivos& sistema, Avisos avisos);
    ~TrabajadorMemoria();
    TrabajadorMemoria(const TrabajadorMemoria&) = delete;
    TrabajadorMemoria& operator=(const TrabajadorMemoria&) = delete;

    // The translator's folder and the folders it adds; an empty `carpeta` closes every database.
    // `quitarCodigos` turns a line into the text whose similarity counts; none keeps it whole.
    void Abrir(const QString& carpeta, const QStringList& anadidas, QuitarCodigos quitarCodigos);
    void CambiarAnadidas(const QStringList& anadidas);
    void Guardar(const QString& nombre, const QStringList& lineas);
    ResultadoConsulta Consultar(const QString& script, qsizetype linea, const QString& original);
    ResultadoRelleno Rellenar(const QStringList& originales, const QStringList& lineas);

    bool Indexando() const { return !plan_.empty(); }
    // Indexes the next script that may have changed.
    void IndexarUno();
    // Finishes a pass whose plan emptied, and commits every database's pending writes; when idle.
    void Confirmar();

private:
    struct Miembro
    {
        QString carpeta;
        bool propia = false;
        EleccionCarpeta eleccion;
        std::unique_ptr<BaseMemoria> base;
        bool rehecha = false;
        bool avisada = false;
        int hechos = 0; // scripts of the folder indexed or checked in this opening
    };
    struct Pendiente
    {
        Miembro* miembro = nullptr;
        QString nombre;
    };

    void Anadir(const QString& carpeta, bool propia);
    void Conectar(Miembro& miembro);
    void Planificar(Miembro& miembro);
    void Olvidar(const Miembro& miembro);
    void Desactivar(Miembro& miembro, const QString& motivo);
    void Rehacer(Miembro& miembro);
    void Terminar();
    void Avisar(bool siempre);
    QList<Manera> Maneras(const QString& original);
    // Runs `accion` on the member's database: a damaged one is started again (once per opening), one
    // that fails otherwise is given up with its reason. False when the action did not complete.
    template <typename Accion> bool Proteger(Miembro& miembro, Accion accion);

    const QString carpetaBases_;
    QuitarCodigos quitarCodigos_;
    SistemaArchivos& sistema_;
    const Avisos avisos_;

    std::vector<std::unique_ptr<Miembro>> miembros_; // the translator's folder first
    std::deque<Pendiente> plan_;
    int hechos_ = 0;
    int total_ = 0;
    bool porTerminar_ = false;
    qint64 ultimoAviso_ = 0;
};
