// Searching and replacing across the folder in the window: Ctrl+Shift+F opens "Buscar en la carpeta"
// beside the editor; a chosen row opens its script as a click in the file list does and selects the
// match in the box, or the line in the original's list for a match in an original; "Reemplazar todo"
// asks, writes the other translations and puts the loaded script's replacement into the box as one edit;
// "Deshacer el último reemplazo" puts the files back.
#pragma once

#include <memory>
#include <optional>

#include <QObject>

#include "consultas_carpeta.h"

class QAction;
class QMenu;
class QWidget;
class CajaMensajes;
class CajaTexto;
class ListaArchivos;
class ListaSimple;
class MemoriaTraduccion;
class VentanaBusqueda;
class VidaPar;
struct ParCargado;

// The controls the folder's search and status work with.
struct ControlesCarpeta
{
    CajaTexto& caja;
    ListaSimple& lista; // the original's lines
    ListaArchivos& archivos;
    // The editor, which holds the shortcuts and which the small windows go beside.
    QWidget& ventana;
    // Where a small window goes when there is no room beside the editor: a part nobody types in.
    const QWidget& respaldo;
};

// Opens a script of the file list as a click on it does (its draft handling and load the usual ones);
// false when the list does not show it.
bool AbrirScript(ListaArchivos& archivos, const QString& nombre);
// The scripts of `nombres` in `carpeta` whose translation has a draft in the drafts folder of
// `carpetaDatos`.
QSet<QString> ScriptsConBorrador(const QString& carpetaDatos, const QString& carpeta,
                                 const QStringList& nombres);

class BusquedaEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BusquedaEditor)
public:
    // Reads the index `memoria` keeps in `carpetaCache`, and tells it of the translations a replacement
    // or its undo writes; `carpetaDatos` holds the drafts.
    BusquedaEditor(ControlesCarpeta controles, MemoriaTraduccion& memoria, const VidaPar& vida,
                   CajaMensajes& mensajes, const QString& carpetaDatos, const QString& carpetaCache);
    ~BusquedaEditor() override;

    void AnadirAlMenu(QMenu& menu);

private:
    void Mostrar();
    void Ir(const FilaBusqueda& fila);
    void Seleccionar(const FilaBusqueda& fila);
    void Planeado(quint64 numero, const PlanReemplazo& plan);
    void Ejecutado(const HechoReemplazo& hecho);
    void Deshecho(const HechoDeshacer& hecho);
    void BuscarOtraVez();

    CajaTexto& caja_;
    ListaSimple& original_;
    ListaArchivos& archivos_;
    MemoriaTraduccion& memoria_;
    CajaMensajes& mensajes_;
    QWidget& ventana_;
    const QWidget& respaldo_;
    const QString carpetaDatos_;
    ConsultasCarpeta consultas_;
    QAction* abrir_;
    QString cargado_; // the loaded script's name
    std::optional<FilaBusqueda> pendiente_;
    quint64 plan_ = 0;
    int aparicionesCaja_ = 0;
    std::optional<HechoReemplazo> ultimo_;
    std::unique_ptr<VentanaBusqueda> vista_;
};
