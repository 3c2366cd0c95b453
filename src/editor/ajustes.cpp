// The user's settings.
#include "ajustes.h"

std::unique_ptr<QSettings> AbrirAjustes(const QString& archivo)
{
    if (archivo.isEmpty())
        return std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Velarto"),
                                           QStringLiteral("Velarto"));
    return std::make_unique<QSettings>(archivo, QSettings::IniFormat);
}
