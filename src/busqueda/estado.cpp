// The folder's status figures and their texts.
#include "estado.h"

#include <algorithm>
#include <vector>

#include "lector_carpeta.h"
#include "numeros.h"
#include "problemas_guion.h"

namespace {

// A pair whose translation is one text: each line is lent to the checks without a copy of its own.
class TextosConTraduccionEntera final : public TextosPar
{
public:
    TextosConTraduccionEntera(const QStringList& original, const QString& traduccion)
        : original_(original), traduccion_(QStringView(traduccion).split(u'\n'))
    {
    }

    int lineasOriginal() const override { return int(original_.size()); }
    int lineasTraduccion() const override { return int(traduccion_.size()); }
    void leerOriginal(int desde, int hasta, const Lector& leer) const override
    {
        for (int k = std::max(desde, 0); k < std::min(hasta, lineasOriginal()); ++k)
            leer(k, original_[k]);
    }
    void leerTraduccion(int desde, int hasta, const Lector& leer) const override
    {
        for (int k = std::max(desde, 0); k < std::min(hasta, lineasTraduccion()); ++k) {
            const QStringView linea = traduccion_[k];
            leer(k, QString::fromRawData(linea.data(), linea.size()));
        }
    }

private:
    const QStringList& original_;
    const QList<QStringView> traduccion_;
};

} // namespace

int FigurasScript::porcentaje() const
{
    if (lineasOriginal <= 0)
        return 100;
    return int(std::min<qint64>(traducidas, lineasOriginal) * 100 / lineasOriginal);
}

FigurasScript CalcularFiguras(const QString& nombre, const TextosPar& textos, const OpcionesEstado& opciones)
{
    FigurasScript figuras;
    figuras.nombre = nombre;
    figuras.lineasOriginal = textos.lineasOriginal();
    figuras.lineasTraduccion = textos.lineasTraduccion();
    const int comunes = std::min(textos.lineasOriginal(), textos.lineasTraduccion());
    std::vector<qsizetype> largos(std::size_t(comunes), 0);
    textos.leerOriginal(0, comunes,
                        [&](int linea, const QString& texto) { largos[std::size_t(linea)] = texto.size(); });
    textos.leerTraduccion(0, comunes, [&](int linea, const QString& texto) {
        if (!texto.isEmpty())
            ++figuras.traducidas;
        if (texto.size() > largos[std::size_t(linea)])
            ++figuras.largas;
    });
    ProblemasGuion guion(textos);
    guion.ponerComprobaciones(opciones.comprobaciones & ~Comprobaciones(Comprobacion::LineasFaltantes));
    guion.ponerPatron(opciones.patron);
    guion.releer();
    figuras.problemas = guion.totalLineas();
    return figuras;
}

FigurasScript CalcularFiguras(const QString& nombre, const QStringList& original, const QString& traduccion,
                              const OpcionesEstado& opciones)
{
    return CalcularFiguras(nombre, TextosConTraduccionEntera(original, traduccion), opciones);
}

std::optional<QList<FigurasScript>> CalcularEstado(LectorCarpeta& lector, const OpcionesEstado& opciones,
                                                   const QSet<QString>& conBorrador,
                                                   const std::function<bool()>& cancelado)
{
    QList<FigurasScript> figuras;
    lector.EmpezarLectura();
    const QList<LectorCarpeta::ResumenScript> resumen = lector.Resumen();
    for (const LectorCarpeta::ResumenScript& script : resumen) {
        if (cancelado && cancelado()) {
            lector.TerminarLectura();
            return std::nullopt;
        }
        const auto textos = lector.TextosDe(script.nombre);
        if (!textos)
            continue;
        TextosEnLista enLista;
        enLista.original = textos->original;
        enLista.traduccion = textos->traduccion;
        FigurasScript fila = CalcularFiguras(script.nombre, enLista, opciones);
        fila.sinGuardar = conBorrador.contains(script.nombre) ? 1 : 0;
        if (script.fechaTraduccion >= 0)
            fila.guardada = QDateTime::fromMSecsSinceEpoch(script.fechaTraduccion / 1000000);
        figuras.append(std::move(fila));
    }
    lector.TerminarLectura();
    std::sort(figuras.begin(), figuras.end(), [](const FigurasScript& a, const FigurasScript& b) {
        return a.nombre.compare(b.nombre, Qt::CaseInsensitive) < 0;
    });
    return figuras;
}

FigurasScript TotalCarpeta(const QList<FigurasScript>& figuras)
{
    FigurasScript total;
    total.nombre = QStringLiteral("Total");
    for (const FigurasScript& f : figuras) {
        total.lineasOriginal += f.lineasOriginal;
        total.lineasTraduccion += f.lineasTraduccion;
        total.traducidas += f.traducidas;
        total.largas += f.largas;
        total.problemas += f.problemas;
        total.sinGuardar += f.sinGuardar;
        if (f.guardada.isValid() && (!total.guardada.isValid() || f.guardada > total.guardada))
            total.guardada = f.guardada;
    }
    return total;
}

namespace {

QString Cuenta(qint64 n, const char16_t* singular, const char16_t* plural)
{
    return ConMiles(n) + u' ' + QString::fromUtf16(n == 1 ? singular : plural);
}

QString TextoDiferencia(qint64 diferencia)
{
    if (diferencia > 0)
        return Cuenta(diferencia, u"línea de más", u"líneas de más");
    if (diferencia < 0)
        return (diferencia == -1 ? u"falta " : u"faltan ") + Cuenta(-diferencia, u"línea", u"líneas");
    return {};
}

} // namespace

QString TextoFiguras(const FigurasScript& f)
{
    QStringList partes{ConMiles(f.traducidas) + u" de " +
                       Cuenta(f.lineasOriginal, u"línea traducida", u"líneas traducidas")};
    if (f.largas > 0)
        partes.append(Cuenta(f.largas, u"demasiado larga", u"demasiado largas"));
    if (f.problemas > 0)
        partes.append(Cuenta(f.problemas, u"problema", u"problemas"));
    if (f.diferencia() != 0)
        partes.append(TextoDiferencia(f.diferencia()));
    if (f.sinGuardar > 0)
        partes.append(QStringLiteral("texto sin guardar"));
    return partes.join(QStringLiteral("; "));
}

QStringList TitulosEstado()
{
    return {QStringLiteral("Script"),          QStringLiteral("Líneas"),
            QStringLiteral("Traducidas"),      QStringLiteral("%"),
            QStringLiteral("Largas"),          QStringLiteral("Problemas"),
            QStringLiteral("De más o faltan"), QStringLiteral("Sin guardar"),
            QStringLiteral("Guardada")};
}

QStringList CeldasEstado(const FigurasScript& f)
{
    const QString diferencia =
        f.diferencia() > 0 ? u'+' + QString::number(f.diferencia()) : QString::number(f.diferencia());
    return {f.nombre,
            QString::number(f.lineasOriginal),
            QString::number(f.traducidas),
            QString::number(f.porcentaje()),
            QString::number(f.largas),
            QString::number(f.problemas),
            diferencia,
            f.sinGuardar > 0 ? (f.nombre == u"Total" ? QString::number(f.sinGuardar) : QStringLiteral("Sí"))
                             : QString(),
            f.guardada.isValid() ? f.guardada.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString()};
}

namespace {

QString Campo(const QString& texto)
{
    if (!texto.contains(u',') && !texto.contains(u'"') && !texto.contains(u'\n') && !texto.contains(u'\r'))
        return texto;
    return u'"' + QString(texto).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString Fila(const QStringList& celdas)
{
    QStringList campos;
    for (const QString& celda : celdas)
        campos.append(Campo(celda));
    return campos.join(u',') + QStringLiteral("\r\n");
}

} // namespace

QByteArray CsvEstado(const QList<FigurasScript>& figuras)
{
    QString texto = Fila(TitulosEstado());
    for (const FigurasScript& f : figuras)
        texto += Fila(CeldasEstado(f));
    texto += Fila(CeldasEstado(TotalCarpeta(figuras)));
    return texto.toUtf8();
}
