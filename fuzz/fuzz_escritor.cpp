// Fuzz target: the translation writer. Any text in any format is either refused as not codable or
// written so that it reads back as exactly the same lines, in the same code page, when that code page
// is the folder's choice.
#include <cstdint>
#include <cstdlib>

#include "texto_archivo.h"

namespace {

// UTF-8 and Windows-1252 first, so that bit 0 alone picks between them; the rest after them.
QList<Codificacion> Orden()
{
    QList<Codificacion> orden{Codificacion::Utf8, Codificacion::Windows1252};
    for (const Codificacion codificacion : Codificacion::Todas()) {
        if (!orden.contains(codificacion))
            orden.append(codificacion);
    }
    return orden;
}

bool EmpiezaConMarca(const QByteArray& bytes)
{
    return bytes.startsWith(bomUtf8) || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    if (tamano < 1)
        return 0;
    static const QList<Codificacion> orden = Orden();
    const uint8_t eleccion = datos[0];
    FormatoTexto formato;
    formato.codificacion = orden[((eleccion & 1) | ((eleccion >> 4) << 1)) % orden.size()];
    // UTF-16 is only ever read by its byte-order mark, and only ever written with one.
    formato.bom = (eleccion & 2) || formato.codificacion.esUtf16();
    formato.finLinea = eleccion & 4 ? FinLinea::Lf : (eleccion & 8 ? FinLinea::Cr : FinLinea::CrLf);
    // The rest of the input is UTF-16: any sequence of characters the box could hold, lines split at LF.
    const QString texto(reinterpret_cast<const QChar*>(datos + 1), qsizetype((tamano - 1) / 2));
    const QStringList lineas = texto.isEmpty() ? QStringList() : texto.split(u'\n');
    const QList<QStringView> vistas = VistasDe(lineas);
    if (LineaNoCodificable(vistas, formato) != -1)
        return 0;
    const QByteArray bytes = CodificarLineas(vistas, formato);
    // A save writes the same bytes a few lines at a time.
    CodificacionPorTramos tramos(vistas, formato, 8);
    QByteArray unidos;
    for (QByteArray tramo; tramos.Siguiente(tramo);)
        unidos += tramo;
    if (unidos != bytes || tramos.byteAlto() != TieneByteAlto(bytes))
        std::abort();
    LectorLineas lector(bytes, formato.codificacion);
    // Bytes that happen to open with a byte-order mark, or to be UTF-8 with a byte above 127, read as
    // that before any choice: the ambiguities of the format.
    if (lector.formato().codificacion != formato.codificacion) {
        const bool marca = EmpiezaConMarca(bytes) && !(formato.bom && formato.codificacion.esUnicode());
        const bool utf8 = TieneByteAlto(bytes) && EsUtf8Valido(bytes);
        if (marca || utf8)
            return 0;
        std::abort();
    }
    QStringList leidas;
    while (!lector.fin())
        leidas.append(lector.siguiente());
    if (leidas != lineas)
        std::abort();
    return 0;
}
