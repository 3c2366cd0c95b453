// Line queries on a multi-line text box.
#include "texto.h"

#include <QPlainTextEdit>
#include <QTextBlock>

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
    if (linea == -1)
        linea = LineaActual(caja);
    const QTextBlock bloque = caja.document()->findBlockByNumber(linea);
    return bloque.isValid() ? bloque.position() + linea : -1;
}

int LargoLinea(const QPlainTextEdit& caja, int indiceCaracter)
{
    Q_UNUSED(caja);
    Q_UNUSED(indiceCaracter);
    return 0;
}

int LargoLineaCursor(const QPlainTextEdit& caja)
{
    return caja.document()->findBlock(caja.textCursor().selectionStart()).length() - 1;
}

QString TextoLinea(const QPlainTextEdit& caja, int linea)
{
    return caja.document()->findBlockByNumber(linea).text();
}
