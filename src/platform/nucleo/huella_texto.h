// The fingerprint of a text's lines: enough to tell whether a text still holds what was read or saved,
// without keeping a second copy of a long translation for it.
#pragma once

#include <QList>
#include <QStringList>
#include <QStringView>

// Two fingerprints are equal when the lines joined by '\n' are the same text: a file with no lines and
// one with a single empty line both fill the box with nothing, and both match an empty box.
class HuellaTexto final
{
public:
    // Of a text with no lines yet.
    HuellaTexto() = default;
    explicit HuellaTexto(const QList<QStringView>& lineas);
    // Of a text whose lines are separated by '\n'.
    static HuellaTexto DeTexto(QStringView texto);

    // Takes in the next lines of the text, as a read delivers them.
    void Anadir(const QStringList& lineas);

    friend bool operator==(const HuellaTexto& a, const HuellaTexto& b)
    {
        return a.saltos_ == b.saltos_ && a.caracteres_ == b.caracteres_ && a.hash_ == b.hash_;
    }

private:
    void AnadirLinea(QStringView linea);

    // Whether a line was taken in: the next one comes after a line break.
    bool empezada_ = false;
    qsizetype saltos_ = 0;
    qsizetype caracteres_ = 0;
    // Each line break and each line's characters are hashed seeded with the hash of what came before, so
    // that the same characters split into lines elsewhere, or in another order, tell apart.
    size_t hash_ = 0;
};
