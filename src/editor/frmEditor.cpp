// The window: its controls, start-up, the wiring of its handlers and the order of the context menu.
#include "frmEditor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>

#include "archivos.h"
#include "errores.h"
#include "fuentes.h"
#include "proteger.h"

namespace {

constexpr int anchoCliente = 649;
constexpr int altoCliente = 448;

void Etiqueta(QLabel* etiqueta, const QString& texto, QRect lugar, QColor color = Qt::black)
{
    etiqueta->setText(texto);
    etiqueta->setGeometry(lugar);
    etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::WindowText, color);
    etiqueta->setPalette(paleta);
}

// A counter: bold, coloured, holding a length as decimal text.
void Contador(QLabel* contador, QRect lugar, QColor color, Qt::Alignment alineacion)
{
    Etiqueta(contador, QString(), lugar, color);
    QFont negrita = contador->font();
    negrita.setBold(true);
    contador->setFont(negrita);
    contador->setAlignment(alineacion | Qt::AlignTop);
}

void Boton(BotonImagen* boton, const QString& texto, const QString& imagen, int x)
{
    boton->setText(texto);
    boton->setIcon(QIcon(u":/imagenes/" + imagen + u".svg"));
    boton->setGeometry(x, 376, 57, 65);
}

void Lista(QAbstractScrollArea* lista, QRect lugar, const QFont& fuente)
{
    lista->setGeometry(lugar);
    lista->setFont(fuente);
    lista->setFrameShape(QFrame::Box);
    lista->setFrameShadow(QFrame::Plain);
}

const QColor azul(0, 0, 255);
const QColor rojo(255, 0, 0);

void OrdenTabulacion(frmEditor& v)
{
    // Only these take the focus, in this order; the rest are passed by.
    const QList<QWidget*> orden{
        v.File1,      v.lstOriginal, v.Dir1,         v.Drive1,         v.ck,
        v.cmdGuardar, v.cmdEliminar, v.txtTraducido, v.cmdInsMarcador, v.cmdLeerMarcador};
    for (qsizetype i = 0; i + 1 < orden.size(); ++i)
        QWidget::setTabOrder(orden[i], orden[i + 1]);
    for (QWidget* w :
         {static_cast<QWidget*>(v.Frame1), static_cast<QWidget*>(v.p), static_cast<QWidget*>(v.msg)})
        w->setFocusPolicy(Qt::NoFocus);
}

void DescribirAccesibilidad(frmEditor& v)
{
    v.txtTraducido->setAccessibleName(QStringLiteral("Traducción"));
    v.lstOriginal->setAccessibleName(QStringLiteral("Líneas del original"));
    v.Drive1->setAccessibleName(QStringLiteral("Unidad"));
    v.Dir1->setAccessibleName(QStringLiteral("Carpeta"));
    v.File1->setAccessibleName(QStringLiteral("Scripts"));
    v.p->setAccessibleName(QStringLiteral("Advertencia"));
    v.lblLl->setAccessibleDescription(QStringLiteral("Largo de la línea actual de la traducción"));
    v.lblLlo->setAccessibleDescription(QStringLiteral("Largo de la línea seleccionada del original"));
    v.lblLtl->setAccessibleDescription(QStringLiteral("Largo total de la traducción"));
    v.lblLtlo->setAccessibleDescription(QStringLiteral("Largo total del original"));
    v.lblDisp->setAccessibleDescription(QStringLiteral("Caracteres disponibles"));
    v.msg->setAccessibleDescription(QStringLiteral("Advertencia"));
    const auto describir = [](QWidget* boton, const QString& texto) {
        boton->setToolTip(texto);
        boton->setAccessibleDescription(texto);
    };
    describir(v.cmdGuardar, QStringLiteral("Guardar la traducción y pasar al siguiente script (F12)"));
    describir(v.cmdEliminar, QStringLiteral("Eliminar el script y su traducción (Supr)"));
    describir(v.cmdInsMarcador, QStringLiteral("Guardar la posición en este script"));
    describir(v.cmdLeerMarcador, QStringLiteral("Volver a la posición guardada"));
}

// How the controls follow a growable window: the counters stay on top, the box and the original list
// share the extra width and height, the folder frame keeps its width and grows in height, and the
// warning, the message, the switch and the buttons go down with the bottom edge, the buttons to the right.
std::vector<VentanaAmpliable::Ancla> Anclas(frmEditor& v)
{
    using B = VentanaAmpliable::Borde;
    std::vector<VentanaAmpliable::Ancla> anclas{{v.txtTraducido, B::Fijo, B::Entero, B::Fijo, B::Mitad},
                                                {v.lstOriginal, B::Fijo, B::Entero, B::Mitad, B::Entero},
                                                {v.Frame1, B::Entero, B::Entero, B::Fijo, B::Entero},
                                                {v.File1, B::Fijo, B::Fijo, B::Fijo, B::Entero},
                                                {v.p, B::Fijo, B::Fijo, B::Entero, B::Entero},
                                                {v.msg, B::Fijo, B::Entero, B::Entero, B::Entero},
                                                {v.ck, B::Fijo, B::Fijo, B::Entero, B::Entero}};
    for (QWidget* boton : {v.cmdGuardar, v.cmdEliminar, v.cmdInsMarcador, v.cmdLeerMarcador})
        anclas.push_back({boton, B::Entero, B::Entero, B::Entero, B::Entero});
    return anclas;
}

// A start folder whose files cannot be listed shows an empty list: the translator is told why, once.
void AvisarCarpetaIlegible(CajaMensajes& mensajes, const QString& carpeta, SistemaArchivos& archivos)
{
    try {
        ComprobarCarpetaLegible(carpeta, archivos);
    } catch (const ErrorEjecucion& error) {
        mensajes.Mostrar(QStringLiteral("No se puede leer la carpeta «%1»: %2.")
                             .arg(QDir::toNativeSeparators(carpeta), error.descripcion()),
                         Botones::Aceptar, Icono::Exclamacion);
    }
}

// Where the translation memory keeps its databases, which the folder's search and status read too.
QString CarpetaCache(const Servicios& servicios)
{
    return servicios.carpetaCache.isEmpty() ? MemoriaTraduccion::CarpetaCache() : servicios.carpetaCache;
}

} // namespace

frmEditor::frmEditor(Servicios servicios, QWidget* padre)
    : QWidget(padre), mensajes_(servicios.mensajes ? *servicios.mensajes : mensajesQt_),
      unidades_(servicios.unidades ? std::move(servicios.unidades) : ProveedorUnidades(RaicesMontadas)),
      archivos_(servicios.archivos ? *servicios.archivos : SistemaReal()),
      carpetaInicial_(servicios.carpetaInicial.isEmpty() ? QDir::currentPath() : servicios.carpetaInicial),
      carpetaDatos_(servicios.carpetaDatos.isEmpty()
                        ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                        : servicios.carpetaDatos),
      // The memory reads the folder on a thread of its own, so it never goes through the window's file
      // system, whose faults a test schedules by counting the window's own calls.
      memoria_(CarpetaCache(servicios)), aperturaMemoria_(memoria_, *Dir1, vida_),
      monitor_({*txtTraducido, *lstOriginal, *lblLl, *lblLlo, *lblLtl, *lblLtlo, *lblDisp, *msg, *p, *timer}),
      borradores_(*txtTraducido, *File1, mensajes_, vida_, carpetaDatos_, servicios.pausaBorrador),
      aviso_(*txtTraducido, borradores_, vida_),
      marcas_(*txtTraducido, *lstOriginal, *lblLargoLinea, *this, *Frame1),
      ortografia_(*txtTraducido, vida_, mensajes_, carpetaDatos_, servicios.archivoAjustes,
                  servicios.carpetasDiccionarios),
      codificacion_(*txtTraducido, {*lblLargoTotal, *lblLtlo, *lblLtl, *lblLl}, *Dir1, par_, traducidas_,
                    originales_, vida_, mensajes_, archivos_),
      comprobaciones_({*txtTraducido, *lstOriginal, *Dir1, marcas_, *this, *Frame1}, par_, traducidas_, vida_,
                      mensajes_, carpetaDatos_, servicios.archivoAjustes, servicios.comprobar),
      memoriaEditor_({*txtTraducido, *lstOriginal, *this, *Frame1}, memoria_, par_, vida_, mensajes_,
                     servicios.elegirCarpeta),
      busqueda_({*txtTraducido, *lstOriginal, *File1, *this, *Frame1}, memoria_, vida_, mensajes_,
                carpetaDatos_, CarpetaCache(servicios)),
      estadoCarpeta_({*txtTraducido, *lstOriginal, *File1, *this, *Frame1}, memoria_, vida_, mensajes_,
                     carpetaDatos_, CarpetaCache(servicios)),
      zoom_(*txtTraducido, *lstOriginal, *this, servicios.archivoAjustes),
      original_(*txtTraducido, *lstOriginal),
      recientes_({*this, *Drive1, *Dir1}, unidades_, vida_, mensajes_, servicios.archivoAjustes,
                 std::move(servicios.elegirCarpeta)),
      ampliable_(*this, Anclas(*this), servicios.archivoAjustes)
{
    setWindowTitle(QStringLiteral("Velarto de Scripts por Ostrano - 2006  [v1.0.0.5]"));
    setWindowIcon(QIcon(QStringLiteral(":/imagenes/lapiz.svg")));
    setFont(FuenteSans());
    setFixedSize(anchoCliente, altoCliente);
    CrearControles();
    timer->setInterval(servicios.intervaloMonitor);
    OrdenTabulacion(*this);
    DescribirAccesibilidad(*this);
    Conectar();
    ComponerMenu();
    Form_Load();
}

frmEditor::~frmEditor()
{
    Q_EMIT vida_.saliendo();
    // A load still yielding must not write into a window that is going away.
    ++cargaActual_;
}

void frmEditor::CrearControles()
{
    Etiqueta(lblLargoLinea, QStringLiteral("Largo de línea:"), {8, 8, 73, 17}, QColor(128, 64, 64));
    Contador(lblLl, {80, 8, 33, 17}, azul, Qt::AlignRight);
    Etiqueta(Label1, QStringLiteral("de"), {120, 8, 17, 17});
    Contador(lblLlo, {136, 8, 33, 17}, rojo, Qt::AlignLeft);
    Etiqueta(lblLargoTotal, QStringLiteral("Largo Total:"), {192, 8, 57, 17}, QColor(0, 64, 0));
    Contador(lblLtl, {248, 8, 33, 17}, azul, Qt::AlignRight);
    Etiqueta(Label2, QStringLiteral("de"), {288, 8, 17, 17});
    Contador(lblLtlo, {304, 8, 33, 17}, rojo, Qt::AlignLeft);
    Etiqueta(Label3, QStringLiteral("Disponible:"), {352, 8, 57, 17}, QColor(64, 64, 0));
    Contador(lblDisp, {408, 8, 33, 17}, rojo, Qt::AlignLeft);

    const QFont courier = FuenteCourier();
    Lista(txtTraducido, {8, 24, 449, 169}, courier);
    Lista(lstOriginal, {8, 200, 449, 171}, courier);

    Frame1->setTitle(QStringLiteral("Ubicación"));
    Frame1->setGeometry(464, 16, 177, 353);
    Frame1->setFlat(true);
    // The browser's controls are placed in the window's coordinates, inside the frame.
    const QPoint origen = Frame1->pos();
    Drive1->setGeometry(QRect(472, 32, 161, 21).translated(-origen));
    Dir1->setGeometry(QRect(472, 64, 161, 96).translated(-origen));
    File1->setGeometry(QRect(472, 168, 161, 197).translated(-origen));

    p->setGeometry(8, 376, 32, 32);
    p->setPixmap(
        QIcon(QStringLiteral(":/imagenes/advertencia.svg")).pixmap(QSize(32, 32), devicePixelRatioF()));
    p->setVisible(false);
    Etiqueta(msg, QString(), {48, 376, 361, 41});
    msg->setWordWrap(true);

    Boton(cmdGuardar, QStringLiteral("[F12]"), QStringLiteral("guardar"), 416);
    Boton(cmdEliminar, QStringLiteral("[Supr]"), QStringLiteral("papelera"), 472);
    Boton(cmdInsMarcador, QStringLiteral("Insertar marcador"), QStringLiteral("bandeja"), 528);
    Boton(cmdLeerMarcador, QStringLiteral("Cargar marcador"), QStringLiteral("fichero"), 584);

    ck->setText(QStringLiteral("Ventana siempre encima"));
    ck->setGeometry(8, 424, 145, 17);

    timer->setTimerType(Qt::PreciseTimer);
    timer->start();
}

void frmEditor::Conectar()
{
    const auto manejar = [this](void (frmEditor::*manejador)()) {
        return [this, manejador] {
            Proteger(mensajes_, [&] { (this->*manejador)(); });
        };
    };
    const auto manejarTecla = [this](void (frmEditor::*manejador)(int, int)) {
        return [this, manejador](int codigo, int shift) {
            Proteger(mensajes_, [&] { (this->*manejador)(codigo, shift); });
        };
    };
    connect(File1, &ListaArchivos::click, this, manejar(&frmEditor::File1_Click));
    connect(File1, &ListaArchivos::teclaSoltada, this, manejarTecla(&frmEditor::File1_KeyUp));
    connect(txtTraducido, &CajaTexto::teclaSoltada, this, manejarTecla(&frmEditor::txtTraducido_KeyUp));
    connect(Dir1, &ListaCarpetas::cambio, this, manejar(&frmEditor::Dir1_Change));
    connect(Dir1, &ListaCarpetas::fallo, this,
            [this](const ErrorEjecucion& e) { MostrarError(mensajes_, e); });
    connect(Drive1, &ListaUnidades::cambio, this, manejar(&frmEditor::Drive1_Change));
    connect(cmdGuardar, &QPushButton::clicked, this, manejar(&frmEditor::cmdGuardar_Click));
    connect(cmdEliminar, &QPushButton::clicked, this, manejar(&frmEditor::cmdEliminar_Click));
    connect(cmdInsMarcador, &QPushButton::clicked, this, manejar(&frmEditor::cmdInsMarcador_Click));
    connect(cmdLeerMarcador, &QPushButton::clicked, this, manejar(&frmEditor::cmdLeerMarcador_Click));
    connect(ck, &QCheckBox::stateChanged, this, manejar(&frmEditor::ck_Click));
    connect(timer, &QTimer::timeout, this, &frmEditor::timer_Timer);
    connect(&vida_, &VidaPar::cargado, this, &frmEditor::IrALineaMarcada);
    // What a long pair used goes back to the system once a much shorter one, or nothing, takes its place.
    connect(&vida_, &VidaPar::cargado, this,
            [this] { memoriaLibre_.EnUso(qint64(txtTraducido->blockCount()) + lstOriginal->count()); });
    connect(&vida_, &VidaPar::carpetaCambiada, this, [this] { memoriaLibre_.EnUso(0); });
    connect(&codificacion_, &CodificacionEditor::releer, this,
            [this](TipoArchivo tipo) { Proteger(mensajes_, [&] { Releer(tipo); }); });
    // The clean-quit signals end the event loop; whatever the box holds is then at risk.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &vida_, &VidaPar::enRiesgo);
}

void frmEditor::ComponerMenu()
{
    menu_.setArriba(
        [this](QMenu& menu, QPoint posicion) { return ortografia_.Correcciones(menu, posicion); });
    menu_.Anadir([this](QMenu& menu, QPoint) { borradores_.AnadirAlMenu(menu); });
    menu_.Anadir([this](QMenu& menu, QPoint) { codificacion_.AnadirAlMenu(menu); });
    menu_.Anadir([this](QMenu& menu, QPoint) { marcas_.AnadirAlMenu(menu); });
    menu_.Anadir([this](QMenu& menu, QPoint posicion) { comprobaciones_.AnadirAlMenu(menu, posicion); });
    menu_.Anadir([this](QMenu& menu, QPoint) { memoriaEditor_.AnadirAlMenu(menu); });
    menu_.Anadir([this](QMenu& menu, QPoint) {
        busqueda_.AnadirAlMenu(menu);
        estadoCarpeta_.AnadirAlMenu(menu);
    });
    menu_.Anadir([this](QMenu& menu, QPoint) { ortografia_.AnadirAlMenu(menu); });
    menu_.Anadir([this](QMenu& menu, QPoint) { recientes_.AnadirAlMenu(menu); });
    menu_.Anadir([this](QMenu& menu, QPoint) { ampliable_.AnadirAlMenu(menu); });
}

void frmEditor::HabilitarAcciones(bool habilitar)
{
    for (BotonImagen* boton : {cmdGuardar, cmdEliminar, cmdInsMarcador, cmdLeerMarcador})
        boton->setEnabled(habilitar);
}

void frmEditor::Vaciar()
{
    ++cargaActual_;
    HabilitarAcciones(false);
    txtTraducido->vaciar();
    txtTraducido->terminarCarga();
    lstOriginal->clear();
    LimpiarContadores();
    par_ = {};
}

void frmEditor::LimpiarContadores()
{
    for (QLabel* contador : {lblLl, lblLlo, lblLtl, lblLtlo, lblDisp})
        contador->clear();
    msg->clear();
    p->setVisible(false);
}

void frmEditor::timer_Timer()
{
    monitor_.Tick();
}

void frmEditor::Form_Load()
{
    unidadActual = QCoreApplication::applicationDirPath();
    cmdEliminar->setEnabled(false);
    cmdGuardar->setEnabled(false);
    par_ = {};
    cmdInsMarcador->setEnabled(false);
    cmdLeerMarcador->setEnabled(false);
}

void frmEditor::Form_Activate()
{
    AvisarCarpetaIlegible(mensajes_, Dir1->ruta(), archivos_);
    lstOriginal->setExtensionHorizontal(32767);
    // Selecting the last script first would only be undone by the first: the window ends with the first
    // script loaded either way, so only that one is read.
    if (File1->cantidad() > 0)
        File1->setIndice(0);
}

void frmEditor::closeEvent(QCloseEvent* evento)
{
    Q_EMIT vida_.enRiesgo();
    // A load still yielding stops at its next look at the events, so that the process ends at once.
    ++cargaActual_;
    QWidget::closeEvent(evento);
}

void frmEditor::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    if (mostrada_)
        return;
    mostrada_ = true;
    // Centred, unless it was given its place before it appeared (the growable window's remembered one).
    const QScreen* pantalla = screen();
    if (pantalla && !testAttribute(Qt::WA_Moved))
        move(pantalla->availableGeometry().center() - rect().center());
    File1->setFocus();
    // Start-up runs once, after the window has been shown; regaining the focus later changes nothing.
    QTimer::singleShot(0, this, [this] {
        Proteger(mensajes_, [this] { Form_Activate(); });
        arrancado_ = true;
    });
}
