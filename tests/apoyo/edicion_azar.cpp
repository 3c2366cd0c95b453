// One random edit of a script pair.
#include "edicion_azar.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>

void EditarAlAzar(QRandomGenerator& azar, QPlainTextEdit& caja, QListWidget& lista, bool conSaltos,
                  const TextoAzar& texto)
{
    QTextDocument& documento = *caja.document();
    const int accion = int(azar.bounded(10));
    if (accion < 5) {
        QTextCursor cursor(&documento);
        cursor.setPosition(int(azar.bounded(documento.characterCount())));
        cursor.setPosition(int(azar.bounded(documento.characterCount())), QTextCursor::KeepAnchor);
        cursor.insertText(texto(azar, conSaltos));
    } else if (accion == 5) {
        documento.undo();
    } else if (accion == 6) {
        documento.redo();
    } else if (accion == 7) {
        lista.insertItem(int(azar.bounded(lista.count() + 1)), texto(azar, false));
    } else if (accion == 8 && lista.count() > 0) {
        delete lista.takeItem(int(azar.bounded(lista.count())));
    } else if (lista.count() > 0) {
        lista.item(int(azar.bounded(lista.count())))->setText(texto(azar, false));
    }
}
