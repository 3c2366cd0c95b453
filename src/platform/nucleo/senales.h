// Ending the editor cleanly when the session or a service manager asks it to (SIGTERM, SIGINT, SIGHUP).
#pragma once

// From now on those signals make the event loop quit, so the window closes as if the user closed it.
void TerminarAlRecibirSenales();
