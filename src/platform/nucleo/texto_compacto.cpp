// A long text in Latin-1 while it can be.
#include "texto_compacto.h"

#include <algorithm>

TextoCompacto::TextoCompacto(QString texto) : latin1_(false), texto_(std::move(texto)) {}

void TextoCompacto::Reservar(qsizetype caracteres)
{
    if (latin1_)
        bytes_.reserve(caracteres);
    else
        texto_.reserve(caracteres);
}

void TextoCompacto::Anadir(QStringView texto)
{
    if (latin1_ && std::all_of(texto.begin(), texto.end(), [](QChar c) { return c.unicode() <= 0xff; })) {
        const qsizetype antes = bytes_.size();
        bytes_.resize(antes + texto.size());
        std::transform(texto.begin(), texto.end(), bytes_.data() + antes,
                       [](QChar c) { return char(c.unicode()); });
        return;
    }
    if (latin1_) {
        latin1_ = false;
        texto_.reserve(std::max(bytes_.capacity(), bytes_.size() + texto.size()));
        texto_ += QLatin1StringView(bytes_);
        bytes_ = QByteArray();
    }
    texto_ += texto;
}

QAnyStringView TextoCompacto::Tramo(qsizetype desde, qsizetype largo) const
{
    if (latin1_)
        return QLatin1StringView(bytes_).sliced(desde, largo);
    return QStringView(texto_).sliced(desde, largo);
}
