// The editor's only window: the script browser, the translation box above the original's lines, the
// counters and warning, the action buttons and the always-on-top switch, with all their handlers.
#pragma once

#include <memory>
#include <optional>

#include <QStringList>
#include <QWidget>

#include "codificacion.h"
#include "mensajes.h"
#include "monitor.h"
#include "par_cargado.h"
#include "sistema_archivos.h"
#include "unidades.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidgetItem;
class QMenu;
class QTimer;
class BotonImagen;
class ErrorEjecucion;
class CajaTexto;
class ListaArchivos;
class ListaCarpetas;
class ListaSimple;
class ListaUnidades;
struct EstadoBorradores;
class MarcasLineas;
struct EstadoMarcas;

// What the window needs from outside that a test replaces.
struct Servicios
{
    CajaMensajes* mensajes = nullptr;    // nullptr: the window's own Qt message boxes
    ProveedorUnidades unidades{};        // empty: the mounted file systems' roots
    QString carpetaInicial{};            // empty: the current folder
    QString carpetaDatos{};              // empty: the user's data folder for this application
    SistemaArchivos* archivos = nullptr; // nullptr: the real file-system calls

    // Spelling. Empty: the user's settings (QSettings, user scope); where Hunspell's tools look.
    QString archivoAjustes{};
    QStringList carpetasDiccionarios{};
};

struct EstadoOrtografia;
struct BorrarOrtografia
{
    void operator()(EstadoOrtografia* estado) const;
};

class frmEditor final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmEditor)
public:
    explicit frmEditor(Servicios servicios = {}, QWidget* padre = nullptr);
    ~frmEditor() override;

    // Window start-up.
    void Form_Load();
    void Form_Activate();

    // Script loading.
    void File1_Click();

    // Live length monitor, run by `timer`.
    void timer_Timer();

    // Saving.
    void cmdGuardar_Click();
    void txtTraducido_KeyUp(int codigo, int shift);

    // Deleting.
    void cmdEliminar_Click();
    void File1_KeyUp(int codigo, int shift);

    // Drive and folder navigation.
    void Drive1_Change();
    void Dir1_Change();

    // Bookmark.
    void cmdInsMarcador_Click();
    void cmdLeerMarcador_Click();

    // Always on top.
    void ck_Click();

    // Code pages (codificacion.cpp): the folder's choice, applied at once where it can be.
    void ElegirCodificacion(TipoArchivo tipo, std::optional<Codificacion> codificacion);
    // The format a save of these lines writes.
    FormatoTexto FormatoGuardado(const QStringList& lineas);
    // The tooltip of a total or length caption that tells the code page in use.
    QString AyudaCodificacion(const QWidget* control);
    // Spelling (ortografia.cpp): the box's context menu gains corrections and the switches.
    void txtTraducido_MenuContextual(QMenu* menu, QPoint posicion);
    // Lines of the box still waiting for their idle check.
    bool OrtografiaPendiente() const;

    // The script folder and the paths of the selected script's pair.
    QString carpetaScripts() const;
    QString rutaOriginal() const;
    QString rutaTraduccion() const;

    // Start-up has run (it runs once, after the window is first shown).
    bool arranqueTerminado() const { return arrancado_; }
    // The pair the current load committed; `completo` once both files are read.
    const ParCargado& parCargado() const { return par_; }
    // The translation's lines over their original's limit (marcas.cpp).
    const MarcasLineas& marcas() const;

    QString unidadActual;

    // The controls, named as the window's handlers know them.
    QLabel* lblLargoLinea;
    QLabel* lblLl;
    QLabel* Label1;
    QLabel* lblLlo;
    QLabel* lblLargoTotal;
    QLabel* lblLtl;
    QLabel* Label2;
    QLabel* lblLtlo;
    QLabel* Label3;
    QLabel* lblDisp;
    CajaTexto* txtTraducido;
    ListaSimple* lstOriginal;
    QGroupBox* Frame1;
    ListaUnidades* Drive1;
    ListaCarpetas* Dir1;
    ListaArchivos* File1;
    QLabel* p;
    QLabel* msg;
    BotonImagen* cmdGuardar;
    BotonImagen* cmdEliminar;
    BotonImagen* cmdInsMarcador;
    BotonImagen* cmdLeerMarcador;
    QCheckBox* ck;
    QTimer* timer;

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void CrearControles();
    void CrearBrowser();
    void CrearBotones();
    void Conectar();
    void OrdenTabulacion();
    void DescribirAccesibilidad();

    // Runs a handler; a run-time error it does not trap itself is shown with its number and description,
    // and the window keeps working.
    template <typename Manejador> void Proteger(Manejador manejador);
    void MostrarError(const ErrorEjecucion& error);
    void HabilitarAcciones(bool habilitar);
    // Empties the editor: box, original list, counters, warning, action buttons.
    void Vaciar();
    void LimpiarContadores();

    // Script loading (carga.cpp).
    bool LeerTraduccion(ParCargado& par, quint64 carga);
    bool LeerOriginal(ParCargado& par, quint64 carga, qint32& total);
    void ListarOriginal(ParCargado& par, quint64 carga);
    bool SigueVigente(quint64 carga) const { return carga == cargaActual_; }
    // Forgets the loaded pair: nothing of it may reach a later deletion or save.
    void OlvidarPar();

    // Live length monitor (monitor.cpp).
    void ConectarMonitor();
    void VigilarDocumento();
    void DespertarMonitor();
    bool MonitorPendiente() const;
    InstantaneaMonitor CapturarMonitor() const;
    void RefrescarMonitor();

    // Saving (guardado.cpp).
    bool CrearTraducidos();
    void EscribirTraduccion(const QStringList& lineas, FormatoTexto formato);

    // Deleting (eliminacion.cpp).

    // Navigation (navegacion.cpp).
    // Set while the drive list is being put back after an unready drive.
    bool restaurandoUnidad_ = false;

    // Bookmark and always on top (marcador.cpp, encima.cpp).

    // Drafts (borradores.cpp).
    void ConectarBorradores();
    // A load has put the script's translation into the box: its drafts start from that text.
    void EmpezarBorrador();
    // Keeps the box's text as the draft, a while after the last change (queued) or at once.
    void ConservarBorrador();
    void CopiarTramoBorrador();
    void DetenerCopiaBorrador();
    void ConservarBorradorAhora();
    // Before the box's text is replaced: kept at once, and the box then belongs to no script.
    void DejarBorrador();
    // The box's text was saved, or its script deleted: the draft goes.
    void BorradorGuardado();
    void BorradorEliminado();
    // The loaded script's draft when it differs from the box.
    std::optional<QString> BorradorDistinto();
    void RecuperarBorrador();
    void DescartarBorrador();
    void MarcarBorrador(QListWidgetItem& elemento);
    void AvisarFalloBorradores(const QString& carpeta, const QString& motivo);
    std::unique_ptr<EstadoBorradores> borradores_;
    // Code pages (codificacion.cpp).
    void ConectarCodificacion();
    EleccionCarpeta EleccionCodificacion() const;
    void ElegirCodificacionProtegida(TipoArchivo tipo, std::optional<Codificacion> codificacion);
    void ReleerOriginal();
    void ReleerTraduccion();
    void AnotarTraducida(const FormatoTexto& formato);
    // The code pages of the folder's translations, read once per folder at the first save that needs them.
    QString carpetaTraducidas_;
    std::optional<QHash<QString, Codificacion>> traducidas_;
    // Lines over their limit (marcas.cpp): backgrounds, scroll bar ticks, F8, the overview window.
    void ConectarMarcas();
    void IrAMarca(bool adelante);
    void IrAFinDeLinea(int linea);
    void MostrarMarcas();
    // Spelling (ortografia.cpp).
    void ConectarOrtografia();
    void CambiarIdiomaOrtografia(const QString& codigo);
    void ActivarOrtografia(bool activa);

    CajaMensajes* mensajes_;
    std::unique_ptr<CajaMensajesQt> mensajesQt_;
    ProveedorUnidades unidades_;
    SistemaArchivos& archivos_;
    QString carpetaInicial_;
    // Where the editor keeps what belongs to the user rather than to a script folder.
    QString carpetaDatos_;
    bool mostrada_ = false;
    bool arrancado_ = false;
    // Every load takes a new number; a load whose number is no longer current stops at once.
    quint64 cargaActual_ = 0;
    // Committed only by the load that is still current, in two steps: the translation, then the original.
    ParCargado par_;
    EstadoMonitor monitor_;
    // Goes before the controls it watches; its deleter lives with it in marcas.cpp.
    std::unique_ptr<EstadoMarcas, void (*)(EstadoMarcas*)> marcas_{nullptr, nullptr};
    QString archivoAjustes_;
    QStringList carpetasDiccionarios_;
    std::unique_ptr<EstadoOrtografia, BorrarOrtografia> ortografia_;
};
