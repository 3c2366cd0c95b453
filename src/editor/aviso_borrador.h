// The notice of unsaved text: loading a script whose draft differs from the box shows, inside the box and
// over its text without moving anything, when the draft was kept and that Ctrl+R brings it back. The
// first keystroke, Escape or anything that changes the box takes it away.
#pragma once

#include <QObject>

class QLabel;
class CajaTexto;
class BorradoresEditor;
class VidaPar;
struct ParCargado;

class AvisoBorrador final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AvisoBorrador)
public:
    AvisoBorrador(CajaTexto& caja, BorradoresEditor& borradores, const VidaPar& vida);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Mostrar();
    void Ocultar();
    void Colocar();

    CajaTexto& caja_;
    BorradoresEditor& borradores_;
    // A child of the box's viewport, which it is drawn over.
    QLabel* aviso_;
};
