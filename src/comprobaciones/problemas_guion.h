// The problems of a whole translation, kept up to date line by line: a change re-reads only the lines it
// touched, and a line break added or taken away compares the lines after it with their new originals
// from what was read of them before, without reading them again.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QStringList>
#include <QTimer>

#include "comprobaciones.h"
#include "conjunto_lineas.h"
#include "ignorados.h"
#include "texto_archivo.h"

// Where the checks read the lines of the pair they follow.
class TextosPar
{
public:
    TextosPar() = default;
    virtual ~TextosPar() = default;
    TextosPar(const TextosPar&) = delete;
    TextosPar& operator=(const TextosPar&) = delete;

    using Lector = std::function<void(int linea, const QString& texto)>;
    virtual int lineasOriginal() const = 0;
    virtual int lineasTraduccion() const = 0;
    // Calls `leer` for each line desde ... hasta - 1, in order.
    virtual void leerOriginal(int desde, int hasta, const Lector& leer) const = 0;
    virtual void leerTraduccion(int desde, int hasta, const Lector& leer) const = 0;
};

// A pair held as two lists of lines.
class TextosEnLista final : public TextosPar
{
public:
    QStringList original;
    QStringList traduccion;

    int lineasOriginal() const override { return int(original.size()); }
    int lineasTraduccion() const override { return int(traduccion.size()); }
    void leerOriginal(int desde, int hasta, const Lector& leer) const override;
    void leerTraduccion(int desde, int hasta, const Lector& leer) const override;
};

class ProblemasGuion final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProblemasGuion)
public:
    // Follows `textos`, which outlives it. Empty until the first change or releer().
    explicit ProblemasGuion(const TextosPar& textos, QObject* padre = nullptr);
    ~ProblemasGuion() override;

    // What is checked. Each setting re-checks only what it changes.
    void ponerComprobaciones(Comprobaciones comprobaciones);
    Comprobaciones comprobaciones() const { return opciones_.comprobaciones; }
    // The folder's own codes; the default ones when the pattern is not valid or none is set.
    void ponerPatron(const PatronCodigos& patron);
    const PatronCodigos& patron() const { return opciones_.patron; }
    // The code page the translation will be written in; with none, no character is checked.
    void ponerCodificacion(std::optional<Codificacion> codificacion);
    std::optional<Codificacion> codificacion() const { return codificacion_; }
    // The warnings ignored in this translation.
    void ponerIgnorados(AvisosIgnorados ignorados);
    const AvisosIgnorados& ignorados() const { return ignorados_; }
    // Shows the ignored warnings again (marked as ignored) or hides them.
    void mostrarIgnorados(bool mostrar);
    bool muestraIgnorados() const { return mostrarIgnorados_; }

    // The pair changed: lines desde ... desde + quitadas - 1 of the old text are now lines
    // desde ... desde + agregadas - 1. Lines added at the end: (lineas, 0, n). A change that does not fit
    // the lines known reads everything again.
    void cambioOriginal(int desde, int quitadas, int agregadas);
    void cambioTraduccion(int desde, int quitadas, int agregadas);
    // Reads both texts again, whole.
    void releer();

    // While on, a change of more lines than a keystroke makes (a load's stretch, a paste, releer()) only
    // notes them: they are read and checked a slice of at most `msPorTanda` at a time whenever the event
    // loop is idle, and count no problem meanwhile. Typing is checked at once either way.
    void ponerDiferido(bool diferido);
    // While paused, the lines noted wait even when the event loop is idle: a load that yields to the loop
    // now and then is not idle time. What is asked for (comprobarAhora, comprobarPendientes) is checked.
    void pausar(bool pausado);
    // Some lines are still to be read.
    bool pendiente() const { return pendiente_; }
    // Reads and checks at once the lines of desde ... hasta - 1 still to be read (the lines on screen).
    void comprobarAhora(int desde, int hasta);
    // Reads and checks lines still to be read, in line order, for about `presupuestoMs`; true when some are
    // left. What the idle timer runs.
    bool comprobarPendientes(int presupuestoMs = msPorTanda);
    static constexpr int msPorTanda = 8;

    int lineasOriginal() const { return int(original_.size()); }
    int lineasTraduccion() const { return int(traduccion_.size()); }

    // The problems shown on translation line `linea` (from 0), in the order of the checks, and how many.
    QList<Problema> problemas(int linea) const;
    int cantidad(int linea) const;
    bool tieneProblemas(int linea) const { return conProblemas_.contiene(linea); }
    // How many lines the translation lacks (check 8), from line lineasTraduccion() on; and its problem.
    int faltantes() const;
    Problema problemaFaltantes() const;
    // The whole script: problems shown, and lines holding them. The missing lines, when reported, count
    // as one problem on one line.
    int totalProblemas() const;
    int totalLineas() const;
    // "12 problemas en 9 líneas".
    QString resumen() const;

    // Ignores a problem of a line (as problemas() gave it) or takes it back; the caller keeps the list
    // with ignorados().guardar().
    void ignorar(int linea, const Problema& problema);
    void dejarDeIgnorar(int linea, const Problema& problema);

    // F9 and Shift+F9 from a caret at `columna` of line `linea`: the line to put the caret at the end of,
    // wrapping round the script; -1 when no line has a problem. Forward, the caret's own line counts
    // while the caret is before its end (the problem lies further on); backward, only a line before the
    // caret's, or the caret's own after wrapping round the whole script.
    int siguiente(int linea, int columna, bool adelante) const;
    // The lines with problems in line order: how many come before `linea`, and the one numbered `orden`.
    int orden(int linea) const { return conProblemas_.rango(linea); }
    int enesima(int orden) const { return conProblemas_.enesimo(orden); }

    // What the checks read of a line.
    const ResumenLinea* resumenOriginal(int linea) const;
    const ResumenLinea* resumenTraduccion(int linea) const;

Q_SIGNALS:
    // Lines desde ... hasta - 1 may have other problems than before; every other line has the same
    // problems under the same number. The totals and the missing lines may have changed.
    void cambio(int desde, int hasta);

private:
    // Reads lines desde ... hasta - 1 of either text, or leaves them to be read when they are many and
    // checking is deferred.
    void LeerOriginal(int desde, int hasta);
    void LeerTraduccion(int desde, int hasta);
    bool Diferir(int desde, int hasta);
    // Reads the lines of desde ... hasta - 1 still to be read, of either text; whether there were any.
    bool LeerPendientes(int desde, int hasta);
    bool Leida(int linea) const;
    // Counts the problems of lines desde ... hasta - 1 afresh (clamped to the translation).
    void Comprobar(int desde, int hasta);
    int Contar(int linea) const;
    // A line's problems with their messages, ignored ones included; the texts are read again.
    QList<Problema> Calcular(int linea) const;
    quint64 Clave(int linea, const Problema& problema) const;
    void Avisar(int desde, int hasta);

    const TextosPar& textos_;
    OpcionesComprobacion opciones_;
    std::optional<Codificacion> codificacion_;
    std::unique_ptr<ProbadorCodificacion> probador_;
    AvisosIgnorados ignorados_;
    bool mostrarIgnorados_ = false;
    LineasTraduccion vecinas_;

    std::vector<ResumenLinea> original_;
    std::vector<ResumenLinea> traduccion_;
    // Problems shown per translation line, and the lines with any.
    std::vector<quint16> cuentas_;
    ConjuntoLineas conProblemas_;
    qint64 total_ = 0;

    // Deferred reading: no line before `cursor_` is left to read.
    bool diferido_ = false;
    bool pausado_ = false;
    bool pendiente_ = false;
    int cursor_ = 0;
    QTimer temporizador_;
};
