// Spelling as you type in the translation box: the highlighter on its document, the corrections at the
// top of its context menu, the F7 switch and the dictionary's language, remembered in the settings.
#pragma once

#include <memory>

#include <QList>
#include <QObject>
#include <QStringList>

#include "diccionarios.h"

class QAction;
class QMenu;
class QSettings;
class CajaMensajes;
class CajaTexto;
class ResaltadorOrtografia;
class Revisor;
class VidaPar;

class OrtografiaEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OrtografiaEditor)
public:
    // `archivoAjustes` empty: the user's settings; `carpetasDiccionarios` empty: where Hunspell's tools look.
    // The idle checking waits while a pair is being loaded.
    OrtografiaEditor(CajaTexto& caja, VidaPar& vida, CajaMensajes& mensajes, const QString& carpetaDatos,
                     const QString& archivoAjustes, const QStringList& carpetasDiccionarios);

    // Lines of the box still waiting for their idle check.
    bool Pendiente() const;
    // The corrections of the misspelled word at `posicion`, for the top of the context menu.
    QList<QAction*> Correcciones(QMenu& menu, QPoint posicion);
    // The switch and the language, after the standard entries.
    void AnadirAlMenu(QMenu& menu);

private:
    std::unique_ptr<QSettings> Ajustes() const;
    void CargarDiccionario();
    void Activar(bool activa);
    void CambiarIdioma(const QString& codigo);
    void Reemplazar(int inicio, const QString& palabra, const QString& sugerencia);
    void Aceptar(const QString& palabra, bool anadir);

    CajaTexto& caja_;
    CajaMensajes& mensajes_;
    QString archivoAjustes_;
    std::shared_ptr<Revisor> revisor_;
    QList<Diccionario> diccionarios_;
    ResaltadorOrtografia* resaltador_;
    QAction* revisar_;
};
