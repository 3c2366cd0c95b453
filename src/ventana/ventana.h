// Window placement: the always-on-top switch, the growable window's size and buttons, and where the
// editor's small windows open.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Keeps the window above all others, or releases it, without moving or resizing it.
void SiempreEncima(QWidget& ventana, bool activar);

// Shows the frame's maximise button or hides it. A shown window appears again where it was.
void BotonMaximizar(QWidget& ventana, bool mostrar);
// Lets the window be resized and maximised from `minimo` up, or fixes it at `minimo`, leaving it where it
// is; the maximise button shows only while the window can grow.
void Ampliable(QWidget& ventana, bool ampliable, QSize minimo);

// Where a small window of the editor's goes, as frame rectangles in screen coordinates: beside the editor
// (its right, else its left) where `libre` has room for it, narrowed down to `anchoMinimo` if need be and
// at the editor's height, moved up or down to stay on the screen; otherwise over `respaldo` (a part of
// the editor whose text nobody is typing), within it, right edges and tops aligned.
QRect LugarAlLado(QRect libre, QRect editor, QSize pequena, int anchoMinimo, QRect respaldo);
// Places `pequena` by LugarAlLado on the editor's screen, before it is shown. Beside the editor it may
// lose up to two thirds of its width, never below what its contents need.
void ColocarAlLado(QWidget& pequena, const QWidget& editor, const QWidget& respaldo);
