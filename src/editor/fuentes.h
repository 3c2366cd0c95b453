// The window's fonts.
#pragma once

#include <QFont>

// The captions' sans serif at 8.25 pt, chosen so that every caption reads in full at its place.
QFont FuenteSans();
// Courier New at 9.75 pt where the machine has it, else a monospace font of the same metrics, else the
// system's monospace.
QFont FuenteCourier();
