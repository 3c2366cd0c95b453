// Restyling marks, kept as a counter on the document itself so that nested restyling nests.
#include "formato_documento.h"

#include <QTextDocument>

namespace {

constexpr char propiedad[] = "velartoSoloFormato";

} // namespace

CambioDeFormato::CambioDeFormato(QTextDocument* documento) : documento_(documento)
{
    if (documento_)
        documento_->setProperty(propiedad, documento_->property(propiedad).toInt() + 1);
}

CambioDeFormato::~CambioDeFormato()
{
    if (documento_)
        documento_->setProperty(propiedad, documento_->property(propiedad).toInt() - 1);
}

bool SoloFormato(const QTextDocument* documento)
{
    return documento && documento->property(propiedad).toInt() > 0;
}
