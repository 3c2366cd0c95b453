// The real window opened on a folder of real files, with a recording message box.
#pragma once

#include <memory>

#include "caja_grabadora.h"
#include "frmEditor.h"

// Opens the window on `carpeta` and waits for its start-up. Without `carpetaDatos` the window keeps its
// own files in the test-mode data folder.
std::unique_ptr<frmEditor> AbrirVentana(const QString& carpeta, CajaGrabadora& caja,
                                        ProveedorUnidades unidades = {}, const QString& carpetaDatos = {});

// The items of the original list, in order.
QStringList ItemsOriginal(const frmEditor& ventana);
// Selects a script by name, as a click would, and returns whether it was listed.
bool ElegirScript(frmEditor& ventana, const QString& nombre);
