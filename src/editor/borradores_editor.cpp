// Drafts in the window: the pause after the last change, the copy a stretch at a time of what differs
// from the reference, the file list's marks, Ctrl+R and the context menu's entries.
#include "borradores_editor.h"

#include <algorithm>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QTextCursor>

#include "caja_texto.h"
#include "carpeta_scripts.h"
#include "formato_documento.h"
#include "mensajes.h"
#include "lista_archivos.h"
#include "par_cargado.h"
#include "texto.h"
#include "vida_par.h"

namespace {

// The longest stretch of copying between two looks at the window's events.
constexpr qint64 nsPorTramo = 1'000'000;

const QString textoRecuperar = QStringLiteral("Recuperar texto sin guardar");
const QString textoDescartar = QStringLiteral("Descartar texto sin guardar");

} // namespace

void ReemplazarComoUnaEdicion(QPlainTextEdit& caja, const QString& texto)
{
    const QString actual = TextoCaja(caja);
    // A document position is an index into its raw text: a line break is one character there too.
    const qsizetype largo = std::min(actual.size(), texto.size());
    qsizetype inicio = 0;
    while (inicio < largo && actual[inicio] == texto[inicio])
        ++inicio;
    qsizetype fin = 0;
    while (fin < largo - inicio && actual[actual.size() - 1 - fin] == texto[texto.size() - 1 - fin])
        ++fin;
    QTextCursor cursor(caja.document());
    cursor.beginEditBlock();
    cursor.setPosition(int(inicio));
    cursor.setPosition(int(actual.size() - fin), QTextCursor::KeepAnchor);
    cursor.insertText(texto.mid(inicio, texto.size() - inicio - fin));
    cursor.endEditBlock();
    cursor.setPosition(int(inicio));
    caja.setTextCursor(cursor);
    caja.ensureCursorVisible();
}

BorradoresEditor::BorradoresEditor(CajaTexto& caja, ListaArchivos& archivos, CajaMensajes& mensajes,
                                   const VidaPar& vida, const QString& carpetaDatos,
                                   std::chrono::milliseconds pausa)
    : caja_(caja), archivos_(archivos), mensajes_(mensajes), almacen_(CarpetaBorradores(carpetaDatos)),
      marca_(QStringLiteral(":/imagenes/borrador.svg")), recuperar_(new QAction(textoRecuperar, &caja))
{
    // The mark is drawn on a 12-pixel grid: at that size (and twice it on a 2x screen) every line is sharp.
    archivos_.setIconSize(QSize(12, 12));
    existentes_ = almacen_.Existentes();
    almacen_.QuitarRestos();
    pausa_.setSingleShot(true);
    pausa_.setInterval(pausa);
    connect(&pausa_, &QTimer::timeout, this, &BorradoresEditor::Conservar);
    tramo_.setSingleShot(true);
    tramo_.setInterval(0);
    connect(&tramo_, &QTimer::timeout, this, &BorradoresEditor::CopiarTramo);
    const auto seguirDocumento = [this] {
        connect(caja_.document(), &QTextDocument::contentsChange, this, &BorradoresEditor::Cambio);
    };
    seguirDocumento();
    connect(&caja_, &CajaTexto::documentoNuevo, this, seguirDocumento);

    connect(&almacen_, &Borradores::conservado, this, [this](const QString& ruta, const QDateTime& fecha) {
        existentes_.insert(ruta, fecha);
        archivos_.decorar(QFileInfo(ruta).fileName());
    });
    connect(&almacen_, &Borradores::eliminado, this, [this](const QString& ruta) {
        existentes_.remove(ruta);
        archivos_.decorar(QFileInfo(ruta).fileName());
    });
    // After the handler that ran into it, so that its message never interrupts a load or a save.
    connect(&almacen_, &Borradores::fallo, this, &BorradoresEditor::AvisarFallo, Qt::QueuedConnection);
    archivos_.setDecorador([this](QListWidgetItem& elemento) { Marcar(elemento); });

    recuperar_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    // Wherever the focus is in the window, as the notice of a draft says.
    recuperar_->setShortcutContext(Qt::WindowShortcut);
    caja_.addAction(recuperar_);
    connect(recuperar_, &QAction::triggered, this, &BorradoresEditor::Recuperar);

    connect(&vida, &VidaPar::enRiesgo, this, &BorradoresEditor::ConservarAhora);
    connect(&vida, &VidaPar::saliendo, this, &BorradoresEditor::Dejar);
    connect(&vida, &VidaPar::traduccionLeida, this, &BorradoresEditor::Empezar);
    connect(&vida, &VidaPar::guardado, this, &BorradoresEditor::Guardado);
    connect(&vida, &VidaPar::eliminado, this, &BorradoresEditor::Eliminado);
    connect(&vida, &VidaPar::guardadoRehusado, this, &BorradoresEditor::Rehusado);
    connect(&vida, &VidaPar::escrituraEnSitio, this, &BorradoresEditor::ConservarAnterior);
}

void BorradoresEditor::AnadirAlMenu(QMenu& menu)
{
    const bool hay = Distinto().has_value();
    QAction* entrada =
        menu.addAction(textoRecuperar + u'\t' + recuperar_->shortcut().toString(QKeySequence::NativeText));
    entrada->setEnabled(hay);
    connect(entrada, &QAction::triggered, this, &BorradoresEditor::Recuperar);
    entrada = menu.addAction(textoDescartar);
    entrada->setEnabled(hay);
    connect(entrada, &QAction::triggered, this, &BorradoresEditor::Descartar);
}

void BorradoresEditor::Empezar(const ParCargado& par, const TextoCompacto& texto)
{
    ruta_ = ClaveBorrador(par.rutaTraduccion);
    referencia_ = texto;
    diferencia_.reset();
    ++sesion_;
    cambiosConservados_ = cambios_;
    pausa_.stop();
    DetenerCopia();
    // A draft that holds what the script's translation now holds (saved by another editor, say) has
    // nothing left to recover.
    if (existentes_.contains(ruta_)) {
        const std::optional<Borrador> borrador = almacen_.Leer(ruta_);
        if (borrador && QAnyStringView::equal(borrador->texto, referencia_.Vista()))
            almacen_.Eliminar(ruta_, referencia_);
    }
}

void BorradoresEditor::Cambio(int posicion, int quitados, int agregados)
{
    // Restyling, such as the spelling underlines, changes no text.
    if (ruta_.isEmpty() || (quitados == agregados && SoloFormato(caja_.document())))
        return;
    // A document position counts a line break as one character, as the reference's '\n' does. The
    // counts the document gives may take in more than changed (the end of the last line), never less.
    const qsizetype largo = Largo();
    const qsizetype despues = std::max<qsizetype>(0, largo - posicion - agregados);
    const qsizetype antes = std::min<qsizetype>(posicion, largo);
    if (!diferencia_)
        diferencia_ = Diferencia{std::min<qsizetype>(antes, referencia_.size()), despues};
    diferencia_->alPrincipio = std::min(diferencia_->alPrincipio, antes);
    diferencia_->alFinal = std::min(diferencia_->alFinal, despues);
    ++cambios_;
    DetenerCopia();
    pausa_.start();
}

BorradoresEditor::Diferencia BorradoresEditor::Diferente() const
{
    return diferencia_.value_or(Diferencia{referencia_.size(), 0});
}

qsizetype BorradoresEditor::Largo() const
{
    // The document counts one paragraph separator more than its text holds.
    return caja_.document()->characterCount() - 1;
}

void BorradoresEditor::Conservar()
{
    if (ruta_.isEmpty() || cambios_ == cambiosConservados_)
        return;
    DetenerCopia();
    cambiosCopia_ = cambios_;
    diferenciaCopia_ = Diferente();
    finCopia_ = Largo() - diferenciaCopia_.alFinal;
    siguienteBloque_ = caja_.document()->findBlock(int(diferenciaCopia_.alPrincipio));
    copia_.reserve(finCopia_ - diferenciaCopia_.alPrincipio);
    CopiarTramo();
}

// Only the copy of what differs is taken on the window's thread; putting the whole text together,
// comparing, encoding and writing happen on the store's own thread.
void BorradoresEditor::CopiarTramo()
{
    if (ruta_.isEmpty() || cambios_ != cambiosCopia_)
        return DetenerCopia();
    QElapsedTimer reloj;
    reloj.start();
    for (int bloques = 1; siguienteBloque_.isValid(); ++bloques) {
        const qsizetype inicio = siguienteBloque_.position();
        const QString texto = siguienteBloque_.text();
        const qsizetype desde = std::max<qsizetype>(diferenciaCopia_.alPrincipio - inicio, 0);
        const qsizetype hasta = std::min<qsizetype>(finCopia_ - inicio, texto.size());
        if (hasta > desde)
            copia_ += QStringView(texto).sliced(desde, hasta - desde);
        // The line break after this line, unless the stretch ends before it.
        if (inicio + texto.size() >= finCopia_)
            break;
        copia_ += u'\n';
        siguienteBloque_ = siguienteBloque_.next();
        if (bloques % 256 == 0 && reloj.nsecsElapsed() > nsPorTramo) {
            tramo_.start();
            return;
        }
    }
    siguienteBloque_ = {};
    cambiosConservados_ = cambiosCopia_;
    almacen_.Conservar({ruta_, std::exchange(copia_, {}), referencia_, sesion_, diferenciaCopia_.alPrincipio,
                        diferenciaCopia_.alFinal});
}

void BorradoresEditor::DetenerCopia()
{
    tramo_.stop();
    siguienteBloque_ = {};
    copia_ = {};
}

void BorradoresEditor::ConservarAhora()
{
    pausa_.stop();
    DetenerCopia();
    if (ruta_.isEmpty() || cambios_ == cambiosConservados_)
        return;
    cambiosConservados_ = cambios_;
    const Diferencia diferencia = Diferente();
    QTextCursor tramo(caja_.document());
    tramo.setPosition(int(diferencia.alPrincipio));
    tramo.setPosition(int(Largo() - diferencia.alFinal), QTextCursor::KeepAnchor);
    almacen_.ConservarAhora(
        {ruta_, tramo.selectedText(), referencia_, sesion_, diferencia.alPrincipio, diferencia.alFinal});
}

void BorradoresEditor::Dejar()
{
    ConservarAhora();
    ruta_.clear();
}

void BorradoresEditor::Guardado(const ParCargado&, const QString& texto)
{
    if (ruta_.isEmpty())
        return;
    pausa_.stop();
    DetenerCopia();
    referencia_ = TextoCompacto(texto);
    diferencia_.reset();
    cambiosConservados_ = cambios_;
    almacen_.Eliminar(ruta_, referencia_);
}

void BorradoresEditor::Eliminado(const QString& rutaTraduccion)
{
    const QString ruta = ClaveBorrador(rutaTraduccion);
    // What was deleted is what the box was loaded from.
    const TextoCompacto eliminado = ruta_ == ruta ? referencia_ : TextoCompacto();
    if (ruta_ == ruta) {
        pausa_.stop();
        DetenerCopia();
        ruta_.clear();
    }
    almacen_.Eliminar(ruta, eliminado);
}

void BorradoresEditor::Rehusado()
{
    if (ruta_.isEmpty())
        return;
    pausa_.stop();
    DetenerCopia();
    // What the box was loaded from is no longer on disk: all of its text is unsaved now, even where it
    // is what was loaded.
    referencia_ = TextoCompacto();
    diferencia_ = Diferencia{};
    cambiosConservados_ = cambios_;
    almacen_.ConservarAhora({ruta_, caja_.document()->toRawText(), referencia_, sesion_});
}

void BorradoresEditor::ConservarAnterior(const QString& rutaTraduccion, const QString& anterior,
                                         bool& conservado)
{
    // An empty file has nothing to lose.
    if (anterior.isEmpty()) {
        conservado = true;
        return;
    }
    pausa_.stop();
    DetenerCopia();
    // The draft holds the file's old text from now on, no longer the box's: should the write fail, the
    // box's text is kept again at the next change or before it is replaced.
    ++cambios_;
    conservado = almacen_.ConservarAhora({rutaTraduccion, anterior, TextoCompacto(), sesion_});
}

std::optional<Borrador> BorradoresEditor::Distinto()
{
    if (ruta_.isEmpty())
        return std::nullopt;
    // Read from the store, not from the marks: another editor may have kept it.
    std::optional<Borrador> borrador = almacen_.Leer(ruta_);
    if (!borrador || borrador->texto == TextoCaja(caja_))
        return std::nullopt;
    return borrador;
}

std::optional<QDateTime> BorradoresEditor::FechaDistinto()
{
    const std::optional<Borrador> borrador = Distinto();
    return borrador ? std::optional(borrador->fecha) : std::nullopt;
}

void BorradoresEditor::Recuperar()
{
    const std::optional<Borrador> borrador = Distinto();
    if (!borrador)
        return;
    ReemplazarComoUnaEdicion(caja_, borrador->texto);
}

void BorradoresEditor::Descartar()
{
    if (ruta_.isEmpty())
        return;
    almacen_.Eliminar(ruta_);
}

void BorradoresEditor::Marcar(QListWidgetItem& elemento)
{
    const QString ruta = ClaveBorrador(CarpetaScripts::RutaTraduccion(archivos_.carpeta(), elemento.text()));
    const auto borrador = existentes_.constFind(ruta);
    if (borrador == existentes_.cend()) {
        elemento.setIcon(QIcon());
        elemento.setToolTip(QString());
        return;
    }
    elemento.setIcon(marca_);
    elemento.setToolTip(u"Texto sin guardar del " +
                        borrador->toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")));
}

void BorradoresEditor::AvisarFallo(const QString& carpeta, const QString& motivo)
{
    if (falloAvisado_)
        return;
    falloAvisado_ = true;
    mensajes_.Mostrar(QStringLiteral("No se puede conservar el texto sin guardar en la carpeta %1: %2.\n"
                                     "El editor sigue funcionando, pero lo que no se guarde con F12 no "
                                     "se podrá recuperar.")
                          .arg(QDir::toNativeSeparators(carpeta), motivo),
                      Botones::Aceptar, Icono::Exclamacion);
}
