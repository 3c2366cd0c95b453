// The run-time error an action raises, for tests that expect one.
#pragma once

#include <functional>

#include "errores.h"

// The number of the error `accion` raised, or 0 when it raised none.
inline int NumeroDeError(const std::function<void()>& accion)
{
    try {
        accion();
    } catch (const ErrorEjecucion& e) {
        return e.numero();
    }
    return 0;
}
