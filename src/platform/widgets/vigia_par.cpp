// A change of the document is told as the lines that hold the changed text now against the lines that
// held it before; a change of the list's model as the rows its own signals name.
#include "vigia_par.h"

#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "caja_texto.h"

VigiaPar::VigiaPar(QPlainTextEdit* caja, QAbstractItemView* lista, QObject* padre)
    : QObject(padre), caja_(caja), lista_(lista)
{
    vigilar();
    if (auto* texto = qobject_cast<CajaTexto*>(caja))
        connect(texto, &CajaTexto::documentoNuevo, this, &VigiaPar::vigilar);
    ConectarModelo();
}

VigiaPar::~VigiaPar()
{
    QObject::disconnect(conexionDocumento_);
    for (const QMetaObject::Connection& conexion : conexiones_)
        QObject::disconnect(conexion);
}

const QTextDocument* VigiaPar::documento() const
{
    return documento_;
}

const QAbstractItemModel* VigiaPar::modelo() const
{
    return lista_ ? lista_->model() : nullptr;
}

int VigiaPar::lineasTraduccion() const
{
    return documento_ ? documento_->blockCount() : 0;
}

int VigiaPar::lineasOriginal() const
{
    return modelo() ? modelo()->rowCount() : 0;
}

QString VigiaPar::textoOriginal(int fila) const
{
    if (const auto* lineas = qobject_cast<const ModeloLineas*>(modelo()))
        return lineas->texto(fila);
    return modelo()->index(fila, 0).data().toString();
}

void VigiaPar::ConectarModelo()
{
    const QAbstractItemModel* modelo = this->modelo();
    if (!modelo)
        return;
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::rowsInserted, this,
                                  [this](const QModelIndex&, int primera, int ultima) {
                                      Q_EMIT originalCambiado(primera, 0, ultima - primera + 1);
                                  }));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::rowsRemoved, this,
                                  [this](const QModelIndex&, int primera, int ultima) {
                                      Q_EMIT originalCambiado(primera, ultima - primera + 1, 0);
                                  }));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::dataChanged, this,
                                  [this](const QModelIndex& arriba, const QModelIndex& abajo) {
                                      const int filas = abajo.row() - arriba.row() + 1;
                                      Q_EMIT originalCambiado(arriba.row(), filas, filas);
                                  }));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::rowsMoved, this, &VigiaPar::originalNuevo));
    conexiones_.push_back(
        connect(modelo, &QAbstractItemModel::layoutChanged, this, &VigiaPar::originalNuevo));
    conexiones_.push_back(connect(modelo, &QAbstractItemModel::modelReset, this, &VigiaPar::originalNuevo));
}

void VigiaPar::vigilar()
{
    if (!caja_ || caja_->document() == documento_)
        return;
    const bool habia = documento_ != nullptr;
    disconnect(conexionDocumento_);
    documento_ = caja_->document();
    bloques_ = documento_->blockCount();
    conexionDocumento_ = connect(documento_, &QTextDocument::contentsChange, this, &VigiaPar::CambioTexto);
    if (habia)
        Q_EMIT traduccionNueva();
}

void VigiaPar::CambioTexto(int posicion, int /*quitados*/, int agregados)
{
    const QTextDocument& documento = *documento_;
    const int viejo = bloques_;
    bloques_ = documento.blockCount();
    const int diferencia = bloques_ - viejo;
    // The blocks that hold the changed text now; the blocks after them are the old ones, renumbered.
    QTextBlock primero = documento.findBlock(posicion);
    if (!primero.isValid())
        primero = documento.lastBlock();
    QTextBlock ultimo = documento.findBlock(posicion + agregados);
    if (!ultimo.isValid())
        ultimo = documento.lastBlock();
    const int desde = primero.blockNumber();
    const int nuevas = ultimo.blockNumber() - desde + 1;
    const int viejas = nuevas - diferencia;
    if (viejas < 1 || desde + viejas > viejo) {
        Q_EMIT traduccionNueva();
        return;
    }
    Q_EMIT traduccionCambiada(desde, viejas, nuevas);
}
