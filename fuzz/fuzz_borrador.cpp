// Fuzz target: the draft file format. Any bytes decode without crashing, to nothing or to a draft whose
// text is what the file announced; and a draft that decodes encodes back to a file that decodes to it.
#include <cstdint>
#include <cstdlib>

#include "formato_borrador.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    const QByteArray bytes(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    const std::optional<Borrador> borrador = DecodificarBorrador(bytes);
    if (!borrador)
        return 0;
    if (!bytes.endsWith(borrador->texto.toUtf8()))
        std::abort();
    const std::optional<Borrador> otra = DecodificarBorrador(CodificarBorrador(*borrador));
    if (!otra || otra->texto != borrador->texto || otra->fecha != borrador->fecha ||
        otra->escritor != borrador->escritor ||
        otra->rutaTraduccion != ClaveBorrador(borrador->rutaTraduccion))
        std::abort();
    return 0;
}
