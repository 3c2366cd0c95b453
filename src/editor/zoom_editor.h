// Zoom: Ctrl+wheel, Ctrl++ and Ctrl+- enlarge and shrink the text of the translation box and the original
// list together, Ctrl+0 brings back the window's own size; the size is remembered in the settings.
#pragma once

#include <QFont>
#include <QObject>

class QAction;
class QWidget;
class CajaTexto;
class ListaSimple;

class ZoomEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ZoomEditor)
public:
    // The remembered size is applied once the window has given the box and the list their own font.
    ZoomEditor(CajaTexto& caja, ListaSimple& lista, QWidget& ventana, const QString& archivoAjustes);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // Adds `pasos` points to the text's size, within the limits.
    void Cambiar(int pasos);
    void NuevaAccion(QList<QKeySequence> atajos, int cambio);
    // The points a step count gives, kept between the limits.
    int Limitar(int pasos) const;
    void Aplicar();

    CajaTexto& caja_;
    ListaSimple& lista_;
    QWidget& ventana_;
    QString archivoAjustes_;
    // The window's own font for both, taken when the window is first polished.
    QFont base_;
    bool pulida_ = false;
    // Points added to the window's own size (negative: smaller).
    int pasos_ = 0;
    // What the wheel has turned short of a whole step.
    int giro_ = 0;
};
