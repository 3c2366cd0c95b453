// Where each script of the folder stands, in the window: Ctrl+E opens "Estado de la carpeta" beside the
// editor, filled from the folder's index on a worker thread and following saves; a chosen row opens its
// script as a click in the file list does; the file list's tooltip of each script sums it up in one line.
#pragma once

#include <memory>

#include <QHash>
#include <QObject>

#include "busqueda_editor.h"
#include "consultas_carpeta.h"

class QAction;
class QMenu;
class QWidget;
class CajaMensajes;
class ListaArchivos;
class ListaSimple;
class MemoriaTraduccion;
class VentanaEstado;
class VidaPar;
struct ParCargado;

class EstadoCarpetaEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EstadoCarpetaEditor)
public:
    // Reads the index `memoria` keeps in `carpetaCache`; `carpetaDatos` holds the drafts.
    EstadoCarpetaEditor(ControlesCarpeta controles, MemoriaTraduccion& memoria, const VidaPar& vida,
                        CajaMensajes& mensajes, const QString& carpetaDatos, const QString& carpetaCache);
    ~EstadoCarpetaEditor() override;

    void AnadirAlMenu(QMenu& menu);
    // The figures are asked for again: at a folder change, after a deletion, when the folder's index
    // has changed (the memory is ready, a replacement wrote translations).
    void Calcular();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Mostrar();
    void Recibir(quint64 numero, const QList<FigurasScript>& figuras);
    void Guardado(const ParCargado& par, const QString& texto);
    // The figures of a saved script, worked out.
    void RecibirGuardado(FigurasScript figuras);

    ListaArchivos& archivos_;
    ListaSimple& original_;
    CajaMensajes& mensajes_;
    QWidget& ventana_;
    const QWidget& respaldo_;
    const QString carpetaDatos_;
    ConsultasCarpeta consultas_;
    QAction* abrir_;
    QList<FigurasScript> figuras_;
    QHash<QString, qsizetype> porNombre_;
    // Rows set by this editor's saves, kept over a status computed from the index until the index shows
    // that translation written at that time or later: a computation under way at a save may answer after
    // it with the text before.
    QHash<QString, FigurasScript> guardadas_;
    std::unique_ptr<VentanaEstado> vista_;
};
