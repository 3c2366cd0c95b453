// The checks: reading a line into its summary, and comparing a translation line's summary with its
// original's.
#include "comprobaciones.h"

#include <QHash>
#include <QSettings>

#include "texto_archivo.h"

namespace {

const QString grupoAjustes = QStringLiteral("Comprobaciones");

QString ClaveAjuste(Comprobacion comprobacion)
{
    switch (comprobacion) {
    case Comprobacion::Codigos:
        return QStringLiteral("Codigos");
    case Comprobacion::CodigosCarpeta:
        return QStringLiteral("CodigosCarpeta");
    case Comprobacion::Numeros:
        return QStringLiteral("Numeros");
    case Comprobacion::Espacios:
        return QStringLiteral("Espacios");
    case Comprobacion::Puntuacion:
        return QStringLiteral("Puntuacion");
    case Comprobacion::SinTraducir:
        return QStringLiteral("SinTraducir");
    case Comprobacion::Codificacion:
        return QStringLiteral("Codificacion");
    case Comprobacion::LineasFaltantes:
        break;
    }
    return QStringLiteral("LineasFaltantes");
}

QString Cantidad(int n, const char* singular, const char* plural)
{
    return QString::number(n) + u' ' + QString::fromUtf8(n == 1 ? singular : plural);
}

quint64 Huella(QStringView texto)
{
    quint64 huella = 14695981039346656037ull;
    for (const QChar c : texto) {
        huella ^= c.unicode();
        huella *= 1099511628211ull;
    }
    return huella;
}

bool EsCierre(QChar c)
{
    return c == u'"' || c == u'\'' || c == u'»' || c == u'”' || c == u'’' || c == u')' || c == u'」' ||
           c == u'』';
}

// The punctuation a line ends in, as ResumenLinea::final() gives it.
char16_t Final(QStringView linea, const QList<TramoCodigo>& codigos)
{
    qsizetype fin = linea.size();
    auto codigo = codigos.crbegin();
    while (fin > 0) {
        while (codigo != codigos.crend() && codigo->inicio >= fin)
            ++codigo;
        if (codigo != codigos.crend() && codigo->inicio + codigo->largo == fin)
            fin = codigo->inicio;
        else if (linea[fin - 1].isSpace() || EsCierre(linea[fin - 1]))
            --fin;
        else
            break;
    }
    if (fin == 0)
        return 0;
    switch (linea[fin - 1].unicode()) {
    case u'.':
    case u'。':
    case u'．':
        return fin >= 3 && linea[fin - 2] == u'.' && linea[fin - 3] == u'.' ? u'…' : u'.';
    case u'!':
    case u'！':
        return u'!';
    case u'?':
    case u'？':
        return u'?';
    case u':':
    case u'：':
        return u':';
    case u'…':
    case u'‥':
        return u'…';
    default:
        return 0;
    }
}

// The indexes of the items of `a` that `b` lacks, as multisets, in a's order.
QList<qsizetype> Faltantes(const QStringList& a, const QStringList& b)
{
    QList<qsizetype> faltan;
    if (a == b)
        return faltan;
    QHash<QStringView, int> cuenta;
    for (const QString& x : b)
        ++cuenta[x];
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (--cuenta[a[i]] < 0)
            faltan.append(i);
    }
    return faltan;
}

QStringList ArgumentosSinPosicion(const QStringList& codigos)
{
    QStringList argumentos;
    for (const QString& codigo : codigos) {
        if (EsArgumentoSinPosicion(codigo))
            argumentos.append(codigo);
    }
    return argumentos;
}

QString Entre(const QString& texto)
{
    return u'«' + texto + u'»';
}

void Anadir(QList<Problema>& problemas, Comprobacion comprobacion, const QString& texto)
{
    problemas.append({comprobacion, texto});
}

void CompararCodigos(const ResumenLinea& o, const ResumenLinea& t, QList<Problema>& problemas)
{
    if (o.codigos() == t.codigos())
        return;
    for (const qsizetype i : Faltantes(o.codigos(), t.codigos()))
        Anadir(problemas, Comprobacion::Codigos, u"Falta " + Entre(o.codigos()[i]));
    for (const qsizetype i : Faltantes(t.codigos(), o.codigos()))
        Anadir(problemas, Comprobacion::Codigos, u"Sobra " + Entre(t.codigos()[i]));
    const QStringList enOriginal = ArgumentosSinPosicion(o.codigos());
    const QStringList enTraduccion = ArgumentosSinPosicion(t.codigos());
    if (enOriginal != enTraduccion && Faltantes(enOriginal, enTraduccion).isEmpty() &&
        enOriginal.size() == enTraduccion.size())
        Anadir(problemas, Comprobacion::Codigos, QStringLiteral("Los códigos van en otro orden"));
}

void CompararCifras(const ResumenLinea& o, const ResumenLinea& t, QList<Problema>& problemas)
{
    for (const qsizetype i : Faltantes(o.cifras(), t.cifras()))
        Anadir(problemas, Comprobacion::Numeros, u"Falta el número " + o.textosCifras()[i]);
    for (const qsizetype i : Faltantes(t.cifras(), o.cifras()))
        Anadir(problemas, Comprobacion::Numeros, u"Sobra el número " + t.textosCifras()[i]);
}

void CompararEspacios(const ResumenLinea& o, const ResumenLinea& t, QList<Problema>& problemas)
{
    if (o.inicio() != t.inicio())
        Anadir(problemas, Comprobacion::Espacios,
               QStringLiteral("Espacio al principio distinto del original"));
    if (o.fin() != t.fin())
        Anadir(problemas, Comprobacion::Espacios, QStringLiteral("Espacio al final distinto del original"));
    if (t.dobleEspacio() && !o.dobleEspacio())
        Anadir(problemas, Comprobacion::Espacios, QStringLiteral("Dos espacios seguidos"));
}

// A "¿" or "¡" (with `apertura`) whose other half is not on the line, unless the sentence goes on to a
// line within reach that holds the missing half with nothing that ends the sentence between.
bool SignoAbierto(int linea, const LineasTraduccion& traduccion, bool pregunta, bool apertura)
{
    const int paso = apertura ? 1 : -1;
    for (int k = 1; k <= alcanceSignos; ++k) {
        const ResumenLinea* vecina = traduccion(linea + paso * k);
        // The line the sentence would come from, or go on from, must run on into the next.
        const ResumenLinea* anterior = traduccion(apertura ? linea + k - 1 : linea - k);
        if (!vecina || !anterior || !anterior->continua())
            return true;
        if (apertura ? vecina->sobraCierre(pregunta) : vecina->sobraApertura(pregunta))
            return false;
    }
    return true;
}

void CompararPuntuacion(const ResumenLinea& o, const ResumenLinea& t, int linea,
                        const LineasTraduccion& traduccion, QList<Problema>& problemas)
{
    for (const bool pregunta : {true, false}) {
        const QString abre = pregunta ? QStringLiteral("¿") : QStringLiteral("¡");
        const QString cierra = pregunta ? QStringLiteral("?") : QStringLiteral("!");
        if (t.sobraApertura(pregunta) && SignoAbierto(linea, traduccion, pregunta, true))
            Anadir(problemas, Comprobacion::Puntuacion, u"Falta " + Entre(cierra));
        if (t.sobraCierre(pregunta) && SignoAbierto(linea, traduccion, pregunta, false))
            Anadir(problemas, Comprobacion::Puntuacion, u"Falta " + Entre(abre));
    }
    if (o.final() != 0 && t.final() != o.final())
        Anadir(problemas, Comprobacion::Puntuacion,
               QStringLiteral("Termina con otra puntuación que el original"));
}

} // namespace

QList<Comprobacion> ComprobacionesElegibles()
{
    return {Comprobacion::Codigos,     Comprobacion::CodigosCarpeta, Comprobacion::Numeros,
            Comprobacion::Espacios,    Comprobacion::Puntuacion,     Comprobacion::SinTraducir,
            Comprobacion::Codificacion};
}

QString NombreComprobacion(Comprobacion comprobacion)
{
    switch (comprobacion) {
    case Comprobacion::Codigos:
        return QStringLiteral("Códigos de control");
    case Comprobacion::CodigosCarpeta:
        return QStringLiteral("Códigos propios de la carpeta");
    case Comprobacion::Numeros:
        return QStringLiteral("Números");
    case Comprobacion::Espacios:
        return QStringLiteral("Espacios");
    case Comprobacion::Puntuacion:
        return QStringLiteral("Puntuación");
    case Comprobacion::SinTraducir:
        return QStringLiteral("Líneas sin traducir o vacías");
    case Comprobacion::Codificacion:
        return QStringLiteral("Caracteres que la codificación no admite");
    case Comprobacion::LineasFaltantes:
        break;
    }
    return QStringLiteral("Líneas que faltan");
}

Comprobaciones LeerComprobaciones(QSettings& ajustes)
{
    Comprobaciones comprobaciones = todasComprobaciones;
    ajustes.beginGroup(grupoAjustes);
    for (const Comprobacion comprobacion : ComprobacionesElegibles())
        comprobaciones.setFlag(comprobacion, ajustes.value(ClaveAjuste(comprobacion), true).toBool());
    ajustes.endGroup();
    return comprobaciones;
}

void EscribirComprobaciones(QSettings& ajustes, Comprobaciones comprobaciones)
{
    ajustes.beginGroup(grupoAjustes);
    for (const Comprobacion comprobacion : ComprobacionesElegibles())
        ajustes.setValue(ClaveAjuste(comprobacion), comprobaciones.testFlag(comprobacion));
    ajustes.endGroup();
}

QString TextoResumen(int problemas, int lineas)
{
    if (problemas == 0)
        return QStringLiteral("Ningún problema");
    return Cantidad(problemas, "problema", "problemas") + u" en " + Cantidad(lineas, "línea", "líneas");
}

QString TextoLineasFaltantes(int primera, int cantidad)
{
    if (cantidad == 1)
        return QStringLiteral("Falta 1 línea (la %1)").arg(primera);
    return QStringLiteral("Faltan %1 líneas (de la %2 a la %3)")
        .arg(QString::number(cantidad), QString::number(primera), QString::number(primera + cantidad - 1));
}

bool ResumenLinea::continua() const
{
    return !enBlanco() && final_ != u'.' && final_ != u'!' && final_ != u'?' && final_ != u'…';
}

bool ResumenLinea::sobraApertura(bool pregunta) const
{
    return banderas_ & (pregunta ? SobraAbrePregunta : SobraAbreExclamacion);
}

bool ResumenLinea::sobraCierre(bool pregunta) const
{
    return banderas_ & (pregunta ? SobraCierraPregunta : SobraCierraExclamacion);
}

const ResumenLinea::Detalle& ResumenLinea::detalle() const
{
    static const Detalle vacio;
    return detalle_ ? *detalle_ : vacio;
}

ResumenLinea Resumir(QStringView linea, const PatronCodigos& patron, ProbadorCodificacion* probador)
{
    ResumenLinea resumen;
    resumen.huella_ = Huella(linea);
    resumen.largo_ = int(linea.size());
    qsizetype inicio = 0;
    while (inicio < linea.size() && linea[inicio].isSpace())
        ++inicio;
    if (inicio == linea.size()) {
        resumen.banderas_ |= ResumenLinea::EnBlanco;
        return resumen;
    }
    qsizetype fin = linea.size();
    while (linea[fin - 1].isSpace())
        --fin;

    ResumenLinea::Detalle detalle;
    const QList<TramoCodigo> codigos = patron.codigos(linea);
    for (const TramoCodigo& codigo : codigos)
        detalle.codigos.append(linea.sliced(codigo.inicio, codigo.largo).toString());
    for (const Cifra& cifra : CifrasLinea(linea, codigos)) {
        detalle.cifras.append(cifra.valor);
        detalle.textosCifras.append(linea.sliced(cifra.inicio, cifra.largo).toString());
    }
    detalle.inicio = linea.first(inicio).toString();
    detalle.fin = linea.sliced(fin).toString();

    // Words, question and exclamation marks, outside codes; double spaces between the edges.
    int palabras = 0;
    int pregunta = 0;
    int exclamacion = 0;
    bool enPalabra = false;
    auto codigo = codigos.cbegin();
    for (qsizetype i = 0; i < linea.size(); ++i) {
        if (codigo != codigos.cend() && codigo->inicio == i) {
            i += codigo->largo - 1;
            ++codigo;
            enPalabra = false;
            continue;
        }
        const QChar c = linea[i];
        const bool letra = c.isLetter();
        palabras += letra && !enPalabra;
        enPalabra = letra;
        pregunta += c == u'¿' ? 1 : c == u'?' || c == u'？' ? -1 : 0;
        exclamacion += c == u'¡' ? 1 : c == u'!' || c == u'！' ? -1 : 0;
        if (c == u' ' && i > inicio && i < fin && linea[i - 1] == u' ')
            resumen.banderas_ |= ResumenLinea::DobleEspacio;
    }
    if (palabras >= 2)
        resumen.banderas_ |= ResumenLinea::DosPalabras;
    if (pregunta != 0)
        resumen.banderas_ |=
            pregunta > 0 ? ResumenLinea::SobraAbrePregunta : ResumenLinea::SobraCierraPregunta;
    if (exclamacion != 0)
        resumen.banderas_ |=
            exclamacion > 0 ? ResumenLinea::SobraAbreExclamacion : ResumenLinea::SobraCierraExclamacion;
    resumen.final_ = Final(linea, codigos);

    for (qsizetype i = probador ? probador->noCodificable(linea) : -1; i >= 0;
         i = probador->noCodificable(linea, i + 1)) {
        const qsizetype largo = linea[i].isHighSurrogate() && i + 1 < linea.size() ? 2 : 1;
        const QString caracter = linea.sliced(i, largo).toString();
        if (!detalle.noCodificables.contains(caracter))
            detalle.noCodificables.append(caracter);
        i += largo - 1;
    }
    if (!detalle.codigos.isEmpty() || !detalle.cifras.isEmpty() || !detalle.inicio.isEmpty() ||
        !detalle.fin.isEmpty() || !detalle.noCodificables.isEmpty())
        resumen.detalle_ = std::make_shared<const ResumenLinea::Detalle>(std::move(detalle));
    return resumen;
}

QList<Problema> ProblemasLinea(const ResumenLinea& original, int linea, const LineasTraduccion& traduccion,
                               const OpcionesComprobacion& opciones)
{
    QList<Problema> problemas;
    const ResumenLinea* propia = traduccion(linea);
    if (!propia)
        return problemas;
    const ResumenLinea& t = *propia;
    const auto activa = [&](Comprobacion comprobacion) {
        return opciones.comprobaciones.testFlag(comprobacion);
    };
    if (t.enBlanco()) {
        if (!original.enBlanco() && activa(Comprobacion::SinTraducir))
            Anadir(problemas, Comprobacion::SinTraducir, QStringLiteral("Línea vacía"));
        return problemas;
    }
    if (activa(Comprobacion::Codigos))
        CompararCodigos(original, t, problemas);
    if (activa(Comprobacion::Numeros))
        CompararCifras(original, t, problemas);
    if (activa(Comprobacion::Espacios))
        CompararEspacios(original, t, problemas);
    if (activa(Comprobacion::Puntuacion))
        CompararPuntuacion(original, t, linea, traduccion, problemas);
    if (activa(Comprobacion::SinTraducir) && original.dosPalabras() && original.huella() == t.huella() &&
        original.largo() == t.largo())
        Anadir(problemas, Comprobacion::SinTraducir, QStringLiteral("Igual que el original"));
    if (activa(Comprobacion::Codificacion)) {
        for (const QString& caracter : t.noCodificables())
            Anadir(problemas, Comprobacion::Codificacion,
                   Entre(caracter) + u" no cabe en " + opciones.nombreCodificacion);
    }
    return problemas;
}
