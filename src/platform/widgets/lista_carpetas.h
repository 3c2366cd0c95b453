// The folder list of the script browser: the current folder's ancestors above it and its sub-folders
// below it, as an indented list.
#pragma once

#include <QTreeWidget>

#include "errores.h"
#include "unidades.h"

class ListaCarpetas final : public QTreeWidget
{
    Q_OBJECT
public:
    // Starts on `carpeta`.
    ListaCarpetas(ProveedorUnidades unidades, const QString& carpeta, QWidget* padre = nullptr);

    const QString& ruta() const { return ruta_; }
    // Moves to a folder and runs `cambio`. A drive root that cannot be read is error 68, a missing folder
    // 76, an unreadable one 70; the list is then left as it was.
    void setRuta(const QString& ruta);

Q_SIGNALS:
    void cambio();
    // Opening a folder by hand failed; the window reports it.
    void fallo(const ErrorEjecucion& error);

protected:
    void drawBranches(QPainter* pintor, const QRect& zona, const QModelIndex& indice) const override;

private:
    void Mostrar();
    void Abrir(QTreeWidgetItem* elemento);

    ProveedorUnidades unidades_;
    QString ruta_;
};
