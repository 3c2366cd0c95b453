// Text box and list box of the window.
#include "caja_texto.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextDocument>
#include <QThreadPool>

#include "seleccion.h"
#include "teclas.h"

CajaTexto::CajaTexto(QWidget* padre) : QPlainTextEdit(padre)
{
    liberador_.setMaxThreadCount(1);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(false);
}

QStringList CajaTexto::lineas() const
{
    // The document's own lines, so that every line counted on screen is a line written to the file: its
    // raw text holds a paragraph separator between blocks and nowhere else (the box never holds a line
    // separator), and is taken in one pass where walking the blocks would look each one up.
    return document()->toRawText().split(QChar::ParagraphSeparator);
}

void CajaTexto::keyPressEvent(QKeyEvent* evento)
{
    // Shift+Enter would break the line on screen only (U+2028) while the text keeps one line: make it an
    // ordinary line break, as Enter is.
    const bool enter = evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter;
    if (enter && (evento->modifiers() & Qt::ShiftModifier)) {
        textCursor().insertBlock();
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::keyPressEvent(evento);
}

void CajaTexto::setLineas(const QStringList& lineas)
{
    setPlainText(lineas.join(u'\n'));
}

void CajaTexto::empezarCarga()
{
    document()->setUndoRedoEnabled(false);
    setReadOnly(true);
    CaretAlPrincipio();
    cargando_ = true;
    conLineas_ = false;
}

void CajaTexto::vaciar()
{
    QTextDocument* viejo = document();
    auto* nuevo = new QTextDocument(this);
    nuevo->setDocumentLayout(new QPlainTextDocumentLayout(nuevo));
    // What the box set on its document: its font (and zoom), its tab stops, its margin.
    nuevo->setDefaultFont(viejo->defaultFont());
    nuevo->setDefaultTextOption(viejo->defaultTextOption());
    nuevo->setDocumentMargin(viejo->documentMargin());
    const bool deshacer = viejo->isUndoRedoEnabled();
    // The box deletes the document it was born with as it lets it go; this one is freed below instead.
    viejo->setParent(nullptr);
    setDocument(nuevo);
    nuevo->setUndoRedoEnabled(deshacer);
    conLineas_ = false;
    if (cargando_)
        CaretAlPrincipio();
    Q_EMIT documentoNuevo();
    // No one is left to hear from the old document, nor any cursor in it: the other thread is the only one
    // that touches it from now on.
    viejo->disconnect();
    viejo->documentLayout()->disconnect();
    viejo->moveToThread(nullptr);
    liberador_.start([viejo] { delete viejo; });
}

void CajaTexto::CaretAlPrincipio()
{
    // The caret stays at the start, as after the whole text had been put in at once.
    QTextCursor caret(document());
    caret.setKeepPositionOnInsert(true);
    setTextCursor(caret);
}

void CajaTexto::anadirLineas(const QStringList& lineas)
{
    if (lineas.isEmpty())
        return;
    QTextCursor final(document());
    final.movePosition(QTextCursor::End);
    final.insertText(conLineas_ ? u'\n' + lineas.join(u'\n') : lineas.join(u'\n'));
    // The first lines went in where the caret stood and took its anchor along: the whole text would show
    // selected until the load ends.
    if (!std::exchange(conLineas_, true))
        CaretAlPrincipio();
}

void CajaTexto::terminarCarga()
{
    if (!cargando_)
        return;
    cargando_ = false;
    // A fresh caret at the start: the kept one let its anchor move with the text.
    setTextCursor(QTextCursor(document()));
    setReadOnly(false);
    document()->setUndoRedoEnabled(true);
    document()->setModified(false);
}

void CajaTexto::keyReleaseEvent(QKeyEvent* evento)
{
    QPlainTextEdit::keyReleaseEvent(evento);
    if (!evento->isAutoRepeat())
        Q_EMIT teclaSoltada(CodigoTecla(evento->key()), EstadoShift(evento->modifiers()));
}

void CajaTexto::contextMenuEvent(QContextMenuEvent* evento)
{
    // Qt's own entries (in Spanish), with what the editor adds to them.
    QMenu* menu = createStandardContextMenu(evento->pos());
    Q_EMIT menuContextual(menu, evento->pos());
    menu->exec(evento->globalPos());
    delete menu;
}

namespace {

// A row lays out and paints at most this many characters: no width a list scrolls to shows more, and
// a giant line would otherwise be laid out whole on every paint.
constexpr int caracteresFila = 32767;

// Gives every row the same width (when `ancho` is positive), so that the list scrolls sideways that far,
// and the list's row backgrounds.
class DelegadoLista final : public QStyledItemDelegate
{
public:
    DelegadoLista(int ancho, ListaSimple* lista) : QStyledItemDelegate(lista), ancho_(ancho), lista_(lista) {}
    QSize sizeHint(const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override
    {
        // The height of one line of text, measured on a stand-in: laying out the item's own text would
        // walk the whole of a line however long it is.
        QStyleOptionViewItem medida = opcion;
        initStyleOption(&medida, indice);
        medida.text = QStringLiteral("Xg");
        const QStyle* estilo = medida.widget ? medida.widget->style() : QApplication::style();
        const int alto =
            estilo->sizeFromContents(QStyle::CT_ItemViewItem, &medida, QSize(), medida.widget).height();
        return {ancho_ > 0 ? ancho_ : QStyledItemDelegate::sizeHint(opcion, indice).width(), alto};
    }

protected:
    void initStyleOption(QStyleOptionViewItem* opcion, const QModelIndex& indice) const override
    {
        QStyledItemDelegate::initStyleOption(opcion, indice);
        if (opcion->text.size() > caracteresFila)
            opcion->text.truncate(caracteresFila);
        if (const auto& fondo = lista_->fondoFilas(); fondo && !(opcion->state & QStyle::State_Selected)) {
            if (const QColor color = fondo(indice.row()); color.isValid())
                opcion->backgroundBrush = color;
        }
    }

private:
    int ancho_;
    ListaSimple* lista_;
};

} // namespace

int ModeloLineas::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : int(mostradas_);
}

QVariant ModeloLineas::data(const QModelIndex& indice, int rol) const
{
    if (rol != Qt::DisplayRole || !indice.isValid() || indice.row() >= mostradas_)
        return {};
    return lineas_[indice.row()];
}

void ModeloLineas::anadir(const QStringList& lineas)
{
    lineas_.append(lineas);
    // A list view lays all its rows out again after every insertion. Rows are shown in batches that
    // double, so that a long list costs about twice its rows in layouts, not its rows times its slices.
    if (lineas_.size() - mostradas_ >= std::max(filasPorAnuncio, mostradas_))
        completar();
}

void ModeloLineas::completar()
{
    if (lineas_.size() == mostradas_)
        return;
    beginInsertRows({}, int(mostradas_), int(lineas_.size()) - 1);
    mostradas_ = lineas_.size();
    endInsertRows();
}

void ModeloLineas::vaciar()
{
    if (lineas_.isEmpty())
        return;
    beginResetModel();
    QStringList viejas = std::exchange(lineas_, {});
    mostradas_ = 0;
    endResetModel();
    // Freeing a million strings takes a while; no one else holds them, so another thread may.
    QThreadPool::globalInstance()->start([viejas = std::move(viejas)]() mutable { viejas = {}; });
}

ListaSimple::ListaSimple(QWidget* padre) : QListView(padre), modelo_(new ModeloLineas(this))
{
    setModel(modelo_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new DelegadoLista(0, this));
}

int ListaSimple::indice() const
{
    return FilaSeleccionada(*this);
}

void ListaSimple::setIndice(int indice)
{
    SeleccionarFila(*this, indice);
}

QString ListaSimple::textoSeleccionado() const
{
    const int i = indice();
    return i >= 0 ? texto(i) : QString();
}

void ListaSimple::setExtensionHorizontal(int pixeles)
{
    QAbstractItemDelegate* anterior = itemDelegate();
    setItemDelegate(new DelegadoLista(pixeles, this));
    if (anterior && anterior->parent() == this)
        anterior->deleteLater();
}

void ListaSimple::setFondoFilas(std::function<QColor(int fila)> fondo)
{
    fondo_ = std::move(fondo);
}
