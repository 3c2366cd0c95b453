// The translation box's context menu, composed in one place: the entries that go above Qt's standard
// ones (the spelling's corrections), the standard entries, then each feature's section in the order the
// window adds them, separated by lines.
#pragma once

#include <functional>
#include <vector>

#include <QList>
#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class CajaTexto;

class MenuCaja final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuCaja)
public:
    // Entries for above the standard ones, given the menu (their parent) and the pointer's position.
    using Arriba = std::function<QList<QAction*>(QMenu& menu, QPoint posicion)>;
    // A feature's section, appended at the end of the menu.
    using Seccion = std::function<void(QMenu& menu, QPoint posicion)>;

    explicit MenuCaja(CajaTexto& caja);

    void setArriba(Arriba arriba);
    void Anadir(Seccion seccion);

private:
    void Componer(QMenu* menu, QPoint posicion) const;

    Arriba arriba_;
    std::vector<Seccion> secciones_;
};
