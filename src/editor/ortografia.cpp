// Spelling as you type in the translation box: the highlighter on its document, the corrections at the
// top of its context menu, the F7 switch and the dictionary's language, remembered in the settings.
#include "frmEditor.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QTextBlock>

#include "caja_texto.h"
#include "diccionarios.h"
#include "errores.h"
#include "palabras.h"
#include "resaltador.h"
#include "revisor.h"

namespace {

const QString textoRevisar = QStringLiteral("Revisar ortografía");
const QString textoIdioma = QStringLiteral("Idioma de la ortografía");
const QString sinDiccionarios =
    QStringLiteral("No hay diccionarios instalados: instale el paquete hunspell-es");
const QString claveActiva = QStringLiteral("ortografia/activa");
const QString claveIdioma = QStringLiteral("ortografia/idioma");
constexpr int maximoSugerencias = 6;

} // namespace

struct EstadoOrtografia
{
    std::shared_ptr<Revisor> revisor;
    QList<Diccionario> diccionarios;
    // Owned by the box's document, which it lives and dies with.
    QPointer<ResaltadorOrtografia> resaltador;
    QAction* revisar = nullptr;
    QString archivoAjustes;

    std::unique_ptr<QSettings> Ajustes() const
    {
        if (archivoAjustes.isEmpty())
            return std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Velarto"),
                                               QStringLiteral("Velarto"));
        return std::make_unique<QSettings>(archivoAjustes, QSettings::IniFormat);
    }
};

void BorrarOrtografia::operator()(EstadoOrtografia* estado) const
{
    delete estado;
}

void frmEditor::ConectarOrtografia()
{
    ortografia_.reset(new EstadoOrtografia);
    EstadoOrtografia& o = *ortografia_;
    o.archivoAjustes = archivoAjustes_;
    o.revisor =
        std::make_shared<Revisor>(QDir(carpetaDatos_).filePath(QStringLiteral("palabras_personales.txt")));
    o.diccionarios =
        BuscarDiccionarios(carpetasDiccionarios_.isEmpty() ? CarpetasDiccionarios() : carpetasDiccionarios_);

    const std::unique_ptr<QSettings> ajustes = o.Ajustes();
    const QString guardado = ajustes->value(claveIdioma).toString();
    QList<Diccionario> candidatos = o.diccionarios;
    // The remembered language first; es_ES (listed first) when it is gone.
    std::stable_partition(candidatos.begin(), candidatos.end(),
                          [&](const Diccionario& d) { return d.codigo == guardado; });
    for (const Diccionario& diccionario : std::as_const(candidatos))
        if (o.revisor->Cargar(diccionario))
            break;
    const bool disponible = o.revisor->disponible();
    const bool activa = disponible && ajustes->value(claveActiva, true).toBool();

    CajaTexto* caja = txtTraducido;
    o.resaltador = new ResaltadorOrtografia(caja->document(), o.revisor, [caja] {
        const int primera = caja->cursorForPosition(QPoint(0, 0)).blockNumber();
        const int ultima = caja->cursorForPosition(QPoint(0, caja->viewport()->height() - 1)).blockNumber();
        return std::pair{primera, ultima};
    });
    o.resaltador->setActivo(activa);

    o.revisar = new QAction(textoRevisar, caja);
    o.revisar->setCheckable(true);
    o.revisar->setChecked(activa);
    o.revisar->setEnabled(disponible);
    o.revisar->setShortcut(QKeySequence(Qt::Key_F7));
    o.revisar->setShortcutContext(Qt::WidgetShortcut);
    if (!disponible)
        o.revisar->setToolTip(sinDiccionarios);
    caja->addAction(o.revisar);
    connect(o.revisar, &QAction::toggled, this, [this](bool activa) { ActivarOrtografia(activa); });
    connect(caja, &CajaTexto::menuContextual, this, &frmEditor::txtTraducido_MenuContextual);
}

bool frmEditor::OrtografiaPendiente() const
{
    return ortografia_->resaltador && ortografia_->resaltador->trabajoPendiente();
}

void frmEditor::ActivarOrtografia(bool activa)
{
    EstadoOrtografia& o = *ortografia_;
    if (o.resaltador)
        o.resaltador->setActivo(activa);
    o.Ajustes()->setValue(claveActiva, activa);
}

void frmEditor::CambiarIdiomaOrtografia(const QString& codigo)
{
    EstadoOrtografia& o = *ortografia_;
    for (const Diccionario& diccionario : std::as_const(o.diccionarios)) {
        if (diccionario.codigo != codigo)
            continue;
        if (!o.revisor->Cargar(diccionario)) {
            mensajes_->Mostrar(u"No se puede leer el diccionario «" + diccionario.nombre +
                               u"»; se sigue usando el anterior.");
            return;
        }
        o.Ajustes()->setValue(claveIdioma, codigo);
        if (o.resaltador)
            o.resaltador->RevisarDeNuevo();
        return;
    }
}

void frmEditor::txtTraducido_MenuContextual(QMenu* menu, QPoint posicion)
{
    EstadoOrtografia& o = *ortografia_;
    QAction* primera = menu->actions().value(0);
    QList<QAction*> arriba;

    // The corrections of the misspelled word under the pointer, asked of the dictionary only now.
    const QTextCursor cursor = txtTraducido->cursorForPosition(posicion);
    const QTextBlock bloque = cursor.block();
    const QString linea = bloque.text();
    const TramoPalabra tramo = PalabraEn(linea, cursor.positionInBlock());
    const QString palabra = linea.mid(tramo.inicio, tramo.largo);
    if (o.resaltador && o.resaltador->activo() && o.revisor->disponible() && tramo.largo > 0 &&
        !o.revisor->Correcta(palabra)) {
        const int inicio = bloque.position() + tramo.inicio;
        const QStringList sugerencias = o.revisor->Sugerencias(palabra, maximoSugerencias);
        for (const QString& sugerencia : sugerencias) {
            auto* accion = new QAction(sugerencia, menu);
            connect(accion, &QAction::triggered, this, [this, inicio, palabra, sugerencia] {
                QTextCursor reemplazo(txtTraducido->document());
                reemplazo.setPosition(inicio);
                reemplazo.setPosition(inicio + int(palabra.size()), QTextCursor::KeepAnchor);
                if (reemplazo.selectedText() != palabra)
                    return;
                // One edit, which one undo takes back.
                reemplazo.beginEditBlock();
                reemplazo.insertText(sugerencia);
                reemplazo.endEditBlock();
                txtTraducido->setTextCursor(reemplazo);
            });
            arriba.append(accion);
        }
        if (sugerencias.isEmpty()) {
            auto* ninguna = new QAction(QStringLiteral("Sin sugerencias"), menu);
            ninguna->setEnabled(false);
            arriba.append(ninguna);
        }
        auto* anadir = new QAction(QStringLiteral("Añadir al diccionario"), menu);
        connect(anadir, &QAction::triggered, this, [this, palabra] {
            try {
                ortografia_->revisor->Anadir(palabra);
            } catch (const ErrorEjecucion& error) {
                // The list on disk is as it was, and the word stays underlined.
                MostrarError(error);
                return;
            }
            if (ortografia_->resaltador)
                ortografia_->resaltador->Aceptada(palabra);
        });
        auto* ignorar = new QAction(QStringLiteral("Ignorar"), menu);
        connect(ignorar, &QAction::triggered, this, [this, palabra] {
            ortografia_->revisor->Ignorar(palabra);
            if (ortografia_->resaltador)
                ortografia_->resaltador->Aceptada(palabra);
        });
        arriba << anadir << ignorar;
        menu->insertActions(primera, arriba);
        menu->insertSeparator(primera);
    }

    // The switch and the language, after every standard entry.
    menu->addSeparator();
    menu->addAction(o.revisar);
    QMenu* idiomas = menu->addMenu(textoIdioma);
    idiomas->setEnabled(!o.diccionarios.isEmpty());
    auto* grupo = new QActionGroup(idiomas);
    for (const Diccionario& diccionario : std::as_const(o.diccionarios)) {
        QAction* accion = idiomas->addAction(diccionario.nombre);
        accion->setCheckable(true);
        accion->setChecked(diccionario.codigo == o.revisor->codigo());
        grupo->addAction(accion);
        const QString codigo = diccionario.codigo;
        connect(accion, &QAction::triggered, this, [this, codigo] { CambiarIdiomaOrtografia(codigo); });
    }
    if (o.diccionarios.isEmpty())
        idiomas->menuAction()->setToolTip(sinDiccionarios);
    menu->setToolTipsVisible(true);
}
