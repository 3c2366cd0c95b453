// Roots of mounted file systems for the drive list.
#include "unidades.h"

#include <QDir>
#include <QStorageInfo>

QStringList RaicesMontadas()
{
    QStringList raices{QStringLiteral("/")};
    for (const QStorageInfo& volumen : QStorageInfo::mountedVolumes()) {
        const QString raiz = volumen.rootPath();
        const bool esMedio =
            raiz.startsWith(u"/media/") || raiz.startsWith(u"/mnt/") || raiz.startsWith(u"/run/media/");
        if (esMedio && !raices.contains(raiz))
            raices.append(raiz);
    }
    std::sort(raices.begin() + 1, raices.end());
    return raices;
}

QString RaizDe(const QString& ruta, const QStringList& raices)
{
    const QString limpia = QDir::cleanPath(QDir(ruta).absolutePath());
    QString mejor;
    for (const QString& raiz : raices) {
        const QString r = QDir::cleanPath(raiz);
        const bool contiene = limpia == r || r == u"/" || limpia.startsWith(r + u'/');
        if (contiene && r.size() > mejor.size())
            mejor = r;
    }
    return mejor;
}
