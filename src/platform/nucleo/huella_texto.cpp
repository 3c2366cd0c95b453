// The fingerprint of a text's lines.
#include "huella_texto.h"

#include <utility>

#include <QHashFunctions>

HuellaTexto::HuellaTexto(const QList<QStringView>& lineas)
{
    for (const QStringView linea : lineas)
        AnadirLinea(linea);
}

HuellaTexto HuellaTexto::DeTexto(QStringView texto)
{
    HuellaTexto huella;
    for (const QStringView linea : texto.tokenize(u'\n'))
        huella.AnadirLinea(linea);
    return huella;
}

void HuellaTexto::Anadir(const QStringList& lineas)
{
    for (const QString& linea : lineas)
        AnadirLinea(linea);
}

void HuellaTexto::AnadirLinea(QStringView linea)
{
    if (std::exchange(empezada_, true)) {
        ++saltos_;
        hash_ = qHash(saltos_, hash_);
    }
    // An empty line adds nothing but the break before it: no lines and one empty line are the same text.
    if (!linea.isEmpty())
        hash_ = qHash(linea, hash_);
    caracteres_ += linea.size();
}
