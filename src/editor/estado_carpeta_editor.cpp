// The folder's status in the window.
#include "estado_carpeta_editor.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QListWidgetItem>
#include <QMenu>
#include <QTableView>
#include <QToolTip>

#include "busqueda_editor.h"
#include "caja_texto.h"
#include "carpeta_scripts.h"
#include "codigos_carpeta.h"
#include "lista_archivos.h"
#include "memoria_traduccion.h"
#include "ventana.h"
#include "ventana_estado.h"
#include "vida_par.h"

EstadoCarpetaEditor::EstadoCarpetaEditor(ControlesCarpeta controles, MemoriaTraduccion& memoria,
                                         const VidaPar& vida, CajaMensajes& mensajes,
                                         const QString& carpetaDatos, const QString& carpetaCache)
    : archivos_(controles.archivos), original_(controles.lista), mensajes_(mensajes),
      ventana_(controles.ventana), respaldo_(controles.respaldo), carpetaDatos_(carpetaDatos),
      consultas_(carpetaCache),
      abrir_(new QAction(QStringLiteral("Estado de la carpeta…"), &controles.ventana))
{
    QWidget& ventana = controles.ventana;
    ListaArchivos& archivos = controles.archivos;
    abrir_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    abrir_->setShortcutContext(Qt::WindowShortcut);
    ventana.addAction(abrir_);
    connect(abrir_, &QAction::triggered, this, &EstadoCarpetaEditor::Mostrar);
    connect(&vida, &VidaPar::carpetaCambiada, this, [this](const QString& carpeta) {
        consultas_.Abrir(carpeta);
        figuras_.clear();
        porNombre_.clear();
        guardadas_.clear();
        Calcular();
    });
    connect(&vida, &VidaPar::guardado, this, &EstadoCarpetaEditor::Guardado);
    connect(&vida, &VidaPar::eliminado, this, &EstadoCarpetaEditor::Calcular);
    // The index is complete: every script has its figures.
    connect(&memoria, &MemoriaTraduccion::preparada, this, &EstadoCarpetaEditor::Calcular);
    connect(&consultas_, &ConsultasCarpeta::estadoCalculado, this, &EstadoCarpetaEditor::Recibir);
    connect(&consultas_, &ConsultasCarpeta::guardadoCalculado, this, &EstadoCarpetaEditor::RecibirGuardado);
    archivos.viewport()->installEventFilter(this);
    consultas_.Abrir(archivos.carpeta());
}

EstadoCarpetaEditor::~EstadoCarpetaEditor() = default;

void EstadoCarpetaEditor::AnadirAlMenu(QMenu& menu)
{
    menu.addAction(abrir_);
}

void EstadoCarpetaEditor::Calcular()
{
    const QString carpeta = archivos_.carpeta();
    OpcionesEstado opciones;
    opciones.patron = PatronCodigos(LeerCodigosCarpeta(carpeta));
    consultas_.CalcularEstado(opciones,
                              ScriptsConBorrador(carpetaDatos_, carpeta, ListaArchivos::ArchivosDe(carpeta)));
}

void EstadoCarpetaEditor::Mostrar()
{
    if (!vista_) {
        vista_ = std::make_unique<VentanaEstado>(mensajes_, &ventana_);
        connect(vista_.get(), &VentanaEstado::elegido, this,
                [this](const QString& script) { AbrirScript(archivos_, script); });
        ColocarAlLado(*vista_, ventana_, respaldo_);
        vista_->mostrar(figuras_);
    }
    Calcular();
    vista_->show();
    vista_->raise();
    vista_->activateWindow();
    vista_->tabla()->setFocus();
}

void EstadoCarpetaEditor::Recibir(quint64, const QList<FigurasScript>& figuras)
{
    figuras_ = figuras;
    porNombre_.clear();
    for (qsizetype i = 0; i < figuras_.size(); ++i) {
        FigurasScript& fila = figuras_[i];
        porNombre_.insert(fila.nombre, i);
        const auto guardada = guardadas_.constFind(fila.nombre);
        if (guardada == guardadas_.cend())
            continue;
        if (fila.guardada.isValid() && fila.guardada >= guardada->guardada)
            guardadas_.erase(guardada);
        else
            fila = *guardada;
    }
    if (vista_)
        vista_->mostrar(figuras_);
}

void EstadoCarpetaEditor::Guardado(const ParCargado& par, const QString& texto)
{
    // The index learns of the save on the memory's thread; the saved pair itself says where it stands,
    // worked out on the queries' thread: the checks of a long script would hold the window.
    OpcionesEstado opciones;
    opciones.patron = PatronCodigos(LeerCodigosCarpeta(archivos_.carpeta()));
    consultas_.CalcularGuardado(QFileInfo(par.rutaOriginal).fileName(), original_.lineas(), texto, opciones);
}

void EstadoCarpetaEditor::RecibirGuardado(FigurasScript figuras)
{
    const QString nombre = figuras.nombre;
    const QDateTime escrita =
        QFileInfo(CarpetaScripts::RutaTraduccion(archivos_.carpeta(), nombre)).lastModified();
    figuras.guardada = escrita.isValid() ? escrita : QDateTime::currentDateTime();
    guardadas_.insert(nombre, figuras);
    if (const auto it = porNombre_.constFind(nombre); it != porNombre_.cend()) {
        figuras_[*it] = figuras;
    } else {
        porNombre_.insert(nombre, figuras_.size());
        figuras_.append(figuras);
    }
    if (vista_)
        vista_->mostrar(figuras_);
}

bool EstadoCarpetaEditor::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() != QEvent::ToolTip)
        return QObject::eventFilter(objeto, evento);
    const auto* ayuda = static_cast<QHelpEvent*>(evento);
    const QListWidgetItem* elemento = archivos_.itemAt(ayuda->pos());
    const auto it = elemento ? porNombre_.constFind(elemento->text()) : porNombre_.cend();
    if (it == porNombre_.cend())
        return QObject::eventFilter(objeto, evento);
    // The draft's own tooltip, when the item has one, goes below the figures.
    QString texto = TextoFiguras(figuras_[*it]);
    if (!elemento->toolTip().isEmpty())
        texto += u'\n' + elemento->toolTip();
    QToolTip::showText(ayuda->globalPos(), texto, archivos_.viewport());
    return true;
}
