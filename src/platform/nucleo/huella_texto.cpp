// The fingerprint of a text's lines.
#include "huella_texto.h"

#include <QHashFunctions>

HuellaTexto::HuellaTexto(const QList<QStringView>& lineas)
{
    for (const QStringView linea : lineas)
        AnadirLinea(linea);
}

void HuellaTexto::Anadir(const QStringList& lineas)
{
    for (const QString& linea : lineas)
        AnadirLinea(linea);
}

void HuellaTexto::AnadirLinea(QStringView linea)
{
    ++lineas_;
    caracteres_ += linea.size();
    hash_ = qHash(linea, hash_);
}
