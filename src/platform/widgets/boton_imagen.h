// A push button that shows its image above a caption that wraps onto a second line when needed.
#pragma once

#include <QPushButton>

class BotonImagen final : public QPushButton
{
    Q_OBJECT
public:
    BotonImagen(const QString& texto, const QIcon& imagen, QWidget* padre = nullptr);

protected:
    void paintEvent(QPaintEvent* evento) override;
};
