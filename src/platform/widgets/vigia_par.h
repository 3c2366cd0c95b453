// Follows the two controls that hold a script pair, the translation in a text box and the original in a
// list, and tells their changes as lines: which lines of each now stand where others stood. Everything
// that keeps a value per line of the pair (the marks of lines over their limit, the script checks)
// follows the pair through it.
#pragma once

#include <vector>

#include <QObject>
#include <QPointer>

class QAbstractItemModel;
class QAbstractItemView;
class QPlainTextEdit;
class QTextDocument;

class VigiaPar final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VigiaPar)
public:
    // Follows the box's document and the list's model from now on.
    VigiaPar(QPlainTextEdit* caja, QAbstractItemView* lista, QObject* padre = nullptr);
    ~VigiaPar() override;

    // Follows the box's document again when the box was given another one, and tells traduccionNueva;
    // cheap when it was not.
    void vigilar();

    // What is followed; null once the control is gone.
    const QTextDocument* documento() const;
    const QAbstractItemModel* modelo() const;
    int lineasTraduccion() const;
    int lineasOriginal() const;
    // The text of an original row, which must exist: straight from the editor's own list model, through
    // the model's data otherwise (a million rows read through the data cost tens of milliseconds).
    QString textoOriginal(int fila) const;

Q_SIGNALS:
    // Lines desde ... desde + viejas - 1 are now desde ... desde + nuevas - 1; the lines after them keep
    // their text under numbers moved by nuevas - viejas. Rows inserted have viejas 0, rows removed nuevas 0.
    void traduccionCambiada(int desde, int viejas, int nuevas);
    void originalCambiado(int desde, int viejas, int nuevas);
    // Nothing can be told line by line (another document; rows moved, sorted or reset): read that side again.
    void traduccionNueva();
    void originalNuevo();

private:
    void ConectarModelo();
    void CambioTexto(int posicion, int quitados, int agregados);

    QPointer<QPlainTextEdit> caja_;
    QPointer<QAbstractItemView> lista_;
    QPointer<QTextDocument> documento_;
    // The document's lines as last told.
    int bloques_ = 0;
    QMetaObject::Connection conexionDocumento_;
    std::vector<QMetaObject::Connection> conexiones_;
};
