// Line queries on a multi-line text box. Character indexes count each line break as two characters.
#pragma once

#include <QString>

class QPlainTextEdit;

int CantidadLineas(const QPlainTextEdit& caja);
int LineaActual(const QPlainTextEdit& caja);
int InicioLinea(const QPlainTextEdit& caja, int linea);
int LargoLinea(const QPlainTextEdit& caja, int indiceCaracter);
int LargoLineaCursor(const QPlainTextEdit& caja);
QString TextoLinea(const QPlainTextEdit& caja, int linea);
