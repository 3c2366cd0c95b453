// The checks wired to the controls that hold a script pair: the translation in a text box, the original in
// a list. Reads their lines for the checks and turns the box document's and the list model's own change
// signals into the line changes the problems follow. Checking reads only: it is no edit.
#pragma once

#include <QObject>

#include "problemas_guion.h"
#include "vigia_par.h"

class QAbstractItemView;
class QPlainTextEdit;

class ProblemasCaja final : public QObject, public TextosPar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProblemasCaja)
public:
    // Follows the box's document and the list's items from now on, and checks what they hold.
    ProblemasCaja(QPlainTextEdit* caja, QAbstractItemView* lista, QObject* padre = nullptr);

    ProblemasGuion& guion() { return guion_; }
    const ProblemasGuion& guion() const { return guion_; }
    // Follows the box's document again when the box was given another one; cheap when it was not.
    void vigilar() { vigia_.vigilar(); }

    int lineasOriginal() const override;
    int lineasTraduccion() const override;
    void leerOriginal(int desde, int hasta, const Lector& leer) const override;
    void leerTraduccion(int desde, int hasta, const Lector& leer) const override;

private:
    VigiaPar vigia_;
    ProblemasGuion guion_;
};
