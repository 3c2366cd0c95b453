// A long text kept whole beside the box, such as a translation as it was loaded: one byte a character
// while every character fits in Latin-1, as Western scripts' do, two (UTF-16) otherwise. For a script of
// plain Latin letters that is half the memory of a QString.
#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QString>

class TextoCompacto final
{
public:
    TextoCompacto() = default;
    // Keeps `texto` as it is, sharing it: nothing is converted on the caller's thread.
    explicit TextoCompacto(QString texto);

    void Reservar(qsizetype caracteres);
    // Appends `texto`; the first character beyond Latin-1 turns what is held into UTF-16.
    void Anadir(QStringView texto);

    qsizetype size() const { return latin1_ ? bytes_.size() : texto_.size(); }
    // `largo` characters from `desde`, as Latin-1 or UTF-16: QAnyStringView compares either with a QString.
    QAnyStringView Tramo(qsizetype desde, qsizetype largo) const;
    QAnyStringView Vista() const { return Tramo(0, size()); }

private:
    bool latin1_ = true;
    QByteArray bytes_;
    QString texto_;
};
