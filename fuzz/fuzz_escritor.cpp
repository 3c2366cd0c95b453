// Fuzz target: the translation writer. Any text in any format is either refused as not codable or
// written so that it reads back as exactly the same lines.
#include <cstdint>
#include <cstdlib>

#include "texto_archivo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    if (tamano < 1)
        return 0;
    const uint8_t eleccion = datos[0];
    FormatoTexto formato;
    formato.codificacion = eleccion & 1 ? Codificacion::Windows1252 : Codificacion::Utf8;
    formato.bom = eleccion & 2;
    formato.finLinea = eleccion & 4 ? FinLinea::Lf : (eleccion & 8 ? FinLinea::Cr : FinLinea::CrLf);
    // The rest of the input is UTF-16: any sequence of characters the box could hold, lines split at LF.
    const QString texto(reinterpret_cast<const QChar*>(datos + 1), qsizetype((tamano - 1) / 2));
    const QStringList lineas = texto.isEmpty() ? QStringList() : texto.split(u'\n');
    if (LineaNoCodificable(lineas, formato) != -1)
        return 0;
    const QByteArray bytes = CodificarLineas(lineas, formato);
    // Windows-1252 bytes that happen to be valid UTF-8 read back as UTF-8: the one ambiguity of the format.
    if (formato.codificacion == Codificacion::Windows1252 && EsUtf8Valido(bytes))
        for (const char b : bytes)
            if (static_cast<unsigned char>(b) >= 0x80)
                return 0;
    LectorLineas lector(bytes);
    QStringList leidas;
    while (!lector.fin())
        leidas.append(lector.siguiente());
    if (leidas != lineas)
        std::abort();
    return 0;
}
