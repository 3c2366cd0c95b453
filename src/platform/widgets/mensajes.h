// Modal message boxes behind an interface, so that tests can answer them without opening a dialog.
#pragma once

#include <QString>

class QWidget;

// SiNo asks before something that cannot be undone: "No" is the default and what Escape gives.
// SiNoCancelarNo is SiNoCancelar with "No" the default, so that Enter never says yes; Escape still cancels.
enum class Botones { Aceptar, SiNoCancelar, SiNo, SiNoCancelarNo };
enum class Icono { Ninguno, Exclamacion, Critico };
// The values are the answers' traditional numbers (Yes is 6).
enum class Respuesta { Aceptar = 1, Cancelar = 2, Si = 6, No = 7 };

inline const QString tituloAplicacion = QStringLiteral("Velarto");

class CajaMensajes
{
public:
    virtual ~CajaMensajes() = default;
    // Shows a modal box and returns the button pressed. Closing the box counts as Cancel, as No where
    // there is no Cancel, or as OK where OK is the only button.
    virtual Respuesta Mostrar(const QString& texto, Botones botones = Botones::Aceptar,
                              Icono icono = Icono::Ninguno, const QString& titulo = tituloAplicacion) = 0;
};

// The real boxes: modal over their parent window, with Spanish buttons.
class CajaMensajesQt final : public CajaMensajes
{
public:
    explicit CajaMensajesQt(QWidget* padre = nullptr) : padre_(padre) {}
    void setPadre(QWidget* padre) { padre_ = padre; }
    Respuesta Mostrar(const QString& texto, Botones botones, Icono icono, const QString& titulo) override;

private:
    QWidget* padre_;
};
