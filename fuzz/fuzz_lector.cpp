// Fuzz target: the script reader. Any bytes read without crashing or hanging, and what the editor writes
// back from the lines it read reads again as the same lines in the same format.
#include <cstdint>
#include <cstdlib>

#include "texto_archivo.h"

namespace {

QStringList Leer(const QByteArray& bytes, FormatoTexto& formato)
{
    LectorLineas lector(bytes);
    QStringList lineas;
    while (!lector.fin())
        lineas.append(lector.siguiente());
    formato = lector.formato();
    return lineas;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    const QByteArray bytes(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    FormatoTexto formato;
    const QStringList lineas = Leer(bytes, formato);
    if (LineaNoCodificable(lineas, formato) != -1)
        std::abort(); // whatever was read can be written back
    const QByteArray escritos = CodificarLineas(lineas, formato);
    FormatoTexto formatoRelectura;
    if (Leer(escritos, formatoRelectura) != lineas || !(formatoRelectura == formato))
        std::abort();
    return 0;
}
