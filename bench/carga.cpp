// Cost of loading a script pair, against the toolkit's own floor.
#include "medicion.h"

void MedirCarga()
{
}
