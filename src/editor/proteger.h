// How the window runs a handler: a run-time error the handler does not trap itself is shown with its
// number and description, and the window keeps working.
#pragma once

#include "errores.h"
#include "mensajes.h"

inline void MostrarError(CajaMensajes& mensajes, const ErrorEjecucion& error)
{
    mensajes.Mostrar(error.aviso());
}

template <typename Manejador> void Proteger(CajaMensajes& mensajes, Manejador manejador)
{
    try {
        manejador();
    } catch (const ErrorEjecucion& error) {
        MostrarError(mensajes, error);
    }
}
