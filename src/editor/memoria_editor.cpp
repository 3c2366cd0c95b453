// The memory's window, keys and menu entries.
#include "memoria_editor.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QTextBlock>

#include "caja_texto.h"
#include "memoria_traduccion.h"
#include "mensajes.h"
#include "par_cargado.h"
#include "proteger.h"
#include "relleno.h"
#include "ventana.h"
#include "ventana_memoria.h"
#include "vida_par.h"

namespace {

const QString textoVentana = QStringLiteral("Memoria de traducción");
const QString textoRellenar = QStringLiteral("Rellenar repeticiones");
const QString textoAnadir = QStringLiteral("Añadir carpeta a la memoria…");
const QString textoQuitar = QStringLiteral("Quitar carpeta de la memoria");
// Ctrl+1 … Ctrl+5: as many as the window shows.
constexpr int maximoElegibles = 5;

QString ElegirEnEscritorio(QWidget* padre, const QString& inicial)
{
    return QFileDialog::getExistingDirectory(padre, QStringLiteral("Añadir carpeta a la memoria"), inicial);
}

// Replaces the text of a line of the box; within the caller's edit block.
void ReemplazarLinea(QTextCursor& cursor, const QTextBlock& bloque, const QString& texto)
{
    cursor.setPosition(bloque.position());
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(texto);
}

} // namespace

MemoriaEditor::MemoriaEditor(ControlesMemoria controles, MemoriaTraduccion& memoria, const ParCargado& par,
                             const VidaPar& vida, CajaMensajes& mensajes, ElegirCarpeta elegir)
    : c_(controles), memoria_(memoria), par_(par), mensajes_(mensajes),
      elegir_(elegir ? std::move(elegir) : ElegirCarpeta(ElegirEnEscritorio)),
      ventanaMemoria_(new VentanaMemoria(&c_.ventana)),
      mostrar_(NuevaAccion(textoVentana, QKeySequence(Qt::CTRL | Qt::Key_M))),
      rellenar_(NuevaAccion(textoRellenar, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)))
{
    // It follows the box: the translator goes on typing there.
    ventanaMemoria_->setAttribute(Qt::WA_ShowWithoutActivating);
    ventanaMemoria_->setCarpeta(memoria_.carpeta());
    // Ctrl+M hides it from the window itself too.
    ventanaMemoria_->addAction(mostrar_);
    mostrar_->setCheckable(true);
    connect(mostrar_, &QAction::toggled, this, &MemoriaEditor::Mostrar);
    connect(ventanaMemoria_, &QDialog::finished, mostrar_, [this] { mostrar_->setChecked(false); });
    connect(rellenar_, &QAction::triggered, this, [this] { Proteger(mensajes_, [this] { Rellenar(); }); });
    for (int i = 0; i < maximoElegibles; ++i) {
        QAction* elegirN = NuevaAccion(QStringLiteral("Usar la coincidencia %1").arg(i + 1),
                                       QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
        connect(elegirN, &QAction::triggered, this, [this, i] { Elegir(i); });
    }
    connect(ventanaMemoria_, &VentanaMemoria::elegida, this, &MemoriaEditor::Elegir);

    connect(&c_.caja, &QPlainTextEdit::cursorPositionChanged, this, [this] { Seguir(false); });
    connect(&vida, &VidaPar::cargado, this, [this] { Seguir(false); });
    connect(&vida, &VidaPar::saliendo, this, &MemoriaEditor::Olvidar);
    connect(&vida, &VidaPar::carpetaCambiada, this, [this] {
        ventanaMemoria_->setCarpeta(memoria_.carpeta());
        ventanaMemoria_->olvidarNoDisponible();
    });
    connect(&memoria_, &MemoriaTraduccion::consultada, this, &MemoriaEditor::Consultada);
    connect(&memoria_, &MemoriaTraduccion::rellenada, this, [this](const ResultadoRelleno& resultado) {
        Proteger(mensajes_, [&] { Rellenada(resultado); });
    });
    connect(&memoria_, &MemoriaTraduccion::progreso, ventanaMemoria_, &VentanaMemoria::mostrarProgreso);
    connect(&memoria_, &MemoriaTraduccion::noDisponible, ventanaMemoria_,
            &VentanaMemoria::mostrarNoDisponible);
    // What was still being indexed may match now.
    connect(&memoria_, &MemoriaTraduccion::preparada, this, [this] { Seguir(true); });
}

QAction* MemoriaEditor::NuevaAccion(const QString& texto, const QKeySequence& atajo)
{
    auto* accion = new QAction(texto, &c_.caja);
    accion->setShortcut(atajo);
    accion->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    c_.caja.addAction(accion);
    return accion;
}

void MemoriaEditor::AnadirAlMenu(QMenu& menu)
{
    menu.addAction(mostrar_);
    menu.addAction(rellenar_);
    QAction* anadir = menu.addAction(textoAnadir);
    anadir->setEnabled(!memoria_.carpeta().isEmpty());
    connect(anadir, &QAction::triggered, this, [this] { Proteger(mensajes_, [this] { AnadirCarpeta(); }); });
    QMenu* quitar = menu.addMenu(textoQuitar);
    const QStringList anadidas = memoria_.CarpetasAnadidas();
    for (const QString& carpeta : anadidas) {
        QAction* una = quitar->addAction(QDir::toNativeSeparators(carpeta));
        connect(una, &QAction::triggered, this,
                [this, carpeta] { Proteger(mensajes_, [&] { QuitarCarpeta(carpeta); }); });
    }
    quitar->setEnabled(!anadidas.isEmpty());
}

void MemoriaEditor::Mostrar(bool mostrar)
{
    if (!mostrar) {
        ventanaMemoria_->hide();
        return;
    }
    // The editor's font, which it takes only after its features are built; then beside the editor, never
    // over the text being typed.
    if (!ventanaMemoria_->isVisible()) {
        ventanaMemoria_->setFont(c_.ventana.font());
        ColocarAlLado(*ventanaMemoria_, c_.ventana, c_.respaldo);
    }
    ventanaMemoria_->show();
    ventanaMemoria_->raise();
    Seguir(true);
}

void MemoriaEditor::Seguir(bool deNuevo)
{
    if (ventanaMemoria_->isVisible())
        Consultar(deNuevo);
}

// Asks about the caret's line unless it was asked about already (or `deNuevo`: the memory changed); the
// line's number and original say which it is, so that another script is asked about again. A match
// chosen for the line is kept while the line stays the same.
void MemoriaEditor::Consultar(bool deNuevo)
{
    const int linea = c_.caja.textCursor().blockNumber();
    const QString original = par_.completo && linea < c_.lista.count() ? c_.lista.texto(linea) : QString();
    const bool misma = linea == lineaConsultada_ && original == originalConsultado_;
    if (misma && !deNuevo)
        return;
    if (!misma)
        elegida_ = -1;
    lineaConsultada_ = linea;
    originalConsultado_ = original;
    respondida_ = false;
    resultado_ = {};
    consulta_ = 0;
    if (original.trimmed().isEmpty()) {
        ventanaMemoria_->vaciar();
        return;
    }
    consulta_ = memoria_.Consultar(QFileInfo(par_.rutaOriginal).fileName(), linea, original);
}

void MemoriaEditor::Consultada(const ResultadoConsulta& resultado)
{
    // Another feature's lookup of the same memory, or one for a line the caret has left.
    if (consulta_ == 0 || resultado.numero != consulta_)
        return;
    resultado_ = resultado;
    respondida_ = true;
    ventanaMemoria_->mostrar(resultado_);
    Aplicar();
}

void MemoriaEditor::Olvidar()
{
    lineaConsultada_ = -1;
    originalConsultado_.clear();
    consulta_ = 0;
    respondida_ = false;
    resultado_ = {};
    elegida_ = -1;
    relleno_ = 0;
    ventanaMemoria_->vaciar();
}

void MemoriaEditor::Elegir(int indice)
{
    Consultar(false);
    if (lineaConsultada_ < 0 || consulta_ == 0)
        return;
    elegida_ = indice;
    if (respondida_)
        Aplicar();
}

// One edit, which one Ctrl+Z undoes; the caret ends after the translation put in.
void MemoriaEditor::Aplicar()
{
    const int indice = std::exchange(elegida_, -1);
    if (indice < 0 || indice >= resultado_.coincidencias.size())
        return;
    const QTextBlock bloque = c_.caja.document()->findBlockByNumber(lineaConsultada_);
    if (!bloque.isValid())
        return;
    QTextCursor cursor(bloque);
    cursor.beginEditBlock();
    ReemplazarLinea(cursor, bloque, resultado_.coincidencias[indice].traduccion);
    cursor.endEditBlock();
    c_.caja.setTextCursor(cursor);
}

void MemoriaEditor::Rellenar()
{
    if (!par_.completo)
        return;
    lineasRelleno_ = c_.caja.lineas();
    relleno_ = memoria_.Rellenar(c_.lista.lineas(), lineasRelleno_);
}

void MemoriaEditor::Rellenada(const ResultadoRelleno& resultado)
{
    if (relleno_ == 0 || resultado.numero != relleno_)
        return;
    relleno_ = 0;
    const QStringList lineas = c_.caja.lineas();
    // The box changed meanwhile: the fill is worked out again on what it holds now.
    if (lineas != lineasRelleno_) {
        Rellenar();
        return;
    }
    if (resultado.rellenadas > 0) {
        QTextCursor cursor(c_.caja.document());
        cursor.beginEditBlock();
        const qsizetype comunes = std::min(lineas.size(), resultado.lineas.size());
        QTextBlock bloque = c_.caja.document()->begin();
        for (qsizetype i = 0; i < comunes; ++i, bloque = bloque.next()) {
            if (resultado.lineas[i] != lineas[i])
                ReemplazarLinea(cursor, bloque, resultado.lineas[i]);
        }
        if (resultado.lineas.size() > lineas.size()) {
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(u'\n' + resultado.lineas.sliced(lineas.size()).join(u'\n'));
        }
        cursor.endEditBlock();
    }
    mensajes_.Mostrar(TextoRelleno(resultado.rellenadas));
}

void MemoriaEditor::AnadirCarpeta()
{
    const QString carpeta = elegir_(&c_.ventana, memoria_.carpeta());
    if (carpeta.isEmpty())
        return;
    if (!memoria_.AnadirCarpeta(carpeta)) {
        mensajes_.Mostrar(QStringLiteral("La carpeta «%1» ya forma parte de la memoria.")
                              .arg(QDir::toNativeSeparators(carpeta)),
                          Botones::Aceptar, Icono::Exclamacion);
        return;
    }
    Seguir(true);
}

void MemoriaEditor::QuitarCarpeta(const QString& carpeta)
{
    if (memoria_.QuitarCarpeta(carpeta))
        Seguir(true);
}
