// The layout of a script folder, defined once: the originals in the folder, their translations in
// "Traducidos" under the same names, and the bookmark file "Velarto.vrk" with its sections.
#pragma once

#include <QString>

namespace CarpetaScripts {

// The sub-folder that holds the translations.
QString RutaTraducidos(const QString& carpeta);
QString RutaOriginal(const QString& carpeta, const QString& nombre);
QString RutaTraduccion(const QString& carpeta, const QString& nombre);
// The folder's bookmark file, which also keeps the folder's choices.
QString RutaMarcador(const QString& carpeta);

// Sections of the bookmark file.
inline constexpr QStringView seccionMarcador = u"Marcador";
inline constexpr QStringView seccionCodificacion = u"Codificacion";
inline constexpr QStringView seccionComprobaciones = u"Comprobaciones";
inline constexpr QStringView seccionMemoria = u"Memoria";

} // namespace CarpetaScripts
