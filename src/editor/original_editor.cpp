// The original list's click, wired into the translation box.
#include "original_editor.h"

#include <QAbstractItemView>

#include "caja_texto.h"
#include "texto.h"

OriginalEditor::OriginalEditor(CajaTexto& caja, QAbstractItemView& lista)
{
    connect(&lista, &QAbstractItemView::clicked, this,
            [&caja](const QModelIndex& indice) { IrAInicioLinea(caja, indice.row()); });
}
