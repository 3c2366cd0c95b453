// Drafts with a 100,000-line translation loaded: the longest wait a keystroke sees while drafts are
// taken and written, against the same typing when no draft is due, and what keeping one draft of
// that size costs (a whole copy and a write done at once, a read and a recovery). Then a
// 2,000,000-line translation: how long after the last keystroke its draft is on disk, and the keys'
// waits meanwhile.
#include "medicion.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include "boton_imagen.h"
#include "borradores.h"
#include "caja_texto.h"
#include "borradores_editor.h"
#include "formato_borrador.h"
#include "frmEditor.h"
#include "mensajes.h"

namespace {

struct Demoras
{
    double peor = 0;    // ms
    double mediana = 0; // ms
    double p99 = 0;     // ms
    int teclas = 0;
};

// Types `rafagas` bursts of `porRafaga` keys, one key every `msEntreTeclas`, with `msPausa` between
// bursts, the event loop running in between as it does for a translator. A key's wait is the time from
// when it was due until the box has handled it: whatever the loop was busy with delays it.
Demoras Teclear(frmEditor& v, int rafagas, int porRafaga, int msEntreTeclas, int msPausa)
{
    std::vector<double> demoras;
    demoras.reserve(size_t(rafagas * porRafaga));
    QElapsedTimer reloj;
    reloj.start();
    qint64 debida = reloj.nsecsElapsed();
    for (int r = 0; r < rafagas; ++r) {
        for (int k = 0; k < porRafaga; ++k) {
            debida += qint64(k == 0 && r > 0 ? msPausa : msEntreTeclas) * 1000000;
            const qint64 falta = (debida - reloj.nsecsElapsed()) / 1000000;
            if (falta > 0) {
                QEventLoop bucle;
                QTimer::singleShot(int(falta), Qt::PreciseTimer, &bucle, &QEventLoop::quit);
                bucle.exec();
            }
            QKeyEvent pulsada(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            QKeyEvent soltada(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            QApplication::sendEvent(v.txtTraducido, &pulsada);
            QApplication::sendEvent(v.txtTraducido, &soltada);
            demoras.push_back(double(reloj.nsecsElapsed() - debida) / 1e6);
        }
    }
    std::sort(demoras.begin(), demoras.end());
    return {demoras.back(), demoras[demoras.size() / 2], demoras[demoras.size() * 99 / 100],
            int(demoras.size())};
}

// The draft file in place: each complete draft is a new file renamed over the last one, so its inode
// tells them apart; 0 while there is none, or only the empty file made before the first is written.
quint64 BorradorEnDisco(const QString& ruta)
{
    struct stat datos;
    if (::stat(QFile::encodeName(ruta).constData(), &datos) != 0 || datos.st_size == 0)
        return 0;
    return quint64(datos.st_ino);
}

std::unique_ptr<frmEditor> AbrirConDatos(const QString& carpeta, const QString& datos, CajaMensajes& caja)
{
    return AbrirVentanaArrancada(Servicios{.mensajes = &caja,
                                           .unidades = [] { return QStringList{"/"}; },
                                           .carpetaInicial = carpeta,
                                           .carpetaDatos = datos},
                                 true, 600000);
}

// One key in the middle of a 2,000,000-line translation, then nothing: the time until its draft is on
// disk, a few times over; then typing on while those drafts are written.
void MedirBorradorLargo()
{
    constexpr int lineas = 2000000;
    QTemporaryDir carpeta;
    QTemporaryDir datos;
    EscribirPar(carpeta.path(), QStringLiteral("largo.txt"), lineas);
    CajaMuda caja;
    QElapsedTimer carga;
    carga.start();
    const std::unique_ptr<frmEditor> ventana = AbrirConDatos(carpeta.path(), datos.path(), caja);
    if (!ventana || ventana->txtTraducido->document()->blockCount() < lineas) {
        std::printf("Borradores: no se cargó el par de %d lineas\n", lineas);
        return;
    }
    frmEditor& v = *ventana;
    const double segundosCarga = double(carga.elapsed()) / 1000.0;
    v.txtTraducido->setTextCursor(QTextCursor(v.txtTraducido->document()->findBlockByNumber(lineas / 2)));
    const QString traduccion = carpeta.filePath(QStringLiteral("Traducidos/largo.txt"));
    const QString archivo =
        QDir(datos.filePath(QStringLiteral("borradores"))).filePath(NombreArchivoBorrador(traduccion));

    double carga1 = 0;
    getloadavg(&carga1, 1);
    std::printf("\nBorradores con una traduccion de %d lineas (%.0f MiB), cargada en %.1f s (carga del "
                "sistema %.1f)\n",
                lineas, double(QFileInfo(traduccion).size()) / 1048576.0, segundosCarga, carga1);
    std::printf("%-44s %10s\n", "una tecla y nada mas (pausa de 2 s)", "s al disco");
    double peor = 0;
    for (int vez = 1; vez <= 3; ++vez) {
        const quint64 antes = BorradorEnDisco(archivo);
        QKeyEvent pulsada(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(v.txtTraducido, &pulsada);
        QElapsedTimer reloj;
        reloj.start();
        while (BorradorEnDisco(archivo) == antes && reloj.elapsed() < 120000)
            ProcesarEventos(5);
        const double segundos = double(reloj.elapsed()) / 1000.0;
        peor = std::max(peor, segundos);
        std::printf("%-44s %10.2f\n", qPrintable(QStringLiteral("tecla %1").arg(vez)), segundos);
        ProcesarEventos(500);
    }
    std::printf("%-44s %10.2f\n", "peor", peor);
    // The store's part alone: the draft of one changed character, written at once.
    {
        QString referencia = v.txtTraducido->document()->toRawText();
        referencia.replace(QChar::ParagraphSeparator, u'\n');
        Borradores almacen(datos.filePath(QStringLiteral("medida")));
        const qsizetype medio = referencia.size() / 2;
        // As a load keeps it.
        TextoCompacto compacto;
        compacto.Anadir(referencia);
        int vez = 0;
        const double ms =
            MedianaMicrosegundos(5,
                                 [&] {
                                     const qsizetype cambio = vez++ % 2;
                                     almacen.ConservarAhora({traduccion, QStringLiteral("y"), compacto, 1,
                                                             medio, referencia.size() - medio - 1 + cambio});
                                 }) /
            1000.0;
        std::printf("%-44s %10.2f\n", "el almacen solo: borrador de una tecla (ms)", ms);
    }
    const Demoras sin = Teclear(v, 4, 40, 25, 1900);
    const Demoras con = Teclear(v, 4, 40, 25, 2300);
    std::printf("%-44s %10s %10s %10s %7s\n", "tecleo (una tecla cada 25 ms)", "peor ms", "p99 ms",
                "mediana ms", "teclas");
    std::printf("%-44s %10.2f %10.2f %10.2f %7d\n", "pausas de 1,9 s: ningun borrador", sin.peor, sin.p99,
                sin.mediana, sin.teclas);
    std::printf("%-44s %10.2f %10.2f %10.2f %7d\n", "pausas de 2,3 s: un borrador en cada una", con.peor,
                con.p99, con.mediana, con.teclas);
    std::printf("%-44s %10.0f MiB\n", "memoria pico", MemoriaPicoMiB());
    std::fflush(stdout);
}

} // namespace

void MedirBorradores()
{
    constexpr int lineas = 100000;
    QTemporaryDir carpeta;
    QTemporaryDir datos;
    EscribirPar(carpeta.path(), QStringLiteral("guion.txt"), lineas);
    CajaMuda caja;
    auto ventana = std::make_unique<frmEditor>(Servicios{.mensajes = &caja,
                                                         .unidades = [] { return QStringList{"/"}; },
                                                         .carpetaInicial = carpeta.path(),
                                                         .carpetaDatos = datos.path()});
    frmEditor& v = *ventana;
    v.show();
    QElapsedTimer espera;
    espera.start();
    while (!(v.arranqueTerminado() && v.cmdGuardar->isEnabled()) && espera.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (v.txtTraducido->document()->blockCount() < lineas) {
        std::printf("Borradores: no se cargó el par\n");
        return;
    }
    v.txtTraducido->setTextCursor(QTextCursor(v.txtTraducido->document()->findBlockByNumber(lineas / 2)));

    std::printf("Borradores con una traduccion de %d lineas cargada\n", lineas);
    // Pauses just shorter than the draft's: no draft is ever due. Then pauses just longer: each lets
    // the draft be taken, and the next burst starts while it is being written.
    const QString archivos = datos.filePath(QStringLiteral("borradores"));
    const Demoras sin = Teclear(v, 20, 40, 25, 1900);
    const Demoras con = Teclear(v, 20, 40, 25, 2010);
    QEventLoop bucle;
    QTimer::singleShot(2500, &bucle, &QEventLoop::quit);
    bucle.exec();
    const qint64 tamano = QDir(archivos).entryInfoList(QDir::Files).value(0).size();
    std::printf("%-44s %10s %10s %10s %7s\n", "tecleo (una tecla cada 25 ms)", "peor ms", "p99 ms",
                "mediana ms", "teclas");
    std::printf("%-44s %10.2f %10.2f %10.2f %7d\n", "pausas de 1,9 s: ningun borrador", sin.peor, sin.p99,
                sin.mediana, sin.teclas);
    std::printf("%-44s %10.2f %10.2f %10.2f %7d\n", "pausas de 2,01 s: un borrador en cada una", con.peor,
                con.p99, con.mediana, con.teclas);
    std::printf("%-44s %10.2f\n", "espera de mas por los borradores (peor)", con.peor - sin.peor);

    // The parts of keeping one draft of this size.
    QTextDocument& documento = *v.txtTraducido->document();
    double copiaPeor = 0;
    const double copia = MedianaMicrosegundos(21,
                                              [&] {
                                                  QElapsedTimer reloj;
                                                  reloj.start();
                                                  (void)documento.toRawText();
                                                  copiaPeor =
                                                      std::max(copiaPeor, double(reloj.nsecsElapsed()) / 1e6);
                                              }) /
                         1000.0;
    Borradores almacen(datos.filePath(QStringLiteral("medida")));
    const QString ruta = carpeta.filePath(QStringLiteral("Traducidos/guion.txt"));
    const QString texto = documento.toRawText();
    int vez = 0;
    const double ahora =
        MedianaMicrosegundos(9,
                             [&] {
                                 almacen.ConservarAhora({ruta, texto + QString::number(vez++), {}, 1});
                             }) /
        1000.0;
    std::optional<Borrador> leido;
    const double lectura = MedianaMicrosegundos(9, [&] { leido = almacen.Leer(ruta); }) / 1000.0;
    // Ctrl+R with the whole box differing (every line) and with one line differing.
    const QString original = documento.toRawText();
    const QString todoDistinto = QString(original).replace(u'e', u'E');
    const auto recuperar = [&](const QString& borrador) {
        return Mediana(
                   5, [&](int) { v.txtTraducido->setPlainText(original); },
                   [&] { ReemplazarComoUnaEdicion(*v.txtTraducido, borrador); }) /
               1000.0;
    };
    const double recuperarTodo = recuperar(todoDistinto);
    const double recuperarLinea = recuperar(leido ? leido->texto : QString());
    std::printf("%-44s %10.2f ms (peor %.2f ms)\n", "copia entera al momento (antes de otra carga)", copia,
                copiaPeor);
    std::printf("%-44s %10.2f ms\n", "borrador escrito al momento (con fsync)", ahora);
    std::printf("%-44s %10.2f ms\n", "lectura de un borrador (Ctrl+R)", lectura);
    std::printf("%-44s %10.2f ms\n", "Ctrl+R, todas las lineas distintas", recuperarTodo);
    std::printf("%-44s %10.2f ms\n", "Ctrl+R, una linea distinta", recuperarLinea);
    std::printf("%-44s %10.2f MiB\n", "tamano del borrador", double(tamano) / 1048576.0);
    std::fflush(stdout);
    ventana.reset();
    MedirBorradorLargo();
}
