// The lines of a translation that break their limit: longer than the same line of the original
// ("larga"), or beyond the original's last line ("sobrante"). Kept up to date from the translation
// document's and the original list's own change signals, re-measuring only the lines that changed.
#pragma once

#include <vector>

#include <QObject>

#include "conjunto_lineas.h"
#include "vigia_par.h"

class QAbstractItemView;
class QPlainTextEdit;

enum class Marca { Ninguna, Larga, Sobrante };

class MarcasLineas final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MarcasLineas)
public:
    // Follows the box's document and the list's items from now on.
    MarcasLineas(QPlainTextEdit* caja, QAbstractItemView* lista, QObject* padre = nullptr);

    // Follows the box's document again when the box was given another one; cheap when it was not.
    void vigilar() { vigia_.vigilar(); }

    Marca marca(int linea) const;
    int largas() const { return largas_.cantidad(); }
    int sobrantes() const;
    int cantidad() const { return largas() + sobrantes(); }

    // The next marked line after `linea` (forward) or the previous one before it, wrapping round the
    // script; -1 when no line is marked. Forward from -1 the first line is a candidate too.
    int siguiente(int linea, bool adelante) const;
    // The first line at or after `linea` with that mark, -1 when none.
    int primeraDesde(Marca tipo, int linea) const;
    // The marked lines in line order: how many come before `linea`, and the one numbered `orden`.
    int orden(int linea) const;
    int enesima(int orden) const;

    int lineasTraduccion() const { return int(largoTraduccion_.size()); }
    int lineasOriginal() const { return int(largoOriginal_.size()); }
    // Lengths as the monitor counts them; -1 for a line that does not exist.
    int largoTraduccion(int linea) const;
    int largoOriginal(int linea) const;
    // A line's text, or its first `maximo` characters: a giant line is never copied whole.
    QString textoTraduccion(int linea, int maximo) const;
    QString textoOriginal(int linea, int maximo) const;

Q_SIGNALS:
    // Lines desde ... hasta - 1 may have another mark, length or text than before; every other line is as
    // it was, under the same number. `marcasMovidas`: some mark came, went or changed its line.
    void cambio(int desde, int hasta, bool marcasMovidas);

private:
    void Conectar();
    void LineasCambiadas(int desde, int viejas, int nuevas);
    void FilasDistintas(int desde, int viejas, int nuevas);
    void FilasInsertadas(int primera, int ultima);
    void FilasQuitadas(int primera, int ultima);
    void FilasCambiadas(int primera, int ultima);
    void MedirTodo();
    // The original list's rows.
    int Filas() const;
    int LargoFila(int fila) const;
    // Marks lines desde ... hasta - 1 afresh and reports them.
    void Reevaluar(int desde, int hasta, bool movidas);

    VigiaPar vigia_;
    std::vector<int> largoTraduccion_;
    std::vector<int> largoOriginal_;
    // The too long lines; the extra ones are the range lineasOriginal() ... lineasTraduccion() - 1.
    ConjuntoLineas largas_;
};
