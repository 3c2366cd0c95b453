// Where the drive list's roots come from: on this platform, the roots of mounted file systems that a
// person would pick. Tests replace the provider.
#pragma once

#include <functional>

#include <QStringList>

using ProveedorUnidades = std::function<QStringList()>;

// "/" and the mount points of removable and mounted media (/media, /mnt, /run/media).
QStringList RaicesMontadas();

// The root among `raices` that holds `ruta` (the longest one), or "" when none does.
QString RaizDe(const QString& ruta, const QStringList& raices);
