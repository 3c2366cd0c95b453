// The editor's only window: the script browser, the translation box above the original's lines, the
// counters and warning, the action buttons and the always-on-top switch, with all their handlers. The
// window's features are objects of their own that listen to the loaded pair's life (`VidaPar`).
#pragma once

#include <chrono>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "apertura_memoria.h"
#include "aviso_borrador.h"
#include "boton_imagen.h"
#include "borradores_editor.h"
#include "busqueda_editor.h"
#include "caja_texto.h"
#include "carpetas_recientes.h"
#include "codificacion_editor.h"
#include "comprobaciones_editor.h"
#include "estado_carpeta_editor.h"
#include "etiqueta_ajustada.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"
#include "lectura_lineas.h"
#include "lista_unidades.h"
#include "marcas_editor.h"
#include "memoria_editor.h"
#include "memoria_libre.h"
#include "memoria_traduccion.h"
#include "menu_caja.h"
#include "mensajes.h"
#include "monitor.h"
#include "original_editor.h"
#include "ortografia_editor.h"
#include "par_cargado.h"
#include "sistema_archivos.h"
#include "unidades.h"
#include "ventana_ampliable.h"
#include "vida_par.h"
#include "zoom_editor.h"

// What the window needs from outside that a test replaces.
struct Servicios
{
    CajaMensajes* mensajes = nullptr;    // nullptr: the window's own Qt message boxes
    ProveedorUnidades unidades{};        // empty: the mounted file systems' roots
    QString carpetaInicial{};            // empty: the current folder
    QString carpetaDatos{};              // empty: the user's data folder for this application
    SistemaArchivos* archivos = nullptr; // nullptr: the real file-system calls

    // What the editor remembers across runs (spelling, zoom, the window, recent folders). Empty: the user's
    // settings (QSettings, user scope).
    QString archivoAjustes{};
    // Where the translation memory keeps its databases. Empty: the user's cache folder (~/.cache/velarto).
    QString carpetaCache{};
    // Where Hunspell's dictionaries are looked for. Empty: where Hunspell's tools look.
    QStringList carpetasDiccionarios{};
    // The folder chooser of Ctrl+O. Empty: the desktop's own.
    ElegirCarpeta elegirCarpeta{};

    // How long the box must be left alone before its text is kept as a draft.
    std::chrono::milliseconds pausaBorrador{2000};
    // The interval of the window's timer, which runs the live length monitor.
    std::chrono::milliseconds intervaloMonitor{2};
    // Whether the script checks follow the box; the benchmark measures the window without them.
    bool comprobar = true;
};

class frmEditor final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmEditor)

    // What the window was given; declared first, as the controls and features below are built from it.
    CajaMensajesQt mensajesQt_{this};
    CajaMensajes& mensajes_;
    ProveedorUnidades unidades_;
    SistemaArchivos& archivos_;
    QString carpetaInicial_;
    // Where the editor keeps what belongs to the user rather than to a script folder.
    QString carpetaDatos_;

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

    // Start-up has run (it runs once, after the window is first shown).
    bool arranqueTerminado() const { return arrancado_; }
    // The pair the current load committed; `completo` once both files are read.
    const ParCargado& parCargado() const { return par_; }
    // The features, for what tests and benchmarks look at.
    const MarcasLineas& marcas() const { return marcas_.marcas(); }
    const OrtografiaEditor& ortografia() const { return ortografia_; }
    CodificacionEditor& codificacion() { return codificacion_; }
    const ComprobacionesEditor& comprobaciones() const { return comprobaciones_; }
    MemoriaTraduccion& memoria() { return memoria_; }

    QString unidadActual;

    // The controls, named as the window's handlers know them.
    QLabel* lblLargoLinea = new QLabel(this);
    EtiquetaAjustada* lblLl = new EtiquetaAjustada(this);
    QLabel* Label1 = new QLabel(this);
    EtiquetaAjustada* lblLlo = new EtiquetaAjustada(this);
    QLabel* lblLargoTotal = new QLabel(this);
    EtiquetaAjustada* lblLtl = new EtiquetaAjustada(this);
    QLabel* Label2 = new QLabel(this);
    EtiquetaAjustada* lblLtlo = new EtiquetaAjustada(this);
    QLabel* Label3 = new QLabel(this);
    EtiquetaAjustada* lblDisp = new EtiquetaAjustada(this);
    CajaTexto* txtTraducido = new CajaTexto(this);
    ListaSimple* lstOriginal = new ListaSimple(this);
    QGroupBox* Frame1 = new QGroupBox(this);
    ListaUnidades* Drive1 = new ListaUnidades(unidades_, carpetaInicial_, Frame1);
    ListaCarpetas* Dir1 = new ListaCarpetas(unidades_, carpetaInicial_, Frame1);
    ListaArchivos* File1 = new ListaArchivos(carpetaInicial_, Frame1);
    QLabel* p = new QLabel(this);
    QLabel* msg = new QLabel(this);
    BotonImagen* cmdGuardar = new BotonImagen(QString(), QIcon(), this);
    BotonImagen* cmdEliminar = new BotonImagen(QString(), QIcon(), this);
    BotonImagen* cmdInsMarcador = new BotonImagen(QString(), QIcon(), this);
    BotonImagen* cmdLeerMarcador = new BotonImagen(QString(), QIcon(), this);
    QCheckBox* ck = new QCheckBox(this);
    QTimer* timer = new QTimer(this);

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void CrearControles();
    void Conectar();
    // The box's context menu: corrections, the standard entries, then each feature's section.
    void ComponerMenu();
    void HabilitarAcciones(bool habilitar);
    // Empties the editor: box, original list, counters, warning, action buttons, the pair.
    void Vaciar();
    void LimpiarContadores();

    // Script loading (carga.cpp). Lists the original as `lectura` reads it and commits the pair once it is
    // read whole.
    void ListarOriginal(ParCargado& par, quint64 carga, LecturaLineas& lectura);
    // Reads a loaded file again, in the folder's new code page.
    void Releer(TipoArchivo tipo);

    // Saving (guardado.cpp): writes, confirms and moves on.
    // `lineas` are views of `texto`, the box's text with its lines joined by '\n'.
    void EscribirTraduccion(const QString& texto, const QList<QStringView>& lineas, FormatoTexto formato);

    // Bookmark (marcador.cpp): the caret to the bookmark's line once its script is loaded.
    void IrALineaMarcada(const ParCargado& par);

    // Set while the drive list is being put back after an unready drive.
    bool restaurandoUnidad_ = false;
    bool mostrada_ = false;
    bool arrancado_ = false;
    // Every load takes a new number; a load whose number is no longer current stops at once.
    quint64 cargaActual_ = 0;
    // Committed only by the load that is still current, in two steps: the translation, then the original.
    ParCargado par_;
    // The code pages of the folder's translations and originals, for the format of a new translation.
    TraduccionesCarpeta traducidas_;
    OriginalesCarpeta originales_;
    MemoriaLibre memoriaLibre_;
    // The line "Cargar marcador" puts the caret on once the script is loaded; none while `linea` is 0.
    struct LineaMarcada
    {
        QString rutaOriginal{};
        int linea = 0;
    } lineaMarcada_;
    VidaPar vida_;
    // The translation memory of the folder the browser shows, kept open on it by `aperturaMemoria_`. Every
    // feature that reads the folder's index takes a reference to this one; they go after it.
    MemoriaTraduccion memoria_;
    AperturaMemoria aperturaMemoria_;

    // The features. Each is built on the controls and services above and goes before them.
    MonitorEditor monitor_;
    BorradoresEditor borradores_;
    AvisoBorrador aviso_;
    MarcasEditor marcas_;
    OrtografiaEditor ortografia_;
    CodificacionEditor codificacion_;
    ComprobacionesEditor comprobaciones_;
    MemoriaEditor memoriaEditor_;
    BusquedaEditor busqueda_;
    EstadoCarpetaEditor estadoCarpeta_;
    ZoomEditor zoom_;
    OriginalEditor original_;
    CarpetasRecientes recientes_;
    VentanaAmpliable ampliable_;
    MenuCaja menu_{*txtTraducido};
};
