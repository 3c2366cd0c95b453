// Fuzz target: the script reader. The first byte picks the folder's choice of code page (0 or past the
// last: none), the rest is the file. Any bytes read without crashing or hanging, and what the editor
// writes back from the lines it read reads again as the same lines in the same format.
#include <cstdint>
#include <cstdlib>

#include "texto_archivo.h"

namespace {

QStringList Leer(const QByteArray& bytes, std::optional<Codificacion> eleccion, FormatoTexto& formato)
{
    LectorLineas lector(bytes, eleccion);
    QStringList lineas;
    while (!lector.fin())
        lineas.append(lector.siguiente());
    formato = lector.formato();
    return lineas;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    if (tamano < 1)
        return 0;
    static const QList<Codificacion> todas = Codificacion::Todas();
    const qsizetype eleccion = qsizetype(datos[0]);
    const std::optional<Codificacion> elegida =
        eleccion >= 1 && eleccion <= todas.size() ? std::optional(todas[eleccion - 1]) : std::nullopt;
    const QByteArray bytes(reinterpret_cast<const char*>(datos + 1), qsizetype(tamano - 1));
    FormatoTexto formato;
    const QStringList lineas = Leer(bytes, elegida, formato);
    const QList<QStringView> vistas = VistasDe(lineas);
    if (LineaNoCodificable(vistas, formato) != -1)
        std::abort(); // whatever was read can be written back
    const QByteArray escritos = CodificarLineas(vistas, formato);
    // A detected code page is read again as what it was found to be: the editor writes one more line end
    // than a file without one had, and detection is a judgement on the whole file.
    FormatoTexto formatoRelectura;
    const QStringList relectura = Leer(escritos, elegida.value_or(formato.codificacion), formatoRelectura);
    // Bytes that open like a UTF-16 byte-order mark but are no UTF-16 (an odd length, a lone surrogate)
    // read as another code page, and the line end written after the last line may make them UTF-16:
    // the one ambiguity of the format.
    const bool pareceMarca = escritos.startsWith("\xFF\xFE") || escritos.startsWith("\xFE\xFF");
    if (pareceMarca && !formato.bom && formatoRelectura.bom)
        return 0;
    if (relectura != lineas || !(formatoRelectura == formato))
        std::abort();
    return 0;
}
