// The original list answers the mouse: a click on an original line puts the box's caret at the start of
// the same line of the translation, or at the end of the box when the translation is shorter. (Ctrl+C in
// the list copies the selected line, as every item view of the toolkit does.)
#pragma once

#include <QObject>

class QAbstractItemView;
class CajaTexto;

class OriginalEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OriginalEditor)
public:
    OriginalEditor(CajaTexto& caja, QAbstractItemView& lista);
};
