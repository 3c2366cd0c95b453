// Opening the real window for a test, the benchmark or the crash tests' child process, and a message box
// that answers at once. Nothing here needs Qt Test.
#pragma once

#include <memory>

#include "frmEditor.h"
#include "mensajes.h"

// Answers every box at once (OK, or Cancel where there is no OK), so that nothing can wait on a dialog;
// what the box said goes to the standard error.
class CajaMuda final : public CajaMensajes
{
public:
    Respuesta Mostrar(const QString& texto, Botones botones, Icono, const QString&) override;
};

// Shows the window and runs the event loop until its start-up has run and, with `cargada`, until the
// first script is loaded; nullptr when that takes longer than `msMaximo`. Without drive roots the window
// sees "/" alone.
std::unique_ptr<frmEditor> AbrirVentanaArrancada(Servicios servicios, bool cargada = false,
                                                 int msMaximo = 10000);
