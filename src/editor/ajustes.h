// The user's settings: what the editor remembers across runs that belongs to no script folder.
#pragma once

#include <memory>

#include <QSettings>
#include <QString>

// The settings in `archivo` (an INI file), or the user's own (~/.config/Velarto/Velarto.conf) when it
// is empty.
std::unique_ptr<QSettings> AbrirAjustes(const QString& archivo);
