// Line queries on a multi-line text box: a box line is one block of its document. Character indexes
// count each line break as two characters (CR LF), so a line starts at its position in the document
// plus its line number.
#pragma once

#include <QString>

class QPlainTextEdit;

// Number of lines; an empty box has one.
int CantidadLineas(const QPlainTextEdit& caja);
// The line that holds the caret or, with a selection, the selection's start.
int LineaActual(const QPlainTextEdit& caja);
// Character index of a line's first character; -1 for a line that does not exist. Line -1 is the
// caret's line.
int InicioLinea(const QPlainTextEdit& caja, int linea);
// Length of the line that holds a character index (a line break belongs to the line it ends); 0 past
// the end of the text. Index -1 gives the characters of the selection's lines left out of the
// selection, which is the caret line's length when nothing is selected.
int LargoLinea(const QPlainTextEdit& caja, int indiceCaracter);
// Length of the line that holds the selection's start.
int LargoLineaCursor(const QPlainTextEdit& caja);
// Text of a line, "" for a line that does not exist. Line -1 is the caret's line.
QString TextoLinea(const QPlainTextEdit& caja, int linea);
// Sum of the lengths of all lines, without walking them.
int LargoTotal(const QPlainTextEdit& caja);
// The whole text, its lines joined by '\n' as a save writes them and the drafts keep them: one copy of
// it, taken in one pass, where a list of lines would cost an allocation per line.
QString TextoCaja(const QPlainTextEdit& caja);

// Puts the caret at the start of a line (from 0), or at the end of the text when the box has fewer lines.
void IrAInicioLinea(QPlainTextEdit& caja, int linea);
