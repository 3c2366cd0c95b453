// Spelling in the window: the highlighter, the corrections, the switch and the language.
#include "ortografia_editor.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTextBlock>

#include "ajustes.h"
#include "caja_texto.h"
#include "diccionarios.h"
#include "errores.h"
#include "mensajes.h"
#include "proteger.h"
#include "palabras.h"
#include "resaltador.h"
#include "revisor.h"
#include "vida_par.h"

namespace {

const QString textoRevisar = QStringLiteral("Revisar ortografía");
const QString textoIdioma = QStringLiteral("Idioma de la ortografía");
const QString sinDiccionarios =
    QStringLiteral("No hay diccionarios instalados: instale el paquete hunspell-es");
const QString claveActiva = QStringLiteral("ortografia/activa");
const QString claveIdioma = QStringLiteral("ortografia/idioma");
constexpr int maximoSugerencias = 6;

} // namespace

OrtografiaEditor::OrtografiaEditor(CajaTexto& caja, VidaPar& vida, CajaMensajes& mensajes,
                                   const QString& carpetaDatos, const QString& archivoAjustes,
                                   const QStringList& carpetasDiccionarios)
    : caja_(caja), mensajes_(mensajes), archivoAjustes_(archivoAjustes),
      revisor_(
          std::make_shared<Revisor>(QDir(carpetaDatos).filePath(QStringLiteral("palabras_personales.txt")))),
      diccionarios_(
          BuscarDiccionarios(carpetasDiccionarios.isEmpty() ? CarpetasDiccionarios() : carpetasDiccionarios)),
      revisar_(new QAction(textoRevisar, &caja))
{
    CargarDiccionario();
    const bool disponible = revisor_->disponible();
    const bool activa = disponible && Ajustes()->value(claveActiva, true).toBool();

    resaltador_ = new ResaltadorOrtografia(
        caja_.document(), revisor_,
        [this] {
            const int primera = caja_.cursorForPosition(QPoint(0, 0)).blockNumber();
            const int ultima =
                caja_.cursorForPosition(QPoint(0, caja_.viewport()->height() - 1)).blockNumber();
            return std::pair{primera, ultima};
        },
        this);
    resaltador_->setActivo(activa);
    connect(&caja_, &CajaTexto::documentoNuevo, this,
            [this] { resaltador_->setDocumento(caja_.document()); });
    // Lines checked while off screen are underlined as they come on it: when the view scrolls or is
    // drawn whole (it grew, or its lines moved), not when the caret blinks.
    connect(&caja_, &QPlainTextEdit::updateRequest, this, [this](const QRect& zona, int dy) {
        if (dy != 0 || zona.contains(caja_.viewport()->rect()))
            resaltador_->RevisarVisibles();
    });

    revisar_->setCheckable(true);
    revisar_->setChecked(activa);
    revisar_->setEnabled(disponible);
    revisar_->setShortcut(QKeySequence(Qt::Key_F7));
    revisar_->setShortcutContext(Qt::WidgetShortcut);
    if (!disponible)
        revisar_->setToolTip(sinDiccionarios);
    caja_.addAction(revisar_);
    connect(revisar_, &QAction::toggled, this, &OrtografiaEditor::Activar);

    // While a pair is loaded its slices would only be checked between them: the idle checking waits
    // for the whole pair (or an emptied editor, or a pair that could not be loaded), then starts on the
    // lines on screen.
    SeguirCargas(vida, this, [this](bool cargando) { resaltador_->pausar(cargando); });
}

std::unique_ptr<QSettings> OrtografiaEditor::Ajustes() const
{
    return AbrirAjustes(archivoAjustes_);
}

// The remembered language first; es_ES (listed first) when it is gone.
void OrtografiaEditor::CargarDiccionario()
{
    const QString guardado = Ajustes()->value(claveIdioma).toString();
    QList<Diccionario> candidatos = diccionarios_;
    std::stable_partition(candidatos.begin(), candidatos.end(),
                          [&](const Diccionario& d) { return d.codigo == guardado; });
    for (const Diccionario& diccionario : std::as_const(candidatos))
        if (revisor_->Cargar(diccionario))
            break;
}

bool OrtografiaEditor::Pendiente() const
{
    return resaltador_->trabajoPendiente();
}

void OrtografiaEditor::Activar(bool activa)
{
    resaltador_->setActivo(activa);
    Ajustes()->setValue(claveActiva, activa);
}

void OrtografiaEditor::CambiarIdioma(const QString& codigo)
{
    for (const Diccionario& diccionario : std::as_const(diccionarios_)) {
        if (diccionario.codigo != codigo)
            continue;
        if (!revisor_->Cargar(diccionario)) {
            mensajes_.Mostrar(u"No se puede leer el diccionario «" + diccionario.nombre +
                              u"»; se sigue usando el anterior.");
            return;
        }
        Ajustes()->setValue(claveIdioma, codigo);
        resaltador_->RevisarDeNuevo();
        return;
    }
}

QList<QAction*> OrtografiaEditor::Correcciones(QMenu& menu, QPoint posicion)
{
    QList<QAction*> arriba;
    // The corrections of the misspelled word under the pointer, asked of the dictionary only now.
    const QTextCursor cursor = caja_.cursorForPosition(posicion);
    const QTextBlock bloque = cursor.block();
    const QString linea = bloque.text();
    const TramoPalabra tramo = PalabraEn(linea, cursor.positionInBlock());
    const QString palabra = linea.mid(tramo.inicio, tramo.largo);
    if (!resaltador_->activo() || !revisor_->disponible() || tramo.largo == 0 || revisor_->Correcta(palabra))
        return arriba;
    const int inicio = bloque.position() + tramo.inicio;
    const QStringList sugerencias = revisor_->Sugerencias(palabra, maximoSugerencias);
    for (const QString& sugerencia : sugerencias) {
        auto* accion = new QAction(sugerencia, &menu);
        connect(accion, &QAction::triggered, this,
                [this, inicio, palabra, sugerencia] { Reemplazar(inicio, palabra, sugerencia); });
        arriba.append(accion);
    }
    if (sugerencias.isEmpty()) {
        auto* ninguna = new QAction(QStringLiteral("Sin sugerencias"), &menu);
        ninguna->setEnabled(false);
        arriba.append(ninguna);
    }
    auto* anadir = new QAction(QStringLiteral("Añadir al diccionario"), &menu);
    connect(anadir, &QAction::triggered, this, [this, palabra] { Aceptar(palabra, true); });
    auto* ignorar = new QAction(QStringLiteral("Ignorar"), &menu);
    connect(ignorar, &QAction::triggered, this, [this, palabra] { Aceptar(palabra, false); });
    arriba << anadir << ignorar;
    return arriba;
}

void OrtografiaEditor::Reemplazar(int inicio, const QString& palabra, const QString& sugerencia)
{
    QTextCursor reemplazo(caja_.document());
    reemplazo.setPosition(inicio);
    reemplazo.setPosition(inicio + int(palabra.size()), QTextCursor::KeepAnchor);
    if (reemplazo.selectedText() != palabra)
        return;
    // One edit, which one undo takes back.
    reemplazo.beginEditBlock();
    reemplazo.insertText(sugerencia);
    reemplazo.endEditBlock();
    caja_.setTextCursor(reemplazo);
}

void OrtografiaEditor::Aceptar(const QString& palabra, bool anadir)
{
    if (anadir) {
        try {
            revisor_->Anadir(palabra);
        } catch (const ErrorEjecucion& error) {
            // The list on disk is as it was, and the word stays underlined.
            MostrarError(mensajes_, error);
            return;
        }
    } else {
        revisor_->Ignorar(palabra);
    }
    resaltador_->Aceptada(palabra);
}

void OrtografiaEditor::AnadirAlMenu(QMenu& menu)
{
    menu.addAction(revisar_);
    QMenu* idiomas = menu.addMenu(textoIdioma);
    idiomas->setEnabled(!diccionarios_.isEmpty());
    auto* grupo = new QActionGroup(idiomas);
    for (const Diccionario& diccionario : std::as_const(diccionarios_)) {
        QAction* accion = idiomas->addAction(diccionario.nombre);
        accion->setCheckable(true);
        accion->setChecked(diccionario.codigo == revisor_->codigo());
        grupo->addAction(accion);
        const QString codigo = diccionario.codigo;
        connect(accion, &QAction::triggered, this, [this, codigo] { CambiarIdioma(codigo); });
    }
    if (diccionarios_.isEmpty())
        idiomas->menuAction()->setToolTip(sinDiccionarios);
}
