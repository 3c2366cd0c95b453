// Process entry: the application, its Spanish translation and the editor window.
#include <QApplication>

#include "frmEditor.h"
#include "idioma.h"
#include "proceso.h"
#include "senales.h"

int main(int argc, char* argv[])
{
    UsarPaginasGrandes(argv);
    QApplication aplicacion(argc, argv);
    // Lower case like the package and its files, so that what the editor keeps for the user lives in
    // ~/.local/share/velarto (drafts in its folder "borradores").
    QApplication::setApplicationName(QStringLiteral("velarto"));
    InstalarTraduccionQt();
    TerminarAlRecibirSenales();

    frmEditor ventana;
    ventana.show();
    return QApplication::exec();
}
