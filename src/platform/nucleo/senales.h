// Ending the editor cleanly when the session or a service manager asks it to (SIGTERM, SIGINT, SIGHUP).
#pragma once

#include <functional>

// From now on those signals run `cerrar` (the window closes as if the user closed it) and make the event
// loop quit.
void TerminarAlRecibirSenales(std::function<void()> cerrar = {});
