// One random edit of a script pair held as the editor holds it, the translation in a text box and the
// original in a list: for the tests that follow the pair through any sequence of edits.
#pragma once

#include <functional>

#include <QString>

class QListWidget;
class QPlainTextEdit;
class QRandomGenerator;

// A random piece of text; with or without line breaks.
using TextoAzar = std::function<QString(QRandomGenerator& azar, bool conSaltos)>;

// Replaces a random stretch of the box (with line breaks when `conSaltos`), undoes or redoes, or inserts,
// removes or rewrites a row of the list.
void EditarAlAzar(QRandomGenerator& azar, QPlainTextEdit& caja, QListWidget& lista, bool conSaltos,
                  const TextoAzar& texto);
