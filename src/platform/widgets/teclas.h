// The keyboard as the window's key handlers know it: traditional key codes and shift states.
#pragma once

#include <Qt>

// Traditional key codes of the keys the editor names.
namespace Teclas {
inline constexpr int Supr = 46;
inline constexpr int F12 = 123;
} // namespace Teclas

// Traditional shift-state bits.
namespace Shift {
inline constexpr int Mayusculas = 1;
inline constexpr int Control = 2;
inline constexpr int Alt = 4;
} // namespace Shift

// The traditional code of a key, or 0 for keys the editor does not name.
int CodigoTecla(int teclaQt);
// The traditional shift state of these modifiers.
int EstadoShift(Qt::KeyboardModifiers modificadores);
