// The growable window: "Ventana ampliable" in the box's context menu, remembered. Off, the window is the
// fixed one its controls were placed for; on, it can be resized and maximised, each control's edges follow
// the extra size as its anchors say, and the window's size and place are remembered.
#pragma once

#include <vector>

#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

class QAction;
class QMenu;
class QWidget;

class VentanaAmpliable final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VentanaAmpliable)
public:
    // How far an edge of a control follows the window's growth past its fixed size: not at all, by half
    // of it (the same half for every control, so that two controls sharing the growth stay apart as
    // they were), or by all of it.
    enum class Borde { Fijo, Mitad, Entero };
    struct Ancla
    {
        QWidget* control;
        Borde izquierda, derecha, arriba, abajo;
    };

    // The window's fixed size and the controls' places are those it has when it is first polished; the
    // anchors are applied to them.
    VentanaAmpliable(QWidget& ventana, std::vector<Ancla> anclas, const QString& archivoAjustes);
    ~VentanaAmpliable() override;

    void AnadirAlMenu(QMenu& menu);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    bool activa() const;
    void Activar(bool activa);
    void Empezar();
    void Colocar();
    void Recordar();

    QWidget& ventana_;
    QString archivoAjustes_;
    std::vector<Ancla> anclas_;
    // The controls' places in the fixed window, in the order of the anchors.
    std::vector<QRect> lugares_;
    QSize fijo_;
    QAction* ampliable_;
};
