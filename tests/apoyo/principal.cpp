// The main of every test executable: a widgets application in Spanish, then each registered class.
#include "principal.h"

#include <vector>

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTest>

#include "idioma.h"

namespace {

std::vector<std::function<std::unique_ptr<QObject>()>>& Registradas()
{
    static std::vector<std::function<std::unique_ptr<QObject>()>> clases;
    return clases;
}

} // namespace

bool RegistrarPrueba(std::function<std::unique_ptr<QObject>()> crear)
{
    Registradas().push_back(std::move(crear));
    return true;
}

void ComprobarSinVentanas()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList nombres;
    for (const QWidget* ventana : QApplication::topLevelWidgets())
        nombres.append(QString::fromLatin1(ventana->metaObject()->className()));
    QVERIFY2(nombres.isEmpty(), qPrintable(nombres.join(u", ")));
}

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velarto"));
    // Whatever the editor keeps for the user goes to a test folder, never into the user's own.
    QStandardPaths::setTestModeEnabled(true);
    // Drafts that windows of an earlier run kept there would only slow every window's start-up.
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/borradores")
        .removeRecursively();
    InstalarTraduccionQt();
    int fallidas = 0;
    for (const auto& crear : Registradas()) {
        const std::unique_ptr<QObject> prueba = crear();
        fallidas += QTest::qExec(prueba.get(), argc, argv);
    }
    return fallidas == 0 ? 0 : 1;
}
