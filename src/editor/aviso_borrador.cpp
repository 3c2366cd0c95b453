// The notice of unsaved text over the translation box.
#include "aviso_borrador.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "borradores_editor.h"
#include "caja_texto.h"
#include "vida_par.h"

namespace {

// Between the notice and the viewport's edges.
constexpr int margen = 4;

bool SoloModificador(int tecla)
{
    return tecla == Qt::Key_Shift || tecla == Qt::Key_Control || tecla == Qt::Key_Alt ||
           tecla == Qt::Key_Meta || tecla == Qt::Key_AltGr;
}

} // namespace

AvisoBorrador::AvisoBorrador(CajaTexto& caja, BorradoresEditor& borradores, const VidaPar& vida)
    : caja_(caja), borradores_(borradores), aviso_(new QLabel(caja.viewport()))
{
    aviso_->setObjectName(QStringLiteral("avisoBorrador"));
    aviso_->setAutoFillBackground(true);
    aviso_->setBackgroundRole(QPalette::ToolTipBase);
    aviso_->setForegroundRole(QPalette::ToolTipText);
    aviso_->setFrameShape(QFrame::Box);
    aviso_->setMargin(3);
    // Clicks go through to the text beneath.
    aviso_->setAttribute(Qt::WA_TransparentForMouseEvents);
    aviso_->hide();
    caja_.viewport()->installEventFilter(this);
    connect(&vida, &VidaPar::cargado, this, &AvisoBorrador::Mostrar);
    connect(&vida, &VidaPar::saliendo, this, &AvisoBorrador::Ocultar);
    connect(&caja_, &QPlainTextEdit::textChanged, this, &AvisoBorrador::Ocultar);
}

void AvisoBorrador::Mostrar()
{
    const std::optional<QDateTime> fecha = borradores_.FechaDistinto();
    if (!fecha)
        return Ocultar();
    // The window's own lettering, not the box's monospace.
    aviso_->setFont(caja_.window()->font());
    aviso_->setText(u"Hay texto sin guardar de este script, del " +
                    fecha->toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")) +
                    u". Ctrl+R lo recupera.");
    aviso_->adjustSize();
    Colocar();
    aviso_->show();
    // A keystroke anywhere in the window takes the notice away, wherever the focus is.
    qApp->installEventFilter(this);
}

void AvisoBorrador::Ocultar()
{
    if (aviso_->isHidden())
        return;
    aviso_->hide();
    qApp->removeEventFilter(this);
}

// At the bottom right of the box's visible text, where the first lines the translator reads stay clear.
void AvisoBorrador::Colocar()
{
    const QRect zona = caja_.viewport()->rect().adjusted(margen, margen, -margen, -margen);
    QRect lugar(QPoint(), aviso_->size().boundedTo(zona.size()));
    lugar.moveBottomRight(zona.bottomRight());
    aviso_->setGeometry(lugar);
}

bool AvisoBorrador::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == caja_.viewport()) {
        if (evento->type() == QEvent::Resize && !aviso_->isHidden())
            Colocar();
        return false;
    }
    if (evento->type() != QEvent::KeyPress || !objeto->isWidgetType())
        return false;
    // Only the editor's own window: a message box's keys are no keystroke in the box.
    if (static_cast<QWidget*>(objeto)->window() != caja_.window())
        return false;
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (!SoloModificador(tecla->key()))
        Ocultar();
    return false;
}
