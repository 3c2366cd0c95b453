// The real window opened on a folder of real files, with a recording message box.
#pragma once

#include <memory>

#include "caja_grabadora.h"
#include "frmEditor.h"

// Makes `carpeta` the current folder, opens the window there and waits for its start-up.
std::unique_ptr<frmEditor> AbrirVentana(const QString& carpeta, CajaGrabadora& caja,
                                        ProveedorUnidades unidades = {});

// The items of the original list, in order.
QStringList ItemsOriginal(const frmEditor& ventana);
// Selects a script by name, as a click would, and returns whether it was listed.
bool ElegirScript(frmEditor& ventana, const QString& nombre);
