// A trash of the test's own. Qt's moveToTrash takes the trash from the user's home and data folder (in
// test mode ~/.qttest/share): while this lives, the home is a fresh temporary folder, on the file system of
// the tests' other temporary folders, so that their files go to this trash and no other.
#pragma once

#include <optional>

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

class PapeleraPrueba final
{
public:
    PapeleraPrueba();
    ~PapeleraPrueba();
    PapeleraPrueba(const PapeleraPrueba&) = delete;
    PapeleraPrueba& operator=(const PapeleraPrueba&) = delete;

    // What the trash holds, as a file manager restores it: each file's original path, as its information
    // file gives it, and the path of the file in the trash.
    QMap<QString, QString> Contenido() const;

private:
    QTemporaryDir casa_;
    QByteArray casaAnterior_;
    std::optional<QByteArray> datosAnterior_;
};
