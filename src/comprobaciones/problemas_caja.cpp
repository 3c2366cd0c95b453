// The checks following a text box and a list. A change of the document is reported as the lines that
// hold the changed text now against the lines that held it before, as the marks of lines over their
// limit reckon it.
#include "problemas_caja.h"

#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QTextBlock>

ProblemasCaja::ProblemasCaja(QPlainTextEdit* caja, QAbstractItemView* lista, QObject* padre)
    : QObject(padre), caja_(caja), lista_(lista), guion_(*this)
{
    Conectar();
    guion_.releer();
}

ProblemasCaja::~ProblemasCaja()
{
    QObject::disconnect(conexionDocumento_);
    for (const QMetaObject::Connection& conexion : conexiones_)
        QObject::disconnect(conexion);
}

void ProblemasCaja::Conectar()
{
    vigilar();
    const QAbstractItemModel* modelo = lista_->model();
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::rowsInserted, this,
                                  [this](const QModelIndex&, int primera, int ultima) {
                                      guion_.cambioOriginal(primera, 0, ultima - primera + 1);
                                  }));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::rowsRemoved, this,
                                  [this](const QModelIndex&, int primera, int ultima) {
                                      guion_.cambioOriginal(primera, ultima - primera + 1, 0);
                                  }));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::dataChanged, this,
                                  [this](const QModelIndex& arriba, const QModelIndex& abajo) {
                                      const int filas = abajo.row() - arriba.row() + 1;
                                      guion_.cambioOriginal(arriba.row(), filas, filas);
                                  }));
    // Rows moved or sorted, or the whole list replaced: everything is read again.
    const auto todo = [this] {
        guion_.releer();
    };
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::rowsMoved, this, todo));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::layoutChanged, this, todo));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::modelReset, this, todo));
}

void ProblemasCaja::vigilar()
{
    if (!caja_ || caja_->document() == documento_)
        return;
    const bool habia = documento_ != nullptr;
    disconnect(conexionDocumento_);
    documento_ = caja_->document();
    conexionDocumento_ =
        connect(documento_, &QTextDocument::contentsChange, this, &ProblemasCaja::CambioTexto);
    if (habia)
        guion_.releer();
}

int ProblemasCaja::lineasOriginal() const
{
    return lista_ && lista_->model() ? lista_->model()->rowCount() : 0;
}

int ProblemasCaja::lineasTraduccion() const
{
    return documento_ ? documento_->blockCount() : 0;
}

void ProblemasCaja::leerOriginal(int desde, int hasta, const Lector& leer) const
{
    for (int fila = std::max(desde, 0); fila < std::min(hasta, lineasOriginal()); ++fila)
        leer(fila, lista_->model()->index(fila, 0).data().toString());
}

void ProblemasCaja::leerTraduccion(int desde, int hasta, const Lector& leer) const
{
    if (!documento_)
        return;
    int linea = std::max(desde, 0);
    for (QTextBlock bloque = documento_->findBlockByNumber(linea); bloque.isValid() && linea < hasta;
         bloque = bloque.next(), ++linea)
        leer(linea, bloque.text());
}

void ProblemasCaja::CambioTexto(int posicion, int /*quitados*/, int agregados)
{
    const QTextDocument& documento = *documento_;
    const int viejo = guion_.lineasTraduccion();
    const int diferencia = documento.blockCount() - viejo;
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
        guion_.releer();
        return;
    }
    guion_.cambioTraduccion(desde, viejos, nuevos);
}
