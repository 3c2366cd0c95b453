// Real files in temporary folders for the tests.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Writes a file, creating its folders.
void EscribirBytes(const QString& ruta, const QByteArray& datos);
// A file's bytes; fails the calling test's expectations with an empty array when it is missing.
QByteArray LeerBytes(const QString& ruta);
// The bytes of a file holding these lines, each ended by CR LF.
QByteArray ArchivoCrLf(const QStringList& lineas);
// Lines of about `ancho` characters, numbered, ended by CR LF: a realistic script of `lineas` lines.
QByteArray ScriptDePrueba(int lineas, int ancho = 50, const char* prefijo = "Linea");

// One of the two large translations the crash tests alternate between, as the bytes a save writes.
QByteArray TraduccionGrande(char marca);
// The box text that saves as these script bytes (CR LF lines, the last one ended).
QString TextoDeScript(const QByteArray& bytes);
