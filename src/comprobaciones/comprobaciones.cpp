// The checks: reading a line into its summary, and comparing a translation line's summary with its
// original's.
#include "comprobaciones.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include <QSettings>
#include <QVarLengthArray>

#include "texto_archivo.h"

using namespace Qt::StringLiterals;

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

bool EsCierre(QChar c)
{
    return c == u'"' || c == u'\'' || c == u'»' || c == u'”' || c == u'’' || c == u')' || c == u'」' ||
           c == u'』';
}

// The punctuation a line ends in, as ResumenLinea::final() gives it.
char16_t Final(QStringView linea, const TramosCodigo& codigos)
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

// A hash that is never 0, which stands for "none".
quint64 HuellaNoNula(QStringView texto)
{
    const quint64 huella = Huella(texto);
    return huella == 0 ? 1 : huella;
}

quint64 HuellaCodigo(QStringView codigo)
{
    return (Huella(codigo) & ~quint64(1)) | (EsArgumentoSinPosicion(codigo) ? 1 : 0);
}

// Calls `alEncontrar(inicio, largo)` for each character of the line the code page cannot write.
template <typename AlEncontrar>
void RecorrerNoCodificables(QStringView linea, ProbadorCodificacion* probador, AlEncontrar alEncontrar)
{
    if (!probador)
        return;
    for (qsizetype i = probador->noCodificable(linea); i >= 0; i = probador->noCodificable(linea, i)) {
        const qsizetype largo = linea[i].isHighSurrogate() && i + 1 < linea.size() ? 2 : 1;
        alEncontrar(i, largo);
        i += largo;
    }
}

// What the messages name, read from the text of a line in the order of its summary's hashes.
struct TextosLinea
{
    QStringList codigos;
    QStringList cifras;
    QStringList noCodificables; // each once
};

TextosLinea LeerTextos(QStringView linea, const PatronCodigos& patron, ProbadorCodificacion* probador)
{
    TextosLinea textos;
    const TramosCodigo codigos = patron.codigos(linea);
    for (const TramoCodigo& codigo : codigos)
        textos.codigos.append(linea.sliced(codigo.inicio, codigo.largo).toString());
    for (const Cifra& cifra : CifrasLinea(linea, codigos))
        textos.cifras.append(linea.sliced(cifra.inicio, cifra.largo).toString());
    RecorrerNoCodificables(linea, probador, [&](qsizetype i, qsizetype largo) {
        const QString caracter = linea.sliced(i, largo).toString();
        if (!textos.noCodificables.contains(caracter))
            textos.noCodificables.append(caracter);
    });
    return textos;
}

// The problems found, counted, and with their messages when the texts of the pair are at hand.
class Informe
{
public:
    Informe(const TextosLinea* original, const TextosLinea* traduccion, QList<Problema>* problemas)
        : original(original), traduccion(traduccion), problemas_(problemas)
    {
    }

    // `texto()`, which returns a QString (not a builder of one), is called only when the messages are
    // wanted.
    template <typename Texto> void anadir(Comprobacion comprobacion, Texto texto)
    {
        static_assert(std::is_same_v<std::invoke_result_t<Texto>, QString>);
        ++cantidad_;
        if (problemas_)
            problemas_->append({comprobacion, texto()});
    }
    int cantidad() const { return cantidad_; }

    const TextosLinea* const original;
    const TextosLinea* const traduccion;

private:
    QList<Problema>* problemas_;
    int cantidad_ = 0;
};

QString Entre(const QString& texto)
{
    return u'«' + texto + u'»';
}

// The indexes of the items of `a` that `b` lacks, as multisets, in a's order.
QVarLengthArray<qsizetype, 8> Faltantes(std::span<const quint64> a, std::span<const quint64> b)
{
    QVarLengthArray<qsizetype, 8> faltan;
    if (std::equal(a.begin(), a.end(), b.begin(), b.end()))
        return faltan;
    QVarLengthArray<quint64, 16> disponibles(b.begin(), b.end());
    std::sort(disponibles.begin(), disponibles.end());
    // How many of each run of equal items of `disponibles` were taken, kept at the run's start.
    QVarLengthArray<qsizetype, 16> tomados(disponibles.size(), 0);
    for (qsizetype i = 0; i < qsizetype(a.size()); ++i) {
        const auto [desde, hasta] =
            std::equal_range(disponibles.begin(), disponibles.end(), a[std::size_t(i)]);
        if (desde == hasta) {
            faltan.append(i);
            continue;
        }
        qsizetype& tomadosAqui = tomados[desde - disponibles.begin()];
        if (tomadosAqui < hasta - desde)
            ++tomadosAqui;
        else
            faltan.append(i);
    }
    return faltan;
}

QVarLengthArray<quint64, 8> ArgumentosSinPosicion(std::span<const quint64> codigos)
{
    QVarLengthArray<quint64, 8> argumentos;
    for (const quint64 codigo : codigos) {
        if (codigo & 1)
            argumentos.append(codigo);
    }
    return argumentos;
}

void CompararCodigos(const ResumenLinea& o, const ResumenLinea& t, Informe& informe)
{
    if (std::ranges::equal(o.codigos(), t.codigos()))
        return;
    for (const qsizetype i : Faltantes(o.codigos(), t.codigos()))
        informe.anadir(Comprobacion::Codigos,
                       [&]() -> QString { return u"Falta " + Entre(informe.original->codigos.value(i)); });
    for (const qsizetype i : Faltantes(t.codigos(), o.codigos()))
        informe.anadir(Comprobacion::Codigos,
                       [&]() -> QString { return u"Sobra " + Entre(informe.traduccion->codigos.value(i)); });
    const QVarLengthArray<quint64, 8> enOriginal = ArgumentosSinPosicion(o.codigos());
    const QVarLengthArray<quint64, 8> enTraduccion = ArgumentosSinPosicion(t.codigos());
    if (enOriginal != enTraduccion && enOriginal.size() == enTraduccion.size() &&
        Faltantes(enOriginal, enTraduccion).isEmpty())
        informe.anadir(Comprobacion::Codigos, [] { return QStringLiteral("Los códigos van en otro orden"); });
}

void CompararCifras(const ResumenLinea& o, const ResumenLinea& t, Informe& informe)
{
    for (const qsizetype i : Faltantes(o.cifras(), t.cifras()))
        informe.anadir(Comprobacion::Numeros,
                       [&]() -> QString { return u"Falta el número " + informe.original->cifras.value(i); });
    for (const qsizetype i : Faltantes(t.cifras(), o.cifras()))
        informe.anadir(Comprobacion::Numeros, [&]() -> QString {
            return u"Sobra el número " + informe.traduccion->cifras.value(i);
        });
}

void CompararEspacios(const ResumenLinea& o, const ResumenLinea& t, Informe& informe)
{
    if (o.inicio() != t.inicio())
        informe.anadir(Comprobacion::Espacios,
                       [] { return QStringLiteral("Espacio al principio distinto del original"); });
    if (o.fin() != t.fin())
        informe.anadir(Comprobacion::Espacios,
                       [] { return QStringLiteral("Espacio al final distinto del original"); });
    if (t.dobleEspacio() && !o.dobleEspacio())
        informe.anadir(Comprobacion::Espacios, [] { return QStringLiteral("Dos espacios seguidos"); });
}

// A "¿" or "¡" (with `apertura`) whose other half is not on the line, unless the sentence goes on to a
// line within reach that holds the missing half with nothing that ends the sentence between.
bool SignoAbierto(int linea, const LineasTraduccion& traduccion, bool pregunta, bool apertura)
{
    const int paso = apertura ? 1 : -1;
    for (int k = 1; k <= alcanceSignos; ++k) {
        const ResumenLinea* vecina = traduccion(linea + paso * k);
        // The line the sentence would come from, or go on from, must run on into the next.
        const ResumenLinea* anterior = apertura ? traduccion(linea + k - 1) : vecina;
        if (!vecina || !anterior || !anterior->continua())
            return true;
        if (apertura ? vecina->sobraCierre(pregunta) : vecina->sobraApertura(pregunta))
            return false;
    }
    return true;
}

void CompararPuntuacion(const ResumenLinea& o, const ResumenLinea& t, int linea,
                        const LineasTraduccion& traduccion, Informe& informe)
{
    for (const bool pregunta : {true, false}) {
        if (t.sobraApertura(pregunta) && SignoAbierto(linea, traduccion, pregunta, true))
            informe.anadir(Comprobacion::Puntuacion,
                           [&]() -> QString { return pregunta ? u"Falta «?»"_s : u"Falta «!»"_s; });
        if (t.sobraCierre(pregunta) && SignoAbierto(linea, traduccion, pregunta, false))
            informe.anadir(Comprobacion::Puntuacion,
                           [&]() -> QString { return pregunta ? u"Falta «¿»"_s : u"Falta «¡»"_s; });
    }
    if (o.final() != 0 && t.final() != o.final())
        informe.anadir(Comprobacion::Puntuacion,
                       [] { return QStringLiteral("Termina con otra puntuación que el original"); });
}

void Comparar(const ResumenLinea& o, const ResumenLinea& t, int linea, const LineasTraduccion& traduccion,
              const OpcionesComprobacion& opciones, Informe& informe)
{
    const auto activa = [&](Comprobacion comprobacion) {
        return opciones.comprobaciones.testFlag(comprobacion);
    };
    if (t.enBlanco()) {
        if (!o.enBlanco() && activa(Comprobacion::SinTraducir))
            informe.anadir(Comprobacion::SinTraducir, [] { return QStringLiteral("Línea vacía"); });
        return;
    }
    if (activa(Comprobacion::Codigos))
        CompararCodigos(o, t, informe);
    if (activa(Comprobacion::Numeros))
        CompararCifras(o, t, informe);
    if (activa(Comprobacion::Espacios))
        CompararEspacios(o, t, informe);
    if (activa(Comprobacion::Puntuacion))
        CompararPuntuacion(o, t, linea, traduccion, informe);
    if (activa(Comprobacion::SinTraducir) && o.dosPalabras() && o.huella() == t.huella() &&
        o.largo() == t.largo())
        informe.anadir(Comprobacion::SinTraducir, [] { return QStringLiteral("Igual que el original"); });
    if (activa(Comprobacion::Codificacion)) {
        for (int i = 0; i < t.noCodificables(); ++i)
            informe.anadir(Comprobacion::Codificacion, [&]() -> QString {
                return Entre(informe.traduccion->noCodificables.value(i)) + u" no cabe en " +
                       opciones.nombreCodificacion;
            });
    }
}

} // namespace

quint64 Huella(QStringView texto)
{
    quint64 huella = 0x9E3779B97F4A7C15ull ^ quint64(texto.size());
    const char16_t* unidades = texto.utf16();
    const qsizetype largo = texto.size();
    qsizetype i = 0;
    for (; i + 4 <= largo; i += 4) {
        quint64 bloque;
        std::memcpy(&bloque, unidades + i, sizeof bloque);
        huella = (huella ^ bloque) * 0xBF58476D1CE4E5B9ull;
        huella ^= huella >> 31;
    }
    quint64 resto = 0;
    if (i < largo)
        std::memcpy(&resto, unidades + i, std::size_t(largo - i) * sizeof(char16_t));
    huella = (huella ^ resto) * 0x94D049BB133111EBull;
    return huella ^ (huella >> 29);
}

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

int ResumenLinea::noCodificables() const
{
    return datos_ ? int(datos_[0] >> 48) : 0;
}

const PatronCodigos& OpcionesComprobacion::patronEnUso() const
{
    static const PatronCodigos predeterminado;
    return comprobaciones.testFlag(Comprobacion::CodigosCarpeta) && patron.esPropio() ? patron
                                                                                      : predeterminado;
}

ResumenLinea Resumir(QStringView linea, const PatronCodigos& patron, ProbadorCodificacion* probador)
{
    ResumenLinea resumen;
    resumen.banderas_ = 0;
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

    const TramosCodigo codigos = patron.codigos(linea);
    QVarLengthArray<quint64, 8> cifras;
    HuellasCifras(linea, codigos, cifras);

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
        switch (c.unicode()) {
        case u'¿':
            ++pregunta;
            break;
        case u'?':
        case u'？':
            --pregunta;
            break;
        case u'¡':
            ++exclamacion;
            break;
        case u'!':
        case u'！':
            --exclamacion;
            break;
        case u' ':
            if (i > inicio && i < fin && linea[i - 1] == u' ')
                resumen.banderas_ |= ResumenLinea::DobleEspacio;
            break;
        default:
            break;
        }
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

    QVarLengthArray<char32_t, 4> noCodificables;
    RecorrerNoCodificables(linea, probador, [&](qsizetype i, qsizetype largo) {
        const char32_t caracter =
            largo == 2 ? QChar::surrogateToUcs4(linea[i], linea[i + 1]) : linea[i].unicode();
        if (!noCodificables.contains(caracter))
            noCodificables.append(caracter);
    });

    const quint64 bordeInicio = inicio > 0 ? HuellaNoNula(linea.first(inicio)) : 0;
    const quint64 bordeFin = fin < linea.size() ? HuellaNoNula(linea.sliced(fin)) : 0;
    if (codigos.isEmpty() && cifras.isEmpty() && noCodificables.isEmpty() && bordeInicio == 0 &&
        bordeFin == 0)
        return resumen;
    const std::size_t lado = std::min<std::size_t>(0xFFFFFF, std::max(codigos.size(), cifras.size()));
    const std::size_t nCodigos = std::min<std::size_t>(std::size_t(codigos.size()), lado);
    const std::size_t nCifras = std::min<std::size_t>(std::size_t(cifras.size()), lado);
    resumen.datos_ = std::make_unique<quint64[]>(ResumenLinea::posicionCodigos + nCodigos + nCifras);
    resumen.datos_[0] = nCodigos | (quint64(nCifras) << 24) |
                        (quint64(std::min<qsizetype>(noCodificables.size(), 0xFFFF)) << 48);
    resumen.datos_[ResumenLinea::posicionInicio] = bordeInicio;
    resumen.datos_[ResumenLinea::posicionFin] = bordeFin;
    for (std::size_t k = 0; k < nCodigos; ++k) {
        const TramoCodigo& tramo = codigos[qsizetype(k)];
        resumen.datos_[ResumenLinea::posicionCodigos + k] =
            HuellaCodigo(linea.sliced(tramo.inicio, tramo.largo));
    }
    std::copy(cifras.cbegin(), cifras.cbegin() + qsizetype(nCifras),
              resumen.datos_.get() + ResumenLinea::posicionCodigos + nCodigos);
    return resumen;
}

int ContarProblemas(const ResumenLinea& original, int linea, const LineasTraduccion& traduccion,
                    const OpcionesComprobacion& opciones)
{
    const ResumenLinea* propia = traduccion(linea);
    if (!propia)
        return 0;
    Informe informe(nullptr, nullptr, nullptr);
    Comparar(original, *propia, linea, traduccion, opciones, informe);
    return informe.cantidad();
}

QList<Problema> ProblemasLinea(QStringView original, QStringView traduccion, int linea,
                               const LineasTraduccion& vecinas, const OpcionesComprobacion& opciones,
                               ProbadorCodificacion* probador)
{
    const PatronCodigos& patron = opciones.patronEnUso();
    const ResumenLinea resumenOriginal = Resumir(original, patron);
    const ResumenLinea resumenTraduccion = Resumir(traduccion, patron, probador);
    const TextosLinea textosOriginal = LeerTextos(original, patron, nullptr);
    const TextosLinea textosTraduccion = LeerTextos(traduccion, patron, probador);
    QList<Problema> problemas;
    Informe informe(&textosOriginal, &textosTraduccion, &problemas);
    // The line itself as just read; its neighbours as the caller keeps them.
    const LineasTraduccion conPropia = [&](int k) {
        return k == linea ? &resumenTraduccion : vecinas(k);
    };
    Comparar(resumenOriginal, resumenTraduccion, linea, conPropia, opciones, informe);
    return problemas;
}
