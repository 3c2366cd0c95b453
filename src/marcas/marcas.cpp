// The marked lines of a translation, re-measured from the change signals of its document and of the
// original list. A keystroke re-measures the one line it changed; a line break added or taken away
// re-marks the lines after it, which now stand beside other lines of the original.
#include "marcas.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

// Above this many lines, marks are set without keeping the counts and counted once at the end.
constexpr int lineasSueltas = 256;

} // namespace

MarcasLineas::MarcasLineas(QPlainTextEdit* caja, QAbstractItemView* lista, QObject* padre)
    : QObject(padre), caja_(caja), lista_(lista)
{
    Conectar();
    MedirTodo();
}

MarcasLineas::~MarcasLineas()
{
    QObject::disconnect(conexionDocumento_);
    for (const QMetaObject::Connection& conexion : conexiones_)
        QObject::disconnect(conexion);
}

void MarcasLineas::Conectar()
{
    vigilar();
    const QAbstractItemModel* modelo = lista_->model();
    conexiones_.push_back(
        connect(modelo, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex&, int primera, int ultima) { FilasInsertadas(primera, ultima); }));
    conexiones_.push_back(
        connect(modelo, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex&, int primera, int ultima) { FilasQuitadas(primera, ultima); }));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::dataChanged, this,
                                  [this](const QModelIndex& arriba, const QModelIndex& abajo) {
                                      FilasCambiadas(arriba.row(), abajo.row());
                                  }));
    // Rows moved or sorted, or the whole list replaced: every row is measured again.
    const auto todo = [this] {
        FilasCambiadas(-1, -1);
    };
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::rowsMoved, this, todo));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::layoutChanged, this, todo));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::modelReset, this, todo));
}

void MarcasLineas::vigilar()
{
    if (!caja_ || caja_->document() == documento_)
        return;
    disconnect(conexionDocumento_);
    documento_ = caja_->document();
    conexionDocumento_ =
        connect(documento_, &QTextDocument::contentsChange, this, &MarcasLineas::CambioTexto);
    if (!largoTraduccion_.empty() || !largoOriginal_.empty())
        MedirTodo();
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
    if (!documento_ || linea < 0 || linea >= lineasTraduccion())
        return {};
    const QTextBlock bloque = documento_->findBlockByNumber(linea);
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
    return lista_->model()->index(linea, 0).data().toString().left(maximo);
}

void MarcasLineas::CambioTexto(int posicion, int /*quitados*/, int agregados)
{
    const QTextDocument& documento = *documento_;
    const int viejo = lineasTraduccion();
    const int nuevo = documento.blockCount();
    const int diferencia = nuevo - viejo;
    // The blocks that hold the changed text now; the blocks after them are the old ones, renumbered.
    QTextBlock primero = documento.findBlock(posicion);
    if (!primero.isValid())
        primero = documento.lastBlock();
    QTextBlock ultimo = documento.findBlock(posicion + agregados);
    if (!ultimo.isValid())
        ultimo = documento.lastBlock();
    const int desde = primero.blockNumber();
    const int nuevos = ultimo.blockNumber() - desde + 1;
    const int viejos = nuevos - diferencia;
    if (viejos < 1 || desde + viejos > viejo) {
        MedirTodo();
        return;
    }
    std::vector<int> largos;
    largos.reserve(std::size_t(nuevos));
    QTextBlock bloque = primero;
    for (int i = 0; i < nuevos; ++i, bloque = bloque.next())
        largos.push_back(bloque.length() - 1);
    const auto inicio = largoTraduccion_.begin() + desde;
    if (viejos == nuevos) {
        std::copy(largos.begin(), largos.end(), inicio);
        Reevaluar(desde, desde + nuevos, false);
        return;
    }
    largoTraduccion_.insert(largoTraduccion_.erase(inicio, inicio + viejos), largos.begin(), largos.end());
    largas_.redimensionar(nuevo);
    Reevaluar(desde, std::max(viejo, nuevo), !largoOriginal_.empty());
}

void MarcasLineas::FilasInsertadas(int primera, int ultima)
{
    const int antes = lineasOriginal();
    if (!lista_ || primera < 0 || primera > antes || ultima < primera) {
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
    if (documento_) {
        largoTraduccion_.reserve(std::size_t(documento_->blockCount()));
        for (QTextBlock bloque = documento_->begin(); bloque.isValid(); bloque = bloque.next())
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
    return lista_ && lista_->model() ? lista_->model()->rowCount() : 0;
}

int MarcasLineas::LargoFila(int fila) const
{
    return int(lista_->model()->index(fila, 0).data().toString().size());
}
