// The drive list of the script browser: the roots a person would pick, one of them selected.
#pragma once

#include <QComboBox>

#include "unidades.h"

class ListaUnidades final : public QComboBox
{
    Q_OBJECT
public:
    // Starts on the root that holds `carpeta`.
    ListaUnidades(ProveedorUnidades unidades, const QString& carpeta, QWidget* padre = nullptr);

    // The selected root.
    QString unidad() const { return currentText(); }
    // Selects the root that holds `ruta` and runs `cambio`.
    void setUnidad(const QString& ruta);

Q_SIGNALS:
    void cambio();

private:
    void Llenar();

    ProveedorUnidades unidades_;
    int aplicado_ = -1;
};
