// Cost of the live length monitor's ticks.
#include "medicion.h"

void MedirMonitor()
{
}
