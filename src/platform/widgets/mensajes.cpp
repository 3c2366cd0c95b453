// The Qt message box behind the message-box interface.
#include "mensajes.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon IconoQt(Icono icono)
{
    switch (icono) {
    case Icono::Exclamacion:
        return QMessageBox::Warning;
    case Icono::Critico:
        return QMessageBox::Critical;
    case Icono::Ninguno:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Respuesta CajaMensajesQt::Mostrar(const QString& texto, Botones botones, Icono icono, const QString& titulo)
{
    QMessageBox caja(IconoQt(icono), titulo, texto, QMessageBox::NoButton, padre_);
    // Spanish captions whatever translation is loaded: these are the system's own words.
    if (botones == Botones::Aceptar) {
        caja.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
        caja.exec();
        return Respuesta::Aceptar;
    }
    QPushButton* si = caja.addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
    QPushButton* no = caja.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    if (botones == Botones::SiNo) {
        caja.setDefaultButton(no);
        caja.setEscapeButton(no);
        caja.exec();
        return caja.clickedButton() == si ? Respuesta::Si : Respuesta::No;
    }
    QPushButton* cancelar = caja.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
    caja.setDefaultButton(botones == Botones::SiNoCancelarNo ? no : si);
    caja.setEscapeButton(cancelar);
    caja.exec();
    if (caja.clickedButton() == si)
        return Respuesta::Si;
    if (caja.clickedButton() == no)
        return Respuesta::No;
    return Respuesta::Cancelar;
}
