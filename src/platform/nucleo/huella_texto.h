// The fingerprint of a text's lines: enough to tell whether a text still holds what was read or saved,
// without keeping a second copy of a long translation for it.
#pragma once

#include <QList>
#include <QStringList>
#include <QStringView>

class HuellaTexto final
{
public:
    // Of a text with no lines yet.
    HuellaTexto() = default;
    explicit HuellaTexto(const QList<QStringView>& lineas);

    // Takes in the next lines of the text, as a read delivers them.
    void Anadir(const QStringList& lineas);

    friend bool operator==(const HuellaTexto&, const HuellaTexto&) = default;

private:
    void AnadirLinea(QStringView linea);

    qsizetype lineas_ = 0;
    qsizetype caracteres_ = 0;
    // Each line's hash is seeded with the hash of the lines before it, so that the same characters split
    // into lines elsewhere, or in another order, tell apart.
    size_t hash_ = 0;
};
