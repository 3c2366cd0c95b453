// Window placement: the always-on-top switch.
#pragma once

class QWidget;

// Keeps the window above all others, or releases it, without moving or resizing it.
void SiempreEncima(QWidget& ventana, bool activar);
