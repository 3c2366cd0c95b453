// Going to a folder: Ctrl+O opens the desktop's folder chooser, and "Carpetas recientes" in the box's
// context menu lists the last folders whose scripts were loaded (remembered in the settings). Either
// moves the drive list and the folder list there, as picking them by hand does.
#pragma once

#include <functional>

#include <QObject>
#include <QStringList>

#include "unidades.h"

class QMenu;
class QWidget;
class CajaMensajes;
class ListaCarpetas;
class ListaUnidades;
class VidaPar;
struct ParCargado;

// Asks for a folder, starting at `inicial`; "" when none was chosen.
using ElegirCarpeta = std::function<QString(QWidget* padre, const QString& inicial)>;

class CarpetasRecientes final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CarpetasRecientes)
public:
    // How many folders the list keeps.
    static constexpr qsizetype maximo = 10;

    struct Controles
    {
        QWidget& ventana;
        ListaUnidades& unidades;
        ListaCarpetas& carpetas;
    };
    // `elegir` empty: the desktop's own folder chooser.
    CarpetasRecientes(Controles controles, const ProveedorUnidades& raices, const VidaPar& vida,
                      CajaMensajes& mensajes, const QString& archivoAjustes, ElegirCarpeta elegir);

    void AnadirAlMenu(QMenu& menu);

private:
    // The remembered folders, the last used first.
    QStringList recientes() const;
    void Anotar(const ParCargado& par);
    // Moves the browser to `carpeta`; a folder that cannot be opened is said so.
    void Ir(const QString& carpeta);
    void Elegir();

    Controles c_;
    const ProveedorUnidades& raices_;
    CajaMensajes& mensajes_;
    QString archivoAjustes_;
    ElegirCarpeta elegir_;
};
