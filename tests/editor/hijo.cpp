// A child process for the crash tests: it saves, through the real window, one of two large translations
// (or one of two bookmark values) a given number of times, then starts one more save and stops halfway
// through its write, saying so, so that its parent kills it there and looks at what is left on disk.
// Usage: velarto_hijo guardar|marcador CARPETA COMPLETAS
#include <cstdio>

#include <unistd.h>

#include <QApplication>
#include <QDir>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "fallos_archivos.h"
#include "frmEditor.h"
#include "ini.h"

namespace {

class CajaMuda final : public CajaMensajes
{
public:
    Respuesta Mostrar(const QString&, Botones, Icono, const QString&) override { return Respuesta::Aceptar; }
};

// From the write after `completas` whole ones, the first half of a write reaches the file and the process
// waits there for its end.
void DetenerAMitad(FallosArchivos& archivos)
{
    archivos.minimo = 1024;
    archivos.aMitadDeEscribir = [] {
        std::puts("a mitad");
        std::fflush(stdout);
        for (;;)
            ::pause();
    };
}

int Guardar(const QString& carpeta, int completas)
{
    CajaMuda caja;
    FallosArchivos archivos;
    frmEditor ventana(Servicios{.mensajes = &caja,
                                .unidades = [] { return QStringList{QStringLiteral("/")}; },
                                .carpetaInicial = carpeta,
                                .archivos = &archivos});
    ventana.show();
    while (!ventana.arranqueTerminado())
        QApplication::processEvents();
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

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    if (argc != 4)
        return 2;
    const QByteArray modo(argv[1]);
    const QString carpeta = QString::fromLocal8Bit(argv[2]);
    const int completas = QByteArray(argv[3]).toInt();
    return modo == "guardar"    ? Guardar(carpeta, completas)
           : modo == "marcador" ? Marcar(carpeta, completas)
                                : 2;
}
