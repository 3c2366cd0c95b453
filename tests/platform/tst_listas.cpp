// The script browser's controls: which files the file list shows and in what order, when its click
// runs, and how the folder and drive lists move; the answers a real message box gives.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "error_esperado.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"
#include "lista_unidades.h"
#include "mensajes.h"
#include "principal.h"

Q_DECLARE_METATYPE(Respuesta)
Q_DECLARE_METATYPE(Botones)

class PruebaListas final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
    }
    void cleanup() { ComprobarSinVentanas(); }

    // A question before something that cannot be undone: Enter answers No; Escape answers No, or Cancel
    // where there is one.
    void preguntaSiNo_data()
    {
        QTest::addColumn<Botones>("botones");
        QTest::addColumn<QString>("gesto");
        QTest::addColumn<Respuesta>("respuesta");
        QTest::newRow("intro") << Botones::SiNo << QStringLiteral("intro") << Respuesta::No;
        QTest::newRow("escape") << Botones::SiNo << QStringLiteral("escape") << Respuesta::No;
        QTest::newRow("clic en sí") << Botones::SiNo << QStringLiteral("sí") << Respuesta::Si;
        QTest::newRow("con cancelar, intro")
            << Botones::SiNoCancelarNo << QStringLiteral("intro") << Respuesta::No;
        QTest::newRow("con cancelar, escape")
            << Botones::SiNoCancelarNo << QStringLiteral("escape") << Respuesta::Cancelar;
        QTest::newRow("con cancelar, clic en sí")
            << Botones::SiNoCancelarNo << QStringLiteral("sí") << Respuesta::Si;
    }
    void preguntaSiNo()
    {
        QFETCH(Botones, botones);
        QFETCH(QString, gesto);
        QFETCH(Respuesta, respuesta);
        QTimer::singleShot(0, [gesto] {
            QWidget* caja = QApplication::activeModalWidget();
            if (!caja)
                return;
            if (gesto == u"sí") {
                for (QPushButton* boton : caja->findChildren<QPushButton*>()) {
                    if (boton->text() == u"&Sí")
                        boton->click();
                }
            } else {
                QTest::keyClick(caja, gesto == u"intro" ? Qt::Key_Return : Qt::Key_Escape);
            }
        });
        CajaMensajesQt mensajes;
        QCOMPARE(mensajes.Mostrar(QStringLiteral("¿Seguro?"), botones, Icono::Exclamacion, tituloAplicacion),
                 respuesta);
    }

    void archivosDeUnaCarpeta()
    {
        for (const char* nombre :
             {"b.txt", "A.TXT", "c.Txt", "a2.txt", ".oculto.txt", "notas.md", "txt", "d.txt.bak"})
            EscribirBytes(dir_->filePath(QString::fromUtf8(nombre)), "x\r\n");
        QDir(dir_->path()).mkdir(QStringLiteral("carpeta.txt"));
        QCOMPARE(ListaArchivos::ArchivosDe(dir_->path()), (QStringList{"A.TXT", "a2.txt", "b.txt", "c.Txt"}));
        QCOMPARE(ListaArchivos::ArchivosDe(dir_->filePath(QStringLiteral("no-existe"))), QStringList());
    }

    void indiceYClick()
    {
        for (const char* nombre : {"a.txt", "b.txt", "c.txt"})
            EscribirBytes(dir_->filePath(QString::fromUtf8(nombre)), "x");
        ListaArchivos lista(dir_->path());
        QSignalSpy clicks(&lista, &ListaArchivos::click);
        QCOMPARE(lista.cantidad(), 3);
        QCOMPARE(lista.indice(), -1);
        QCOMPARE(lista.nombreArchivo(), QString());
        lista.setIndice(1);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(lista.nombreArchivo(), QStringLiteral("b.txt"));
        lista.setIndice(1); // the same index runs the click again
        QCOMPARE(clicks.size(), 2);
        lista.setIndice(-1); // clearing the selection runs nothing
        QCOMPARE(clicks.size(), 2);
        QCOMPARE(lista.indice(), -1);
        QCOMPARE(NumeroDeError([&] { lista.setIndice(3); }), 380);
        QCOMPARE(NumeroDeError([&] { lista.setIndice(-2); }), 380);
        QCOMPARE(clicks.size(), 2);
        // The user's keyboard and mouse move the selection and run the click, which finds the file selected.
        QStringList vistos;
        connect(&lista, &ListaArchivos::click, &lista, [&] { vistos.append(lista.nombreArchivo()); });
        lista.setIndice(0);
        lista.show();
        lista.setFocus();
        QTest::keyClick(&lista, Qt::Key_Down);
        QCOMPARE(lista.indice(), 1);
        QTest::mouseClick(lista.viewport(), Qt::LeftButton, {}, lista.visualItemRect(lista.item(2)).center());
        QCOMPARE(lista.indice(), 2);
        QCOMPARE(vistos, (QStringList{"a.txt", "b.txt", "c.txt"}));
        QCOMPARE(clicks.size(), 5);
    }

    void refrescarConservaLaSeleccion()
    {
        for (const char* nombre : {"a.txt", "b.txt", "c.txt"})
            EscribirBytes(dir_->filePath(QString::fromUtf8(nombre)), "x");
        ListaArchivos lista(dir_->path());
        lista.setIndice(2);
        QSignalSpy clicks(&lista, &ListaArchivos::click);
        QFile::remove(dir_->filePath(QStringLiteral("a.txt")));
        lista.refrescar();
        QCOMPARE(lista.nombreArchivo(), QStringLiteral("c.txt"));
        QCOMPARE(lista.indice(), 1);
        QFile::remove(dir_->filePath(QStringLiteral("c.txt")));
        lista.refrescar();
        QCOMPARE(lista.indice(), -1);
        QCOMPARE(clicks.size(), 0);
    }

    void teclas()
    {
        ListaArchivos lista(dir_->path());
        QSignalSpy teclas(&lista, &ListaArchivos::teclaSoltada);
        QTest::keyRelease(&lista, Qt::Key_Delete, Qt::ShiftModifier);
        QTest::keyRelease(&lista, Qt::Key_F12);
        // Releasing Shift reports a key of its own, with no code the editor names.
        QVERIFY(teclas.contains(QList<QVariant>{46, 1}));
        QVERIFY(teclas.contains(QList<QVariant>{123, 0}));
    }

    void carpetas()
    {
        QDir(dir_->path()).mkpath(QStringLiteral("guiones/capitulo 1"));
        QDir(dir_->path()).mkpath(QStringLiteral("guiones/Capitulo 2"));
        ListaCarpetas lista([this] { return QStringList{dir_->path()}; }, dir_->path());
        QSignalSpy cambios(&lista, &ListaCarpetas::cambio);
        lista.setRuta(dir_->filePath(QStringLiteral("guiones")));
        QCOMPARE(cambios.size(), 1);
        QCOMPARE(lista.ruta(), dir_->filePath(QStringLiteral("guiones")));
        QTreeWidgetItem* actual = lista.currentItem();
        QCOMPARE(actual->text(0), QStringLiteral("guiones"));
        QCOMPARE(actual->childCount(), 2);
        QCOMPARE(actual->child(0)->text(0), QStringLiteral("capitulo 1"));
        // The sub-folders are on screen, below the open folder.
        lista.resize(160, 300);
        lista.show();
        QVERIFY(lista.visualItemRect(actual->child(1)).top() > lista.visualItemRect(actual).bottom());
        // Opening a sub-folder by hand moves the list there.
        Q_EMIT lista.itemActivated(actual->child(1), 0);
        QCOMPARE(lista.ruta(), dir_->filePath(QStringLiteral("guiones/Capitulo 2")));
        QCOMPARE(cambios.size(), 2);
        QCOMPARE(NumeroDeError([&] { lista.setRuta(dir_->filePath(QStringLiteral("no-existe"))); }), 76);
        QCOMPARE(lista.ruta(), dir_->filePath(QStringLiteral("guiones/Capitulo 2")));
        QCOMPARE(cambios.size(), 2);
    }

    void unidadNoPreparada()
    {
        const QString ausente = dir_->filePath(QStringLiteral("medio"));
        ListaCarpetas lista([=] { return QStringList{QStringLiteral("/"), ausente}; }, dir_->path());
        QCOMPARE(NumeroDeError([&] { lista.setRuta(ausente); }), 68);
    }

    void raizDe_data()
    {
        QTest::addColumn<QString>("ruta");
        QTest::addColumn<QString>("raiz");
        QTest::newRow("raíz del sistema") << QStringLiteral("/home/ana") << QStringLiteral("/");
        QTest::newRow("medio montado")
            << QStringLiteral("/media/usb/guiones") << QStringLiteral("/media/usb");
        QTest::newRow("el propio medio") << QStringLiteral("/media/usb") << QStringLiteral("/media/usb");
        QTest::newRow("prefijo que no es carpeta") << QStringLiteral("/media/usb2/x") << QStringLiteral("/");
    }
    void raizDe()
    {
        QFETCH(QString, ruta);
        QFETCH(QString, raiz);
        QCOMPARE(RaizDe(ruta, {QStringLiteral("/"), QStringLiteral("/media/usb")}), raiz);
    }

    void unidades()
    {
        const QStringList raices{QStringLiteral("/"), dir_->path()};
        ListaUnidades lista([=] { return raices; }, dir_->path());
        QSignalSpy cambios(&lista, &ListaUnidades::cambio);
        lista.setUnidad(dir_->filePath(QStringLiteral("sub/carpeta")));
        QCOMPARE(lista.unidad(), dir_->path());
        lista.setUnidad(QStringLiteral("/usr"));
        QCOMPARE(lista.unidad(), QStringLiteral("/"));
        QCOMPARE(cambios.size(), 2);
    }

    // Every way of breaking a line in the box makes two lines of the text that is saved.
    void saltosDeLaCaja()
    {
        CajaTexto caja;
        caja.show();
        QTest::keyClicks(&caja, QStringLiteral("ab"));
        QTest::keyClick(&caja, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(&caja, QStringLiteral("c"));
        QTest::keyClick(&caja, Qt::Key_Return);
        QTest::keyClicks(&caja, QStringLiteral("d"));
        QCOMPARE(caja.lineas(), (QStringList{"ab", "c", "d"}));
        QCOMPARE(caja.document()->blockCount(), 3);
        caja.setLineas({QString(), QStringLiteral("x"), QString()});
        QCOMPARE(caja.lineas(), (QStringList{"", "x", ""}));
    }

    // Emptied by taking a fresh document, the box keeps what it was set to show and how, and goes on
    // with undo as before: typed into when it was not filling, filled as a load fills it when it was.
    void vaciarConservaLaCaja_data()
    {
        QTest::addColumn<bool>("cargando");
        QTest::newRow("escribiendo") << false;
        QTest::newRow("en una carga") << true;
    }
    void vaciarConservaLaCaja()
    {
        QFETCH(bool, cargando);
        CajaTexto caja;
        QFont letra(QStringLiteral("Courier New"), 17);
        caja.setFont(letra);
        caja.setTabStopDistance(93);
        caja.show();
        if (cargando)
            caja.empezarCarga();
        caja.anadirLineas({QStringLiteral("viejo"), QStringLiteral("texto")});
        const QTextDocument* viejo = caja.document();
        QSignalSpy nuevo(&caja, &CajaTexto::documentoNuevo);
        caja.vaciar();
        QCOMPARE(nuevo.size(), 1);
        QVERIFY(caja.document() != viejo);
        QVERIFY(caja.document()->isEmpty());
        QCOMPARE(caja.document()->defaultFont().pointSize(), 17);
        QCOMPARE(caja.tabStopDistance(), 93.0);
        QCOMPARE(caja.isReadOnly(), cargando);
        QCOMPARE(caja.document()->isUndoRedoEnabled(), !cargando);
        if (cargando) {
            caja.anadirLineas({QStringLiteral("nuevo")});
            caja.terminarCarga();
        }
        caja.setFocus();
        QTest::keyClicks(&caja, QStringLiteral("xy"));
        QCOMPARE(caja.lineas().first(), cargando ? u"xynuevo"_qs : u"xy"_qs);
        caja.undo();
        QCOMPARE(caja.lineas(), cargando ? QStringList{"nuevo"} : QStringList{""});
    }

private:
    std::optional<QTemporaryDir> dir_;
};

VELARTO_PRUEBA(PruebaListas)
#include "tst_listas.moc"
