// What the live length monitor keeps between ticks.
#pragma once

struct EstadoMonitor
{
};
