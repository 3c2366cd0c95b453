// The folder's search and replacement in the window.
#include "busqueda_editor.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidgetItem>
#include <QMenu>
#include <QTextBlock>

#include "borradores_editor.h"
#include "caja_texto.h"
#include "carpeta_scripts.h"
#include "formato_borrador.h"
#include "lista_archivos.h"
#include "memoria_traduccion.h"
#include "mensajes.h"
#include "texto.h"
#include "ventana.h"
#include "ventana_busqueda.h"
#include "vida_par.h"

bool AbrirScript(ListaArchivos& archivos, const QString& nombre)
{
    const QList<QListWidgetItem*> elementos = archivos.findItems(nombre, Qt::MatchExactly);
    if (elementos.isEmpty())
        return false;
    archivos.setIndice(archivos.row(elementos.first()));
    return true;
}

QSet<QString> ScriptsConBorrador(const QString& carpetaDatos, const QString& carpeta,
                                 const QStringList& nombres)
{
    const QDir borradores(CarpetaBorradores(carpetaDatos));
    QSet<QString> con;
    for (const QString& nombre : nombres)
        if (QFileInfo::exists(
                borradores.filePath(NombreArchivoBorrador(CarpetaScripts::RutaTraduccion(carpeta, nombre)))))
            con.insert(nombre);
    return con;
}

BusquedaEditor::BusquedaEditor(ControlesCarpeta controles, MemoriaTraduccion& memoria, const VidaPar& vida,
                               CajaMensajes& mensajes, const QString& carpetaDatos,
                               const QString& carpetaCache)
    : caja_(controles.caja), original_(controles.lista), archivos_(controles.archivos), memoria_(memoria),
      mensajes_(mensajes), ventana_(controles.ventana), respaldo_(controles.respaldo),
      carpetaDatos_(carpetaDatos), consultas_(carpetaCache),
      abrir_(new QAction(QStringLiteral("Buscar en la carpeta…"), &controles.ventana))
{
    QWidget& ventana = controles.ventana;
    ListaArchivos& archivos = controles.archivos;
    abrir_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    abrir_->setShortcutContext(Qt::WindowShortcut);
    ventana.addAction(abrir_);
    connect(abrir_, &QAction::triggered, this, &BusquedaEditor::Mostrar);

    connect(&vida, &VidaPar::carpetaCambiada, this, [this](const QString& carpeta) {
        consultas_.Abrir(carpeta);
        cargado_.clear();
        pendiente_.reset();
        ultimo_.reset();
        if (vista_)
            vista_->ponerDeshacer(false);
        BuscarOtraVez();
    });
    connect(&vida, &VidaPar::cargado, this, [this](const ParCargado& par) {
        cargado_ = QFileInfo(par.rutaOriginal).fileName();
        if (pendiente_ && pendiente_->script == cargado_)
            Seleccionar(*std::exchange(pendiente_, std::nullopt));
    });
    connect(&vida, &VidaPar::eliminado, this, [this] { cargado_.clear(); });
    connect(&consultas_, &ConsultasCarpeta::encontrado, this, [this](const ResultadoBusqueda& resultado) {
        if (vista_)
            vista_->mostrar(resultado);
    });
    connect(&consultas_, &ConsultasCarpeta::planeado, this, &BusquedaEditor::Planeado);
    connect(&consultas_, &ConsultasCarpeta::ejecutado, this, &BusquedaEditor::Ejecutado);
    connect(&consultas_, &ConsultasCarpeta::deshecho, this, &BusquedaEditor::Deshecho);
    // Searches of a folder still being indexed see more once it is.
    connect(&memoria, &MemoriaTraduccion::preparada, this, &BusquedaEditor::BuscarOtraVez);
    consultas_.Abrir(archivos.carpeta());
}

BusquedaEditor::~BusquedaEditor() = default;

void BusquedaEditor::AnadirAlMenu(QMenu& menu)
{
    menu.addAction(abrir_);
}

void BusquedaEditor::Mostrar()
{
    if (!vista_) {
        vista_ = std::make_unique<VentanaBusqueda>(&ventana_);
        connect(vista_.get(), &VentanaBusqueda::buscar, this,
                [this](const OpcionesBusqueda& opciones) { consultas_.Buscar(opciones); });
        connect(vista_.get(), &VentanaBusqueda::elegida, this, &BusquedaEditor::Ir);
        connect(vista_.get(), &VentanaBusqueda::reemplazar, this,
                [this](const OpcionesBusqueda& opciones, const QString& reemplazo) {
                    ContextoReemplazo contexto{.carpeta = archivos_.carpeta(), .cargado = cargado_};
                    if (!cargado_.isEmpty())
                        contexto.lineasCaja = caja_.lineas();
                    contexto.conBorrador = ScriptsConBorrador(carpetaDatos_, archivos_.carpeta(),
                                                              ListaArchivos::ArchivosDe(archivos_.carpeta()));
                    plan_ = consultas_.Planear(contexto, opciones, reemplazo);
                });
        connect(vista_.get(), &VentanaBusqueda::deshacer, this, [this] {
            if (ultimo_)
                consultas_.Deshacer(*std::exchange(ultimo_, std::nullopt));
            vista_->ponerDeshacer(false);
        });
        ColocarAlLado(*vista_, ventana_, respaldo_);
    }
    vista_->show();
    vista_->raise();
    vista_->activateWindow();
    vista_->txtBuscar()->setFocus();
    vista_->txtBuscar()->selectAll();
}

void BusquedaEditor::BuscarOtraVez()
{
    if (vista_ && vista_->isVisible() && !vista_->txtBuscar()->text().isEmpty())
        consultas_.Buscar(vista_->opciones());
}

void BusquedaEditor::Ir(const FilaBusqueda& fila)
{
    if (fila.script == cargado_) {
        Seleccionar(fila);
        return;
    }
    pendiente_ = fila;
    if (!AbrirScript(archivos_, fila.script))
        pendiente_.reset();
}

void BusquedaEditor::Seleccionar(const FilaBusqueda& fila)
{
    ventana_.activateWindow();
    if (fila.enTraduccion.isEmpty()) {
        if (fila.linea < original_.count())
            original_.setIndice(int(fila.linea));
        original_.setFocus();
        return;
    }
    const QTextBlock bloque = caja_.document()->findBlockByNumber(int(fila.linea));
    if (!bloque.isValid())
        return;
    // The box may hold other text than the index: the match is looked for again in the line as it is.
    const Tramos tramos =
        PatronBusqueda(vista_ ? vista_->opciones() : OpcionesBusqueda{}).Buscar(bloque.text());
    QTextCursor cursor(bloque);
    if (!tramos.isEmpty()) {
        cursor.setPosition(bloque.position() + int(tramos.first().inicio));
        cursor.setPosition(bloque.position() + int(tramos.first().inicio + tramos.first().largo),
                           QTextCursor::KeepAnchor);
    }
    caja_.setTextCursor(cursor);
    caja_.ensureCursorVisible();
    caja_.setFocus();
}

void BusquedaEditor::Planeado(quint64 numero, const PlanReemplazo& plan)
{
    if (numero != plan_)
        return;
    if (plan.apariciones() == 0) {
        mensajes_.Mostrar(TextoPregunta(plan));
        return;
    }
    if (mensajes_.Mostrar(TextoPregunta(plan), Botones::SiNo) != Respuesta::Si)
        return;
    // The loaded script's replacement goes into the box, unsaved, as one edit.
    if (plan.caja && !cargado_.isEmpty())
        ReemplazarComoUnaEdicion(caja_, plan.caja->join(u'\n'));
    aparicionesCaja_ = plan.aparicionesCaja;
    consultas_.Ejecutar(plan);
}

void BusquedaEditor::Ejecutado(const HechoReemplazo& hecho)
{
    for (const TraduccionEscrita& escrita : hecho.escritas)
        memoria_.Guardado(escrita.script, escrita.lineas.join(u'\n'));
    if (!hecho.escritas.isEmpty())
        ultimo_ = hecho;
    if (vista_)
        vista_->ponerDeshacer(ultimo_.has_value());
    mensajes_.Mostrar(TextoHecho(hecho, std::exchange(aparicionesCaja_, 0)));
    BuscarOtraVez();
}

void BusquedaEditor::Deshecho(const HechoDeshacer& hecho)
{
    for (const TraduccionEscrita& escrita : hecho.restauradas)
        memoria_.Guardado(escrita.script, escrita.lineas.join(u'\n'));
    mensajes_.Mostrar(TextoDeshacer(hecho));
    BuscarOtraVez();
}
