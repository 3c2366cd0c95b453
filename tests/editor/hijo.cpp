// A child process for the crash tests: it saves, over and over, one of two large translations through
// the real window (or one of two bookmark values), so that its parent can kill it at any moment and look
// at what is left on disk; or it types into the first script and waits, for its parent to kill it and
// recover the draft. Usage: velarto_hijo guardar|marcador CARPETA, velarto_hijo teclear CARPETA DATOS
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QTest>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "frmEditor.h"
#include "ini.h"
#include "senales.h"

namespace {

class CajaMuda final : public CajaMensajes
{
public:
    Respuesta Mostrar(const QString&, Botones, Icono, const QString&) override { return Respuesta::Aceptar; }
};

void Avisar()
{
    std::puts("listo");
    std::fflush(stdout);
}

int GuardarSinFin()
{
    CajaMuda caja;
    frmEditor ventana(Servicios{.mensajes = &caja,
                                .unidades = [] { return QStringList{QStringLiteral("/")}; },
                                .carpetaInicial = QDir::currentPath()});
    ventana.show();
    while (!ventana.arranqueTerminado())
        QApplication::processEvents();
    const QStringList textos{TextoDeScript(TraduccionGrande('A')), TextoDeScript(TraduccionGrande('B'))};
    for (int i = 0;; ++i) {
        ventana.txtTraducido->setPlainText(textos[i % 2]);
        ventana.cmdGuardar_Click();
        if (i == 0)
            Avisar();
    }
}

int MarcarSinFin()
{
    const QString archivo = QDir::current().filePath(QStringLiteral("Velarto.vrk"));
    for (int i = 0;; ++i) {
        EscribirIni(QStringLiteral("Marcador"), QStringLiteral("Indice"), QString::number(1 + i % 2),
                    archivo);
        if (i == 0)
            Avisar();
    }
}

// Types into the box of the script loaded at start-up and goes on running until it is killed or asked
// to end, as the editor is, by a signal.
int TeclearYEsperar(const QString& carpetaDatos)
{
    TerminarAlRecibirSenales();
    CajaMuda caja;
    frmEditor ventana(Servicios{.mensajes = &caja,
                                .unidades = [] { return QStringList{QStringLiteral("/")}; },
                                .carpetaInicial = QDir::currentPath(),
                                .carpetaDatos = carpetaDatos});
    ventana.show();
    while (!ventana.arranqueTerminado())
        QApplication::processEvents();
    QTest::keyClicks(ventana.txtTraducido, QStringLiteral("tecleado "));
    Avisar();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    if (argc < 3 || !QDir::setCurrent(QString::fromLocal8Bit(argv[2])))
        return 2;
    const QByteArray modo(argv[1]);
    if (modo == "teclear" && argc == 4)
        return TeclearYEsperar(QString::fromLocal8Bit(argv[3]));
    return modo == "guardar" ? GuardarSinFin() : modo == "marcador" ? MarcarSinFin() : 2;
}
