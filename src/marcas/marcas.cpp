// The marked lines of a translation, re-measured from the change signals of its document and of the
// original list. A keystroke re-measures the one line it changed; a line break added or taken away
// re-marks the lines after it, which now stand beside other lines of the original.
#include "marcas.h"

#include <algorithm>

#include <QAbstractItemModel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Above this many lines, marks are set without keeping the counts and counted once at the end.
constexpr int lineasSueltas = 256;

} // namespace

MarcasLineas::MarcasLineas(QPlainTextEdit* caja, QAbstractItemView* lista, QObject* padre)
    : QObject(padre), vigia_(caja, lista)
{
    Conectar();
    MedirTodo();
}

void MarcasLineas::Conectar()
{
    connect(&vigia_, &VigiaPar::traduccionCambiada, this, &MarcasLineas::LineasCambiadas);
    connect(&vigia_, &VigiaPar::originalCambiado, this, &MarcasLineas::FilasDistintas);
    connect(&vigia_, &VigiaPar::traduccionNueva, this, &MarcasLineas::MedirTodo);
    // Rows moved or sorted, or the whole list replaced: every row is measured again.
    connect(&vigia_, &VigiaPar::originalNuevo, this, [this] { FilasCambiadas(-1, -1); });
}

int MarcasLineas::sobrantes() const
{
    // Without an original line there is nothing to compare with, as for the monitor.
    if (largoOriginal_.empty())
        return 0;
    return std::max(lineasTraduccion() - lineasOriginal(), 0);
}

Marca MarcasLineas::marca(int linea) const
{
    if (linea < 0 || linea >= lineasTraduccion() || largoOriginal_.empty())
        return Marca::Ninguna;
    if (linea >= lineasOriginal())
        return Marca::Sobrante;
    return largas_.contiene(linea) ? Marca::Larga : Marca::Ninguna;
}

int MarcasLineas::primeraDesde(Marca tipo, int linea) const
{
    linea = std::max(linea, 0);
    switch (tipo) {
    case Marca::Larga:
        return largas_.siguiente(linea);
    case Marca::Sobrante: {
        const int desde = std::max(linea, lineasOriginal());
        return sobrantes() > 0 && desde < lineasTraduccion() ? desde : -1;
    }
    case Marca::Ninguna:
        break;
    }
    return -1;
}

int MarcasLineas::siguiente(int linea, bool adelante) const
{
    if (cantidad() == 0)
        return -1;
    // Every extra line comes after every too long one.
    const auto primera = [this](int desde) {
        const int larga = primeraDesde(Marca::Larga, desde);
        return larga >= 0 ? larga : primeraDesde(Marca::Sobrante, desde);
    };
    const auto ultimaAntes = [this](int hasta) {
        if (sobrantes() > 0 && hasta > lineasOriginal())
            return std::min(hasta, lineasTraduccion()) - 1;
        return largas_.anterior(hasta);
    };
    if (adelante) {
        const int encontrada = primera(linea + 1);
        return encontrada >= 0 ? encontrada : primera(0);
    }
    const int encontrada = ultimaAntes(linea);
    return encontrada >= 0 ? encontrada : ultimaAntes(lineasTraduccion());
}

int MarcasLineas::orden(int linea) const
{
    const int extra = sobrantes() > 0 ? std::clamp(linea - lineasOriginal(), 0, sobrantes()) : 0;
    return largas_.rango(linea) + extra;
}

int MarcasLineas::enesima(int orden) const
{
    if (orden < 0 || orden >= cantidad())
        return -1;
    return orden < largas() ? largas_.enesimo(orden) : lineasOriginal() + orden - largas();
}

int MarcasLineas::largoTraduccion(int linea) const
{
    return linea >= 0 && linea < lineasTraduccion() ? largoTraduccion_[std::size_t(linea)] : -1;
}

int MarcasLineas::largoOriginal(int linea) const
{
    return linea >= 0 && linea < lineasOriginal() ? largoOriginal_[std::size_t(linea)] : -1;
}

QString MarcasLineas::textoTraduccion(int linea, int maximo) const
{
    if (!vigia_.documento() || linea < 0 || linea >= lineasTraduccion())
        return {};
    const QTextBlock bloque = vigia_.documento()->findBlockByNumber(linea);
    if (bloque.length() - 1 <= maximo)
        return bloque.text();
    QTextCursor cursor(bloque);
    cursor.setPosition(bloque.position() + maximo, QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

QString MarcasLineas::textoOriginal(int linea, int maximo) const
{
    if (linea < 0 || linea >= Filas())
        return {};
    return vigia_.modelo()->index(linea, 0).data().toString().left(maximo);
}

void MarcasLineas::LineasCambiadas(int desde, int viejas, int nuevas)
{
    const int viejo = lineasTraduccion();
    if (desde + viejas > viejo) {
        MedirTodo();
        return;
    }
    std::vector<int> largos;
    largos.reserve(std::size_t(nuevas));
    QTextBlock bloque = vigia_.documento()->findBlockByNumber(desde);
    for (int i = 0; i < nuevas; ++i, bloque = bloque.next())
        largos.push_back(bloque.length() - 1);
    const auto inicio = largoTraduccion_.begin() + desde;
    if (viejas == nuevas) {
        std::copy(largos.begin(), largos.end(), inicio);
        Reevaluar(desde, desde + nuevas, false);
        return;
    }
    largoTraduccion_.insert(largoTraduccion_.erase(inicio, inicio + viejas), largos.begin(), largos.end());
    const int nuevo = lineasTraduccion();
    largas_.redimensionar(nuevo);
    Reevaluar(desde, std::max(viejo, nuevo), !largoOriginal_.empty());
}

void MarcasLineas::FilasDistintas(int desde, int viejas, int nuevas)
{
    if (viejas == 0)
        FilasInsertadas(desde, desde + nuevas - 1);
    else if (nuevas == 0)
        FilasQuitadas(desde, desde + viejas - 1);
    else
        FilasCambiadas(desde, desde + nuevas - 1);
}

void MarcasLineas::FilasInsertadas(int primera, int ultima)
{
    const int antes = lineasOriginal();
    if (!vigia_.modelo() || primera < 0 || primera > antes || ultima < primera) {
        FilasCambiadas(-1, -1);
        return;
    }
    std::vector<int> largos;
    largos.reserve(std::size_t(ultima - primera + 1));
    for (int fila = primera; fila <= ultima; ++fila)
        largos.push_back(LargoFila(fila));
    largoOriginal_.insert(largoOriginal_.begin() + primera, largos.begin(), largos.end());
    if (antes == 0)
        Reevaluar(0, lineasTraduccion(), true);
    else if (primera == antes)
        // Rows added at the end, as a load adds them: only the lines beside them are compared anew.
        Reevaluar(primera, ultima + 1, primera < lineasTraduccion());
    else
        Reevaluar(primera, lineasTraduccion(), true);
}

void MarcasLineas::FilasQuitadas(int primera, int ultima)
{
    const int antes = lineasOriginal();
    if (primera < 0 || ultima >= antes || ultima < primera) {
        FilasCambiadas(-1, -1);
        return;
    }
    largoOriginal_.erase(largoOriginal_.begin() + primera, largoOriginal_.begin() + ultima + 1);
    if (largoOriginal_.empty())
        Reevaluar(0, lineasTraduccion(), true);
    else if (ultima + 1 == antes)
        Reevaluar(primera, ultima + 1, primera < lineasTraduccion());
    else
        Reevaluar(primera, lineasTraduccion(), true);
}

void MarcasLineas::FilasCambiadas(int primera, int ultima)
{
    const int filas = Filas();
    if (primera < 0 || ultima >= filas || filas != lineasOriginal()) {
        largoOriginal_.resize(std::size_t(filas));
        for (int fila = 0; fila < filas; ++fila)
            largoOriginal_[std::size_t(fila)] = LargoFila(fila);
        Reevaluar(0, lineasTraduccion(), true);
        return;
    }
    for (int fila = primera; fila <= ultima; ++fila)
        largoOriginal_[std::size_t(fila)] = LargoFila(fila);
    Reevaluar(primera, ultima + 1, false);
}

void MarcasLineas::MedirTodo()
{
    const int viejo = lineasTraduccion();
    largoTraduccion_.clear();
    if (const QTextDocument* documento = vigia_.documento()) {
        largoTraduccion_.reserve(std::size_t(documento->blockCount()));
        for (QTextBlock bloque = documento->begin(); bloque.isValid(); bloque = bloque.next())
            largoTraduccion_.push_back(bloque.length() - 1);
    }
    const int filas = Filas();
    largoOriginal_.resize(std::size_t(filas));
    for (int fila = 0; fila < filas; ++fila)
        largoOriginal_[std::size_t(fila)] = LargoFila(fila);
    largas_.redimensionar(lineasTraduccion());
    Reevaluar(0, std::max(viejo, lineasTraduccion()), true);
}

void MarcasLineas::Reevaluar(int desde, int hasta, bool movidas)
{
    const int fin = std::min({hasta, lineasTraduccion(), lineasOriginal()});
    // Lines beside no original line are never too long; their bits are cleared up to the box's end.
    const int finBits = std::min(hasta, lineasTraduccion());
    const bool sueltas = finBits - desde <= lineasSueltas;
    for (int linea = std::max(desde, 0); linea < finBits; ++linea) {
        const bool larga =
            linea < fin && largoTraduccion_[std::size_t(linea)] > largoOriginal_[std::size_t(linea)];
        if (largas_.contiene(linea) == larga)
            continue;
        movidas = true;
        if (sueltas)
            largas_.poner(linea, larga);
        else
            largas_.ponerSinContar(linea, larga);
    }
    if (!sueltas)
        largas_.recontar();
    Q_EMIT cambio(desde, hasta, movidas);
}

int MarcasLineas::Filas() const
{
    return vigia_.lineasOriginal();
}

int MarcasLineas::LargoFila(int fila) const
{
    return int(vigia_.textoOriginal(fila).size());
}
