// Composing the translation box's context menu.
#include "menu_caja.h"

#include <QMenu>

#include "caja_texto.h"

MenuCaja::MenuCaja(CajaTexto& caja)
{
    connect(&caja, &CajaTexto::menuContextual, this, &MenuCaja::Componer);
}

void MenuCaja::setArriba(Arriba arriba)
{
    arriba_ = std::move(arriba);
}

void MenuCaja::Anadir(Seccion seccion)
{
    secciones_.push_back(std::move(seccion));
}

void MenuCaja::Componer(QMenu* menu, QPoint posicion) const
{
    if (arriba_) {
        QAction* primera = menu->actions().value(0);
        const QList<QAction*> arriba = arriba_(*menu, posicion);
        if (!arriba.isEmpty()) {
            menu->insertActions(primera, arriba);
            menu->insertSeparator(primera);
        }
    }
    for (const Seccion& seccion : secciones_) {
        menu->addSeparator();
        seccion(*menu, posicion);
    }
    menu->setToolTipsVisible(true);
}
