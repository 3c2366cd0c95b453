// The window's fonts.
#include "fuentes.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

QString PrimeraFamilia(const QStringList& preferidas)
{
    const QStringList familias = QFontDatabase::families();
    for (const QString& familia : preferidas) {
        if (familias.contains(familia, Qt::CaseInsensitive))
            return familia;
    }
    return QString();
}

} // namespace

QFont FuenteSans()
{
    QFont fuente = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QString familia =
        PrimeraFamilia({QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow"),
                        QStringLiteral("DejaVu Sans Condensed")});
    if (!familia.isEmpty())
        fuente.setFamily(familia);
    fuente.setPointSizeF(8.25);
    return fuente;
}

QFont FuenteCourier()
{
    // Liberation Mono has Courier New's metrics: lengths line up the same on screen.
    const QString familia = PrimeraFamilia({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                                            QStringLiteral("DejaVu Sans Mono")});
    QFont fuente = familia.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(familia);
    fuente.setStyleHint(QFont::TypeWriter);
    fuente.setPointSizeF(9.75);
    return fuente;
}
