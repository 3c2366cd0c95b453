// Drafts: whatever the box holds that differs from what was last loaded or saved is kept aside in
// the user's data folder, a while after the last change and at once before anything replaces the
// box's text. Ctrl+R brings it back as one edit; the file list marks the scripts that have one.
#include "frmEditor.h"

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
#include "estado_borradores.h"
#include "lista_archivos.h"

namespace {

// How long the box must be left alone before its text is kept.
constexpr int msPausaBorrador = 2000;
// The longest stretch of copying between two looks at the window's events.
constexpr qint64 nsPorTramo = 1'000'000;

const QString textoRecuperar = QStringLiteral("Recuperar texto sin guardar");
const QString textoDescartar = QStringLiteral("Descartar texto sin guardar");

// The box's text as the store and the references hold it: lines joined by '\n'.
QString TextoCaja(const CajaTexto& caja)
{
    QString texto = caja.document()->toRawText();
    texto.replace(QChar::ParagraphSeparator, u'\n');
    return texto;
}

} // namespace

void ReemplazarComoUnaEdicion(QPlainTextEdit& caja, const QString& texto)
{
    QString actual = caja.document()->toRawText();
    actual.replace(QChar::ParagraphSeparator, u'\n');
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

void frmEditor::ConectarBorradores()
{
    borradores_ =
        std::make_unique<EstadoBorradores>(QDir(carpetaDatos_).filePath(QStringLiteral("borradores")));
    EstadoBorradores& b = *borradores_;
    b.marca = QIcon(QStringLiteral(":/imagenes/borrador.svg"));
    // The mark is drawn on a 12-pixel grid: at that size (and twice it on a 2x screen) every line is sharp.
    File1->setIconSize(QSize(12, 12));
    b.existentes = b.almacen.Existentes();
    b.almacen.QuitarRestos();
    b.pausa.setSingleShot(true);
    b.pausa.setInterval(msPausaBorrador);
    connect(&b.pausa, &QTimer::timeout, this, [this] { ConservarBorrador(); });
    b.tramo.setSingleShot(true);
    b.tramo.setInterval(0);
    connect(&b.tramo, &QTimer::timeout, this, [this] { CopiarTramoBorrador(); });
    connect(txtTraducido, &QPlainTextEdit::textChanged, this, [this] {
        EstadoBorradores& e = *borradores_;
        if (e.ruta.isEmpty())
            return;
        ++e.cambios;
        DetenerCopiaBorrador();
        e.pausa.start();
    });

    connect(&b.almacen, &Borradores::conservado, this, [this](const QString& ruta, const QDateTime& fecha) {
        borradores_->existentes.insert(ruta, fecha);
        File1->decorar(QFileInfo(ruta).fileName());
    });
    connect(&b.almacen, &Borradores::eliminado, this, [this](const QString& ruta) {
        borradores_->existentes.remove(ruta);
        File1->decorar(QFileInfo(ruta).fileName());
    });
    // After the handler that ran into it, so that its message never interrupts a load or a save.
    connect(&b.almacen, &Borradores::fallo, this, &frmEditor::AvisarFalloBorradores, Qt::QueuedConnection);
    File1->setDecorador([this](QListWidgetItem& elemento) { MarcarBorrador(elemento); });

    auto* recuperar = new QAction(textoRecuperar, txtTraducido);
    recuperar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    recuperar->setShortcutContext(Qt::WidgetShortcut);
    txtTraducido->addAction(recuperar);
    connect(recuperar, &QAction::triggered, this, [this] { RecuperarBorrador(); });
    connect(txtTraducido, &CajaTexto::menuContextual, this, [this](QMenu* menu) {
        const bool hay = BorradorDistinto().has_value();
        menu->addSeparator();
        QAction* entrada = menu->addAction(
            textoRecuperar + u'\t' + QKeySequence(Qt::CTRL | Qt::Key_R).toString(QKeySequence::NativeText));
        entrada->setEnabled(hay);
        connect(entrada, &QAction::triggered, this, [this] { RecuperarBorrador(); });
        entrada = menu->addAction(textoDescartar);
        entrada->setEnabled(hay);
        connect(entrada, &QAction::triggered, this, [this] { DescartarBorrador(); });
    });
    // The clean-quit signals end the event loop; the text is kept before the process goes on to exit.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            [this] { ConservarBorradorAhora(); });
}

void frmEditor::EmpezarBorrador()
{
    EstadoBorradores& b = *borradores_;
    b.ruta = ClaveBorrador(par_.rutaTraduccion);
    b.referencia = TextoCaja(*txtTraducido);
    ++b.sesion;
    b.cambiosConservados = b.cambios;
    b.pausa.stop();
    DetenerCopiaBorrador();
    // A draft that holds what the script's translation now holds (saved by another editor, say) has
    // nothing left to recover.
    if (b.existentes.contains(b.ruta)) {
        const std::optional<Borrador> borrador = b.almacen.Leer(b.ruta);
        if (borrador && borrador->texto == b.referencia)
            b.almacen.Eliminar(b.ruta);
    }
}

void frmEditor::ConservarBorrador()
{
    EstadoBorradores& b = *borradores_;
    if (b.ruta.isEmpty() || b.cambios == b.cambiosConservados)
        return;
    DetenerCopiaBorrador();
    b.cambiosCopia = b.cambios;
    b.siguienteBloque = txtTraducido->document()->begin();
    b.copia.reserve(txtTraducido->document()->characterCount());
    CopiarTramoBorrador();
}

// Only the copy of the document's text is taken on the window's thread; comparing, encoding and
// writing happen on the store's own thread.
void frmEditor::CopiarTramoBorrador()
{
    EstadoBorradores& b = *borradores_;
    if (b.ruta.isEmpty() || b.cambios != b.cambiosCopia)
        return DetenerCopiaBorrador();
    QElapsedTimer reloj;
    reloj.start();
    for (int bloques = 1; b.siguienteBloque.isValid(); ++bloques) {
        b.copia += b.siguienteBloque.text();
        b.siguienteBloque = b.siguienteBloque.next();
        if (b.siguienteBloque.isValid())
            b.copia += u'\n';
        if (bloques % 256 == 0 && reloj.nsecsElapsed() > nsPorTramo) {
            b.tramo.start();
            return;
        }
    }
    b.cambiosConservados = b.cambiosCopia;
    b.almacen.Conservar({b.ruta, std::exchange(b.copia, {}), b.referencia, b.sesion});
}

void frmEditor::DetenerCopiaBorrador()
{
    EstadoBorradores& b = *borradores_;
    b.tramo.stop();
    b.siguienteBloque = {};
    b.copia = {};
}

void frmEditor::ConservarBorradorAhora()
{
    EstadoBorradores& b = *borradores_;
    b.pausa.stop();
    DetenerCopiaBorrador();
    if (b.ruta.isEmpty() || b.cambios == b.cambiosConservados)
        return;
    b.cambiosConservados = b.cambios;
    b.almacen.ConservarAhora({b.ruta, txtTraducido->document()->toRawText(), b.referencia, b.sesion});
}

void frmEditor::DejarBorrador()
{
    ConservarBorradorAhora();
    borradores_->ruta.clear();
}

void frmEditor::BorradorGuardado()
{
    EstadoBorradores& b = *borradores_;
    if (b.ruta.isEmpty())
        return;
    b.pausa.stop();
    DetenerCopiaBorrador();
    b.almacen.Eliminar(b.ruta);
    b.referencia = TextoCaja(*txtTraducido);
    b.cambiosConservados = b.cambios;
}

void frmEditor::BorradorEliminado()
{
    EstadoBorradores& b = *borradores_;
    const QString ruta = ClaveBorrador(rutaTraduccion());
    if (b.ruta == ruta) {
        b.pausa.stop();
        DetenerCopiaBorrador();
        b.ruta.clear();
    }
    b.almacen.Eliminar(ruta);
}

std::optional<QString> frmEditor::BorradorDistinto()
{
    EstadoBorradores& b = *borradores_;
    if (b.ruta.isEmpty())
        return std::nullopt;
    // Read from the store, not from the marks: another editor may have kept it.
    std::optional<Borrador> borrador = b.almacen.Leer(b.ruta);
    if (!borrador || borrador->texto == TextoCaja(*txtTraducido))
        return std::nullopt;
    return std::move(borrador->texto);
}

void frmEditor::RecuperarBorrador()
{
    const std::optional<QString> texto = BorradorDistinto();
    if (!texto)
        return;
    ReemplazarComoUnaEdicion(*txtTraducido, *texto);
}

void frmEditor::DescartarBorrador()
{
    EstadoBorradores& b = *borradores_;
    if (b.ruta.isEmpty())
        return;
    b.almacen.Eliminar(b.ruta);
}

void frmEditor::MarcarBorrador(QListWidgetItem& elemento)
{
    const EstadoBorradores& b = *borradores_;
    const QString ruta = ClaveBorrador(CarpetaScripts::RutaTraduccion(File1->carpeta(), elemento.text()));
    const auto borrador = b.existentes.constFind(ruta);
    if (borrador == b.existentes.cend()) {
        elemento.setIcon(QIcon());
        elemento.setToolTip(QString());
        return;
    }
    elemento.setIcon(b.marca);
    elemento.setToolTip(u"Texto sin guardar del " +
                        borrador->toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")));
}

void frmEditor::AvisarFalloBorradores(const QString& carpeta, const QString& motivo)
{
    EstadoBorradores& b = *borradores_;
    if (b.falloAvisado)
        return;
    b.falloAvisado = true;
    mensajes_->Mostrar(QStringLiteral("No se puede conservar el texto sin guardar en la carpeta %1: %2.\n"
                                      "El editor sigue funcionando, pero lo que no se guarde con F12 no "
                                      "se podrá recuperar.")
                           .arg(QDir::toNativeSeparators(carpeta), motivo),
                       Botones::Aceptar, Icono::Exclamacion);
}
