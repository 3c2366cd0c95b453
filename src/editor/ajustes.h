// The user's settings, where the window's features remember their choices.
#pragma once

#include <memory>

#include <QSettings>

// The settings file `archivo` (an INI file), or the user's own settings when it is empty.
std::unique_ptr<QSettings> AbrirAjustes(const QString& archivo);
