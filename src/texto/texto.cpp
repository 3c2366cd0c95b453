// Line queries on a multi-line text box, answered from the box's document and caret. Every query
// finds its block through the document's block tree, so none walks the text.
#include "texto.h"

#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

int Inicio(const QTextBlock& bloque)
{
    return bloque.position() + bloque.blockNumber();
}

int Largo(const QTextBlock& bloque)
{
    return bloque.length() - 1;
}

// The block of a line; line -1 is the one that holds the caret's active end, as for the edit
// control's own "current line".
QTextBlock BloqueLinea(const QPlainTextEdit& caja, int linea)
{
    const QTextDocument& documento = *caja.document();
    if (linea == -1)
        return documento.findBlock(caja.textCursor().position());
    if (linea < 0)
        return {};
    return documento.findBlockByNumber(linea);
}

// The block whose line holds a character index, its line break included; invalid past the text.
QTextBlock BloqueDeIndice(const QTextDocument& documento, int indice)
{
    // Line starts grow with the line number, so the last line starting at or before the index holds it.
    int desde = 0;
    int hasta = documento.blockCount() - 1;
    while (desde < hasta) {
        const int medio = desde + (hasta - desde + 1) / 2;
        if (Inicio(documento.findBlockByNumber(medio)) <= indice)
            desde = medio;
        else
            hasta = medio - 1;
    }
    const QTextBlock bloque = documento.findBlockByNumber(desde);
    const int fin = Inicio(bloque) + Largo(bloque) + (bloque.next().isValid() ? 2 : 0);
    return indice < fin || (indice == fin && !bloque.next().isValid()) ? bloque : QTextBlock();
}

} // namespace

int CantidadLineas(const QPlainTextEdit& caja)
{
    return caja.document()->blockCount();
}

int LineaActual(const QPlainTextEdit& caja)
{
    return caja.document()->findBlock(caja.textCursor().selectionStart()).blockNumber();
}

int InicioLinea(const QPlainTextEdit& caja, int linea)
{
    const QTextBlock bloque = BloqueLinea(caja, linea);
    return bloque.isValid() ? Inicio(bloque) : -1;
}

int LargoLinea(const QPlainTextEdit& caja, int indiceCaracter)
{
    const QTextDocument& documento = *caja.document();
    if (indiceCaracter == -1) {
        const QTextCursor cursor = caja.textCursor();
        const QTextBlock primero = documento.findBlock(cursor.selectionStart());
        const QTextBlock ultimo = documento.findBlock(cursor.selectionEnd());
        return cursor.selectionStart() - primero.position() + ultimo.position() + Largo(ultimo) -
               cursor.selectionEnd();
    }
    if (indiceCaracter < 0)
        return 0;
    const QTextBlock bloque = BloqueDeIndice(documento, indiceCaracter);
    return bloque.isValid() ? Largo(bloque) : 0;
}

int LargoLineaCursor(const QPlainTextEdit& caja)
{
    return Largo(caja.document()->findBlock(caja.textCursor().selectionStart()));
}

QString TextoLinea(const QPlainTextEdit& caja, int linea)
{
    const QTextBlock bloque = BloqueLinea(caja, linea);
    return bloque.isValid() ? bloque.text() : QString();
}

int LargoTotal(const QPlainTextEdit& caja)
{
    // Every block counts one separator beyond its text, the last one included.
    const QTextDocument& documento = *caja.document();
    return documento.characterCount() - documento.blockCount();
}

void IrAInicioLinea(QPlainTextEdit& caja, int linea)
{
    QTextCursor cursor(caja.document());
    const QTextBlock bloque = caja.document()->findBlockByNumber(linea);
    if (bloque.isValid())
        cursor.setPosition(bloque.position());
    else
        cursor.movePosition(QTextCursor::End);
    caja.setTextCursor(cursor);
}

QString TextoCaja(const QPlainTextEdit& caja)
{
    // The raw text holds a paragraph separator between blocks and nowhere else: the box never holds a
    // line separator, and a line break typed or pasted always starts a block.
    QString texto = caja.document()->toRawText();
    texto.replace(QChar::ParagraphSeparator, u'\n');
    return texto;
}
