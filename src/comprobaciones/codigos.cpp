// The code scanner: one pass over the line; brackets are matched once per line, so a line full of
// unclosed brackets costs no more than any other.
#include "codigos.h"

#include <algorithm>

#include <QCoreApplication>

namespace {

bool EsDigito(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool EsHexadecimal(QChar c)
{
    return EsDigito(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Where a printf-style or numbered code opened by the '%' at `i` ends, or -1 when the '%' starts none.
// Digits right after the '%' are a position before '$', a width before the rest of a conversion
// ("%5.2f", "%10s"), and otherwise a numbered argument ("%1 de %2").
qsizetype FinDePorcentaje(QStringView linea, qsizetype i)
{
    qsizetype j = i + 1;
    const auto hay = [&](auto prueba) {
        return j < linea.size() && prueba(linea[j]);
    };
    if (hay([](QChar c) { return c == u'%'; }))
        return j + 1;
    qsizetype numerado = -1;
    if (hay(EsDigito)) {
        while (hay(EsDigito))
            ++j;
        if (hay([](QChar c) { return c == u'$'; }))
            ++j;
        else
            numerado = j;
    }
    // No space flag: "al 100% seguro" is a percentage before a word.
    while (hay([](QChar c) { return c == u'-' || c == u'+' || c == u'#' || c == u'0'; }))
        ++j;
    while (hay(EsDigito) || hay([](QChar c) { return c == u'*'; }))
        ++j;
    if (hay([](QChar c) { return c == u'.'; })) {
        ++j;
        while (hay(EsDigito) || hay([](QChar c) { return c == u'*'; }))
            ++j;
    }
    while (hay(
        [](QChar c) { return c == u'h' || c == u'l' || c == u'L' || c == u'z' || c == u'j' || c == u't'; }))
        ++j;
    static constexpr QStringView conversiones = u"diouxXeEfFgGaAcspnS@";
    if (hay([](QChar c) { return conversiones.contains(c); }))
        return j + 1;
    return numerado;
}

// Where a backslash escape opened at `i` ends, or -1 for a backslash that ends the line.
qsizetype FinDeEscape(QStringView linea, qsizetype i)
{
    qsizetype j = i + 1;
    if (j >= linea.size())
        return -1;
    const QChar tipo = linea[j++];
    const qsizetype maximo = tipo == u'x' ? 2 : tipo == u'u' ? 4 : tipo == u'U' ? 8 : 0;
    for (qsizetype n = 0; n < maximo && j < linea.size() && EsHexadecimal(linea[j]); ++n)
        ++j;
    return j;
}

// For each opening bracket of the line, one past the bracket of the same kind that closes it, or -1;
// computed with one stack per kind on the first bracket met.
class Corchetes
{
public:
    explicit Corchetes(QStringView linea) : linea_(linea) {}

    qsizetype fin(qsizetype i)
    {
        if (cierres_.isEmpty())
            Emparejar();
        return cierres_[i];
    }

private:
    void Emparejar()
    {
        cierres_.resize(linea_.size());
        std::fill(cierres_.begin(), cierres_.end(), -1);
        QVarLengthArray<qsizetype, 32> abiertos[3];
        for (qsizetype i = 0; i < linea_.size(); ++i) {
            const QChar c = linea_[i];
            const int abre = c == u'{' ? 0 : c == u'<' ? 1 : c == u'[' ? 2 : -1;
            const int cierra = c == u'}' ? 0 : c == u'>' ? 1 : c == u']' ? 2 : -1;
            if (abre >= 0) {
                abiertos[abre].append(i);
            } else if (cierra >= 0 && !abiertos[cierra].empty()) {
                cierres_[abiertos[cierra].back()] = i + 1;
                abiertos[cierra].removeLast();
            }
        }
    }

    QStringView linea_;
    QVarLengthArray<qsizetype, 128> cierres_;
};

// The engine's message in this editor's words. Qt's own translation may have given it in Spanish
// already, in other words than these; it is recognised in both languages.
QString Traducir(const QString& error)
{
    // The messages of the regular-expression engine most likely met in a hand-written pattern.
    static const std::pair<const char*, const char*> conocidos[] = {
        {"missing closing parenthesis", "falta un «)» que cierre el grupo"},
        {"unmatched closing parenthesis", "sobra un «)» que no abre ningún grupo"},
        {"missing terminating ] for character class", "falta el «]» que cierre la lista de caracteres"},
        {"range out of order in character class", "el intervalo de la lista de caracteres está al revés"},
        {"quantifier does not follow a repeatable item",
         "una repetición no sigue a nada que se pueda repetir"},
        {"\\ at end of pattern", "la expresión termina en «\\»"},
        {"syntax error in subpattern name (missing terminator?)", "falta el final del nombre del grupo"},
        {"unrecognized character follows \\", "«\\» va seguida de un carácter desconocido"},
        {"numbers out of order in {} quantifier", "los números de la repetición {} están al revés"},
        {"number too big in {} quantifier", "un número de la repetición {} es demasiado grande"},
        {"reference to non-existent subpattern", "se refiere a un grupo que no existe"},
        {"unrecognized character after (? or (?-", "carácter desconocido tras «(?»"},
        {"lookbehind assertion is not fixed length", "lo que se busca hacia atrás no tiene un largo fijo"},
        {"unknown POSIX class name", "nombre de clase POSIX desconocido"},
    };
    for (const auto& [ingles, espanol] : conocidos) {
        if (error == QLatin1StringView(ingles) ||
            error == QCoreApplication::translate("QRegularExpression", ingles))
            return QString::fromUtf8(espanol);
    }
    return QStringLiteral("error de sintaxis");
}

} // namespace

TramosCodigo CodigosPredeterminados(QStringView linea)
{
    TramosCodigo codigos;
    Corchetes corchetes(linea);
    qsizetype i = 0;
    while (i < linea.size()) {
        const QChar c = linea[i];
        qsizetype fin = -1;
        if (c == u'{' || c == u'<' || c == u'[')
            fin = corchetes.fin(i);
        else if (c == u'%')
            fin = FinDePorcentaje(linea, i);
        else if (c == u'\\')
            fin = FinDeEscape(linea, i);
        if (fin < 0) {
            ++i;
            continue;
        }
        codigos.append({int(i), int(fin - i)});
        i = fin;
    }
    return codigos;
}

bool EsArgumentoSinPosicion(QStringView codigo)
{
    if (codigo == u"{}")
        return true;
    if (codigo.size() < 2 || codigo.front() != u'%' || codigo == u"%%")
        return false;
    // A printf conversion ends in a letter; "%1" and "%1$s" carry their position.
    if (!codigo.back().isLetter() && codigo.back() != u'@')
        return false;
    qsizetype j = 1;
    while (j < codigo.size() && EsDigito(codigo[j]))
        ++j;
    return !(j > 1 && j < codigo.size() && codigo[j] == u'$');
}

PatronCodigos::PatronCodigos(const QString& expresion) : expresion_(expresion.trimmed())
{
    if (expresion_.isEmpty())
        return;
    regex_.setPattern(expresion_);
    if (!regex_.isValid()) {
        error_ = QStringLiteral("La expresión no es válida: %1 (carácter %2).")
                     .arg(Traducir(regex_.errorString()), QString::number(regex_.patternErrorOffset() + 1));
        return;
    }
    regex_.optimize();
    propio_ = true;
}

TramosCodigo PatronCodigos::codigos(QStringView linea) const
{
    if (!propio_)
        return CodigosPredeterminados(linea);
    TramosCodigo codigos;
    for (auto coincidencias = regex_.globalMatch(linea); coincidencias.hasNext();) {
        const QRegularExpressionMatch coincidencia = coincidencias.next();
        if (coincidencia.capturedLength() > 0)
            codigos.append({int(coincidencia.capturedStart()), int(coincidencia.capturedLength())});
    }
    return codigos;
}
