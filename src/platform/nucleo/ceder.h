// Yielding to the event loop during long operations.
#pragma once

// Processes the pending events (timer ticks, user input), then returns.
void Ceder();
// Processes the pending events, waiting for one when there are none (a timer, input, or another thread
// waking the event loop), then returns.
void EsperarEventos();
