// Yielding to the event loop during long operations.
#pragma once

// Processes the pending events (timer ticks, user input), then returns.
void Ceder();
