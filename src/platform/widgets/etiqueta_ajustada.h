// A label for a number in a narrow place of fixed width: a text wider than the label is drawn in a
// smaller font that fits, never cut, and the whole text is then in its tooltip. The label's text and
// font stay as they were set; only the drawing changes.
#pragma once

#include <QFont>
#include <QLabel>

class EtiquetaAjustada final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EtiquetaAjustada)
public:
    explicit EtiquetaAjustada(QWidget* padre = nullptr);

    // The font the text is drawn in: the label's own, or a smaller one of the same family when the text
    // does not fit in that.
    QFont fuenteVisible() const;
    // The text is drawn smaller than the label's font.
    bool reducida() const;

protected:
    bool event(QEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;
};

// The tooltip `control` shows: `ayuda`, preceded on a line of its own by the whole text of a label whose
// text is drawn smaller to fit. Whoever answers the tooltips of such labels goes through here.
QString AyudaConTextoCompleto(const QWidget& control, const QString& ayuda);
