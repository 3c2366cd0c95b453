#include "papelera_prueba.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include "archivos.h"

PapeleraPrueba::PapeleraPrueba() : casaAnterior_(qgetenv("HOME"))
{
    if (qEnvironmentVariableIsSet("XDG_DATA_HOME"))
        datosAnterior_ = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(casa_.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(casa_.filePath(QStringLiteral(".local/share"))));
}

PapeleraPrueba::~PapeleraPrueba()
{
    qputenv("HOME", casaAnterior_);
    if (datosAnterior_)
        qputenv("XDG_DATA_HOME", *datosAnterior_);
    else
        qunsetenv("XDG_DATA_HOME");
}

QMap<QString, QString> PapeleraPrueba::Contenido() const
{
    const QDir papelera(PapeleraDelUsuario());
    QMap<QString, QString> contenido;
    const QDir info(papelera.filePath(QStringLiteral("info")));
    for (const QString& nombre : info.entryList({QStringLiteral("*.trashinfo")}, QDir::Files)) {
        QFile archivo(info.filePath(nombre));
        if (!archivo.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& linea : archivo.readAll().split('\n')) {
            if (linea.startsWith("Path="))
                contenido.insert(QUrl::fromPercentEncoding(linea.mid(5)),
                                 papelera.filePath(u"files/" + nombre.chopped(10)));
        }
    }
    return contenido;
}
