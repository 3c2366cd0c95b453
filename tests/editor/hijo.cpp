// A child process for the crash tests. It saves, through the real window, one of two large translations
// (or one of two bookmark values) a given number of times, then starts one more save and stops halfway
// through its write, saying so, so that its parent kills it there and looks at what is left on disk. Or it
// types into the first script (and saves it) and waits, as a second editor on the parent's folder, for its
// parent to kill it and recover the draft.
// Usage: velarto_hijo guardar|marcador CARPETA COMPLETAS, velarto_hijo teclear|teclearYGuardar CARPETA DATOS
#include <cstdio>

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QTest>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "fallos_archivos.h"
#include "frmEditor.h"
#include "ini.h"
#include "senales.h"
#include "ventana_abierta.h"

namespace {

// Tells the parent, on a line of its own, how far the child has come.
void Avisar(const char* hito)
{
    std::puts(hito);
    std::fflush(stdout);
}

// From the write after `completas` whole ones, the first half of a write reaches the file and the process
// waits there for its end.
void DetenerAMitad(FallosArchivos& archivos)
{
    archivos.minimo = 1024;
    archivos.aMitadDeEscribir = [] {
        Avisar("a mitad");
        for (;;)
            ::pause();
    };
}

int Guardar(const QString& carpeta, int completas)
{
    CajaMuda caja;
    FallosArchivos archivos;
    const std::unique_ptr<frmEditor> abierta =
        AbrirVentanaArrancada(Servicios{.mensajes = &caja, .carpetaInicial = carpeta, .archivos = &archivos});
    if (!abierta)
        return 1;
    frmEditor& ventana = *abierta;
    const QStringList textos{TextoDeScript(TraduccionGrande('A')), TextoDeScript(TraduccionGrande('B'))};
    for (int i = 0;; ++i) {
        if (i == completas)
            DetenerAMitad(archivos);
        ventana.txtTraducido->setPlainText(textos[i % 2]);
        ventana.cmdGuardar_Click();
    }
}

int Marcar(const QString& carpeta, int completas)
{
    FallosArchivos archivos;
    const QString archivo = QDir(carpeta).filePath(QStringLiteral("Velarto.vrk"));
    for (int i = 0;; ++i) {
        if (i == completas)
            DetenerAMitad(archivos);
        EscribirIni(QStringLiteral("Marcador"), QStringLiteral("Indice"), QString::number(1 + i % 2), archivo,
                    archivos);
    }
}

// Types into the box of the script loaded at start-up, saves it when told to, and goes on running until it
// is killed or asked to end, as the editor is, by a signal.
int TeclearYEsperar(const QString& carpeta, const QString& carpetaDatos, bool guardar)
{
    TerminarAlRecibirSenales();
    CajaMuda caja;
    const std::unique_ptr<frmEditor> ventana = AbrirVentanaArrancada(
        Servicios{.mensajes = &caja, .carpetaInicial = carpeta, .carpetaDatos = carpetaDatos});
    if (!ventana)
        return 1;
    QTest::keyClicks(ventana->txtTraducido, QStringLiteral("tecleado "));
    if (guardar)
        ventana->cmdGuardar_Click();
    Avisar("listo");
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    if (argc != 4)
        return 2;
    const QByteArray modo(argv[1]);
    const QString carpeta = QString::fromLocal8Bit(argv[2]);
    if (modo == "teclear" || modo == "teclearYGuardar")
        return TeclearYEsperar(carpeta, QString::fromLocal8Bit(argv[3]), modo == "teclearYGuardar");
    const int completas = QByteArray(argv[3]).toInt();
    return modo == "guardar"    ? Guardar(carpeta, completas)
           : modo == "marcador" ? Marcar(carpeta, completas)
                                : 2;
}
