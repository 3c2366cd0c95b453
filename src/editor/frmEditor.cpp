// The window: its controls, start-up and the wiring of its handlers.
#include "frmEditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include "boton_imagen.h"
#include "caja_texto.h"
#include "carpeta_scripts.h"
#include "errores.h"
#include "estado_borradores.h"
#include "fuentes.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"
#include "lista_unidades.h"

namespace {

constexpr int anchoCliente = 649;
constexpr int altoCliente = 448;

QLabel* NuevaEtiqueta(QWidget* padre, const QString& texto, QRect lugar, QColor color = Qt::black)
{
    auto* etiqueta = new QLabel(texto, padre);
    etiqueta->setGeometry(lugar);
    etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::WindowText, color);
    etiqueta->setPalette(paleta);
    return etiqueta;
}

// A counter: bold, coloured, holding a length as decimal text.
QLabel* NuevoContador(QWidget* padre, QRect lugar, QColor color, Qt::Alignment alineacion)
{
    QLabel* contador = NuevaEtiqueta(padre, QString(), lugar, color);
    QFont negrita = contador->font();
    negrita.setBold(true);
    contador->setFont(negrita);
    contador->setAlignment(alineacion | Qt::AlignTop);
    return contador;
}

const QColor azul(0, 0, 255);
const QColor rojo(255, 0, 0);

} // namespace

frmEditor::frmEditor(Servicios servicios, QWidget* padre)
    : QWidget(padre), mensajes_(servicios.mensajes),
      unidades_(servicios.unidades ? std::move(servicios.unidades) : ProveedorUnidades(RaicesMontadas)),
      archivos_(servicios.archivos ? *servicios.archivos : SistemaReal()),
      carpetaInicial_(servicios.carpetaInicial.isEmpty() ? QDir::currentPath() : servicios.carpetaInicial),
      carpetaDatos_(servicios.carpetaDatos.isEmpty()
                        ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                        : servicios.carpetaDatos),
      archivoAjustes_(std::move(servicios.archivoAjustes)),
      carpetasDiccionarios_(std::move(servicios.carpetasDiccionarios))
{
    if (!mensajes_) {
        mensajesQt_ = std::make_unique<CajaMensajesQt>(this);
        mensajes_ = mensajesQt_.get();
    }
    setWindowTitle(QStringLiteral("Velarto de Scripts por Ostrano - 2006  [v1.0.0.5]"));
    setWindowIcon(QIcon(QStringLiteral(":/imagenes/lapiz.svg")));
    setFont(FuenteSans());
    setFixedSize(anchoCliente, altoCliente);
    CrearControles();
    OrdenTabulacion();
    DescribirAccesibilidad();
    Conectar();
    Form_Load();
}

frmEditor::~frmEditor()
{
    ConservarBorradorAhora();
    // A load still yielding must not write into a window that is going away.
    ++cargaActual_;
}

void frmEditor::CrearControles()
{
    lblLargoLinea =
        NuevaEtiqueta(this, QStringLiteral("Largo de línea:"), {8, 8, 73, 17}, QColor(128, 64, 64));
    lblLl = NuevoContador(this, {80, 8, 33, 17}, azul, Qt::AlignRight);
    Label1 = NuevaEtiqueta(this, QStringLiteral("de"), {120, 8, 17, 17});
    lblLlo = NuevoContador(this, {136, 8, 33, 17}, rojo, Qt::AlignLeft);
    lblLargoTotal = NuevaEtiqueta(this, QStringLiteral("Largo Total:"), {192, 8, 57, 17}, QColor(0, 64, 0));
    lblLtl = NuevoContador(this, {248, 8, 33, 17}, azul, Qt::AlignRight);
    Label2 = NuevaEtiqueta(this, QStringLiteral("de"), {288, 8, 17, 17});
    lblLtlo = NuevoContador(this, {304, 8, 33, 17}, rojo, Qt::AlignLeft);
    Label3 = NuevaEtiqueta(this, QStringLiteral("Disponible:"), {352, 8, 57, 17}, QColor(64, 64, 0));
    lblDisp = NuevoContador(this, {408, 8, 33, 17}, rojo, Qt::AlignLeft);

    const QFont courier = FuenteCourier();
    txtTraducido = new CajaTexto(this);
    txtTraducido->setGeometry(8, 24, 449, 169);
    txtTraducido->setFont(courier);
    txtTraducido->setFrameShape(QFrame::Box);
    txtTraducido->setFrameShadow(QFrame::Plain);

    lstOriginal = new ListaSimple(this);
    lstOriginal->setGeometry(8, 200, 449, 171);
    lstOriginal->setFont(courier);
    lstOriginal->setFrameShape(QFrame::Box);
    lstOriginal->setFrameShadow(QFrame::Plain);

    CrearBrowser();

    p = new QLabel(this);
    p->setGeometry(8, 376, 32, 32);
    p->setPixmap(
        QIcon(QStringLiteral(":/imagenes/advertencia.svg")).pixmap(QSize(32, 32), devicePixelRatioF()));
    p->setVisible(false);
    msg = NuevaEtiqueta(this, QString(), {48, 376, 361, 41});
    msg->setWordWrap(true);

    CrearBotones();

    ck = new QCheckBox(QStringLiteral("Ventana siempre encima"), this);
    ck->setGeometry(8, 424, 145, 17);

    timer = new QTimer(this);
    timer->setInterval(2);
    timer->setTimerType(Qt::PreciseTimer);
    timer->start();
}

void frmEditor::CrearBrowser()
{
    Frame1 = new QGroupBox(QStringLiteral("Ubicación"), this);
    Frame1->setGeometry(464, 16, 177, 353);
    Frame1->setFlat(true);
    // The browser's controls are placed in the window's coordinates, inside the frame.
    const QPoint origen = Frame1->pos();
    Drive1 = new ListaUnidades(unidades_, carpetaInicial_, Frame1);
    Drive1->setGeometry(QRect(472, 32, 161, 21).translated(-origen));
    Dir1 = new ListaCarpetas(unidades_, carpetaInicial_, Frame1);
    Dir1->setGeometry(QRect(472, 64, 161, 96).translated(-origen));
    File1 = new ListaArchivos(carpetaInicial_, Frame1);
    File1->setGeometry(QRect(472, 168, 161, 197).translated(-origen));
}

void frmEditor::CrearBotones()
{
    const auto boton = [this](const QString& texto, const QString& imagen, int x) {
        auto* b = new BotonImagen(texto, QIcon(u":/imagenes/" + imagen + u".svg"), this);
        b->setGeometry(x, 376, 57, 65);
        return b;
    };
    cmdGuardar = boton(QStringLiteral("[F12]"), QStringLiteral("guardar"), 416);
    cmdEliminar = boton(QStringLiteral("[Supr]"), QStringLiteral("papelera"), 472);
    cmdInsMarcador = boton(QStringLiteral("Insertar marcador"), QStringLiteral("bandeja"), 528);
    cmdLeerMarcador = boton(QStringLiteral("Cargar marcador"), QStringLiteral("fichero"), 584);
}

void frmEditor::OrdenTabulacion()
{
    // Only these take the focus, in this order; the rest are passed by.
    const QList<QWidget*> orden{File1,      lstOriginal, Dir1,         Drive1,         ck,
                                cmdGuardar, cmdEliminar, txtTraducido, cmdInsMarcador, cmdLeerMarcador};
    for (qsizetype i = 0; i + 1 < orden.size(); ++i)
        setTabOrder(orden[i], orden[i + 1]);
    for (QWidget* w : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(p), static_cast<QWidget*>(msg)})
        w->setFocusPolicy(Qt::NoFocus);
}

void frmEditor::DescribirAccesibilidad()
{
    txtTraducido->setAccessibleName(QStringLiteral("Traducción"));
    lstOriginal->setAccessibleName(QStringLiteral("Líneas del original"));
    Drive1->setAccessibleName(QStringLiteral("Unidad"));
    Dir1->setAccessibleName(QStringLiteral("Carpeta"));
    File1->setAccessibleName(QStringLiteral("Scripts"));
    p->setAccessibleName(QStringLiteral("Advertencia"));
    lblLl->setAccessibleDescription(QStringLiteral("Largo de la línea actual de la traducción"));
    lblLlo->setAccessibleDescription(QStringLiteral("Largo de la línea seleccionada del original"));
    lblLtl->setAccessibleDescription(QStringLiteral("Largo total de la traducción"));
    lblLtlo->setAccessibleDescription(QStringLiteral("Largo total del original"));
    lblDisp->setAccessibleDescription(QStringLiteral("Caracteres disponibles"));
    msg->setAccessibleDescription(QStringLiteral("Advertencia"));
}

void frmEditor::Conectar()
{
    connect(File1, &ListaArchivos::click, this, [this] { Proteger([this] { File1_Click(); }); });
    connect(File1, &ListaArchivos::teclaSoltada, this,
            [this](int codigo, int shift) { Proteger([=, this] { File1_KeyUp(codigo, shift); }); });
    connect(txtTraducido, &CajaTexto::teclaSoltada, this,
            [this](int codigo, int shift) { Proteger([=, this] { txtTraducido_KeyUp(codigo, shift); }); });
    connect(Dir1, &ListaCarpetas::cambio, this, [this] { Proteger([this] { Dir1_Change(); }); });
    connect(Dir1, &ListaCarpetas::fallo, this, [this](const ErrorEjecucion& e) { MostrarError(e); });
    connect(Drive1, &ListaUnidades::cambio, this, [this] { Proteger([this] { Drive1_Change(); }); });
    connect(cmdGuardar, &QPushButton::clicked, this, [this] { Proteger([this] { cmdGuardar_Click(); }); });
    connect(cmdEliminar, &QPushButton::clicked, this, [this] { Proteger([this] { cmdEliminar_Click(); }); });
    connect(cmdInsMarcador, &QPushButton::clicked, this,
            [this] { Proteger([this] { cmdInsMarcador_Click(); }); });
    connect(cmdLeerMarcador, &QPushButton::clicked, this,
            [this] { Proteger([this] { cmdLeerMarcador_Click(); }); });
    connect(ck, &QCheckBox::stateChanged, this, [this] { Proteger([this] { ck_Click(); }); });
    connect(timer, &QTimer::timeout, this, [this] { timer_Timer(); });
    ConectarMonitor();
    ConectarBorradores();
    ConectarCodificacion();
    ConectarMarcas();
    ConectarOrtografia();
}

template <typename Manejador> void frmEditor::Proteger(Manejador manejador)
{
    try {
        manejador();
    } catch (const ErrorEjecucion& error) {
        MostrarError(error);
    }
}

void frmEditor::MostrarError(const ErrorEjecucion& error)
{
    mensajes_->Mostrar(error.aviso());
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
    txtTraducido->clear();
    txtTraducido->terminarCarga();
    lstOriginal->clear();
    LimpiarContadores();
    OlvidarPar();
}

void frmEditor::LimpiarContadores()
{
    for (QLabel* contador : {lblLl, lblLlo, lblLtl, lblLtlo, lblDisp})
        contador->clear();
    msg->clear();
    p->setVisible(false);
}

QString frmEditor::carpetaScripts() const
{
    return Dir1->ruta();
}

QString frmEditor::rutaOriginal() const
{
    return CarpetaScripts::RutaOriginal(carpetaScripts(), File1->nombreArchivo());
}

QString frmEditor::rutaTraduccion() const
{
    return CarpetaScripts::RutaTraduccion(carpetaScripts(), File1->nombreArchivo());
}

void frmEditor::Form_Load()
{
    unidadActual = QCoreApplication::applicationDirPath();
    cmdEliminar->setEnabled(false);
    cmdGuardar->setEnabled(false);
    OlvidarPar();
    cmdInsMarcador->setEnabled(false);
    cmdLeerMarcador->setEnabled(false);
}

void frmEditor::Form_Activate()
{
    lstOriginal->setExtensionHorizontal(32767);
    // Selecting the last script first would only be undone by the first: the window ends with the first
    // script loaded either way, so only that one is read.
    if (File1->cantidad() > 0)
        File1->setIndice(0);
}

void frmEditor::closeEvent(QCloseEvent* evento)
{
    ConservarBorradorAhora();
    QWidget::closeEvent(evento);
}

void frmEditor::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    if (mostrada_)
        return;
    mostrada_ = true;
    if (const QScreen* pantalla = screen())
        move(pantalla->availableGeometry().center() - rect().center());
    File1->setFocus();
    // Start-up runs once, after the window has been shown; regaining the focus later changes nothing.
    QTimer::singleShot(0, this, [this] {
        Proteger([this] { Form_Activate(); });
        arrancado_ = true;
    });
}
