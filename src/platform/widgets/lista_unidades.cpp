// Drive list of the script browser.
#include "lista_unidades.h"

#include <QDir>

ListaUnidades::ListaUnidades(ProveedorUnidades unidades, const QString& carpeta, QWidget* padre)
    : QComboBox(padre), unidades_(std::move(unidades))
{
    Llenar();
    aplicado_ = findText(RaizDe(QDir(carpeta).absolutePath(), unidades_()));
    setCurrentIndex(aplicado_);
    // A pick by the user runs the change only when it picks another root.
    connect(this, &QComboBox::activated, this, [this](int indice) {
        if (indice == aplicado_)
            return;
        aplicado_ = indice;
        Q_EMIT cambio();
    });
}

void ListaUnidades::Llenar()
{
    clear();
    addItems(unidades_());
}

void ListaUnidades::setUnidad(const QString& ruta)
{
    // Media come and go: read the roots again whenever code sets the drive.
    Llenar();
    int indice = findText(RaizDe(ruta, unidades_()));
    if (indice < 0) {
        addItem(QDir::cleanPath(ruta));
        indice = count() - 1;
    }
    aplicado_ = indice;
    setCurrentIndex(indice);
    Q_EMIT cambio();
}
