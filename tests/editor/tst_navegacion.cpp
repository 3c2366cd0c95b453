// Moving between folders and drives through the real window: the editor is emptied and left waiting for a
// choice, an unready drive gives way to the one before it, Ctrl+O and the recent folders go straight to a
// folder; and the original list answers the mouse.
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "boton_imagen.h"
#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"
#include "lista_unidades.h"
#include "principal.h"
#include "ventana_prueba.h"

using namespace Qt::StringLiterals;

class PruebaNavegacion final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        PruebaConVentana::cleanup();
        for (const QString& nombre : QDir(dir_->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QFile::setPermissions(Ruta(nombre), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void cambioDeCarpeta_data()
    {
        QTest::addColumn<QStringList>("archivos");
        QTest::addColumn<QStringList>("scripts");
        QTest::newRow("con scripts") << QStringList{u"b.txt"_s, u"a.txt"_s, u"notas.doc"_s}
                                     << QStringList{u"a.txt"_s, u"b.txt"_s};
        QTest::newRow("sin scripts") << QStringList{u"notas.doc"_s} << QStringList();
        QTest::newRow("vacía") << QStringList() << QStringList();
    }

    void cambioDeCarpeta()
    {
        QFETCH(QStringList, archivos);
        QFETCH(QStringList, scripts);
        EscribirBytes(Ruta(u"inicio/x.txt"_s), "x\r\n");
        EscribirBytes(Ruta(u"inicio/Traducidos/x.txt"_s), "una traducción más larga que el original\r\n");
        QDir().mkpath(Ruta(u"otra"_s));
        for (const QString& nombre : archivos)
            EscribirBytes(Ruta(u"otra/" + nombre), "uno\r\n");
        frmEditor* ventana = Abrir(Ruta(u"inicio"_s));
        ventana->timer_Timer();

        ventana->Dir1->setRuta(Ruta(u"otra"_s));

        QStringList listados;
        for (int i = 0; i < ventana->File1->cantidad(); ++i)
            listados.append(ventana->File1->item(i)->text());
        QCOMPARE(listados, scripts);
        QCOMPARE(ventana->File1->nombreArchivo(), scripts.value(0));
        VerificarVacia(*ventana);
        QCOMPARE(ventana->focusWidget(), ventana->File1);
        QCOMPARE(caja_.textos(), QStringList());
    }

    // The highlighted script has not been loaded: the user's click on it loads it.
    void clicEnElResaltado()
    {
        EscribirBytes(Ruta(u"a.txt"_s), "uno\r\n");
        EscribirBytes(Ruta(u"b.txt"_s), "dos\r\n");
        frmEditor* ventana = Abrir();
        ventana->Dir1->setRuta(dir_->path());
        QVERIFY(ItemsOriginal(*ventana).isEmpty());

        ListaArchivos* lista = ventana->File1;
        const QPoint centro = lista->visualItemRect(lista->item(0)).center();
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, centro);

        QCOMPARE(ItemsOriginal(*ventana), QStringList{u"uno"_s});
        QVERIFY(ventana->cmdGuardar->isEnabled());
    }

    // Drives are folders here: "lista" ready, "otra" ready with a script, "sin disco" unready.
    void unidadNoPreparada()
    {
        const QStringList raices = PrepararUnidades();
        frmEditor* ventana = Abrir(raices[0], [raices] { return raices; });
        ElegirUnidad(*ventana, raices[1]);
        QCOMPARE(ventana->unidadActual, raices[1]);
        QCOMPARE(ventana->File1->nombreArchivo(), u"a.txt"_s);
        caja_.olvidar();

        ElegirUnidad(*ventana, raices[2]);

        QCOMPARE(caja_.mostrados.size(), 1);
        const MensajeMostrado& aviso = caja_.mostrados[0];
        QCOMPARE(aviso.texto, u"El dispositivo aún no está preparado."_s);
        QCOMPARE(aviso.titulo, u"No hay disco en la unidad"_s);
        QCOMPARE(aviso.botones, Botones::Aceptar);
        QCOMPARE(aviso.icono, Icono::Critico);
        QCOMPARE(ventana->Drive1->unidad(), raices[1]);
        QCOMPARE(ventana->Dir1->ruta(), raices[1]);
        QCOMPARE(ventana->unidadActual, raices[1]);
        QCOMPARE(ventana->File1->nombreArchivo(), u"a.txt"_s);
        VerificarVacia(*ventana);
    }

    // The drive to go back to has become unready too: reported once, and no further attempt.
    void restaurarFalla()
    {
        const QStringList raices = PrepararUnidades();
        frmEditor* ventana = Abrir(raices[0], [raices] { return raices; });
        ElegirUnidad(*ventana, raices[1]);
        QuitarUnidad(raices[1]);
        caja_.olvidar();

        ElegirUnidad(*ventana, raices[2]);

        QCOMPARE(caja_.textos(), (QStringList{u"El dispositivo aún no está preparado."_s,
                                              u"68:Dispositivo no disponible"_s}));
        QCOMPARE(ventana->Drive1->unidad(), raices[1]);
        QCOMPARE(ventana->Dir1->ruta(), raices[1]);
    }

    // Ctrl+O goes where the chooser says, drive and folder alike. The folders whose scripts were loaded
    // are listed in "Carpetas recientes", the last first, and choosing one goes back there.
    void irACarpeta()
    {
        const QStringList raices = PrepararUnidades();
        const QString juego = Ruta(u"lista/juego"_s);
        EscribirBytes(juego + u"/b.txt", "b\r\n");
        QString inicial;
        elegirCarpeta_ = [&](QWidget*, const QString& desde) -> QString {
            inicial = desde;
            return raices[1] + u'/';
        };
        frmEditor* ventana = Abrir(juego, [raices] { return raices; });

        QTest::keyClick(ventana->File1, Qt::Key_O, Qt::ControlModifier);

        QCOMPARE(inicial, juego);
        QCOMPARE(ventana->Drive1->unidad(), raices[1]);
        QCOMPARE(ventana->Dir1->ruta(), raices[1]);
        QCOMPARE(ventana->File1->nombreArchivo(), u"a.txt"_s);
        VerificarVacia(*ventana);
        QVERIFY(ElegirScript(*ventana, u"a.txt"_s));
        const std::unique_ptr<QMenu> menu = MenuDeLaCaja(*ventana);
        const QAction* recientes = EntradaDelMenu(*menu, u"Carpetas recientes"_s);
        QVERIFY(recientes && recientes->menu());
        QStringList textos;
        for (const QAction* accion : recientes->menu()->actions())
            textos.append(accion->text());
        QCOMPARE(textos, (QStringList{raices[1], juego}));

        recientes->menu()->actions()[1]->trigger();

        QCOMPARE(ventana->Drive1->unidad(), raices[0]);
        QCOMPARE(ventana->Dir1->ruta(), juego);
        QCOMPARE(ventana->File1->nombreArchivo(), u"b.txt"_s);
        QCOMPARE(caja_.textos(), QStringList());
    }

    // A click on an original line puts the caret at the start of the same translation line, or at the end
    // of a shorter translation; Ctrl+C in the list copies the selected line.
    void clicEnElOriginal_data()
    {
        QTest::addColumn<int>("fila");
        QTest::addColumn<int>("linea");
        QTest::addColumn<int>("columna");
        QTest::newRow("la misma línea") << 1 << 1 << 0;
        QTest::newRow("traducción más corta") << 3 << 1 << 3;
    }
    void clicEnElOriginal()
    {
        QFETCH(int, fila);
        QFETCH(int, linea);
        QFETCH(int, columna);
        AbrirGuion({u"uno"_s, u"dos"_s, u"tres"_s, u"cuatro"_s}, QStringList{u"one"_s, u"two"_s});
        CursorEn(0, 2);
        ListaSimple* lista = ventana_->lstOriginal;

        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                          lista->visualRect(lista->model()->index(fila, 0)).center());

        const QTextCursor cursor = ventana_->txtTraducido->textCursor();
        QCOMPARE(cursor.blockNumber(), linea);
        QCOMPARE(cursor.positionInBlock(), columna);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(lista, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), lista->texto(fila));
    }

private:
    QString Ruta(const QString& relativa) const { return dir_->path() + u'/' + relativa; }

    // Three roots: two ready, the third unready.
    QStringList PrepararUnidades()
    {
        const QStringList raices{Ruta(u"lista"_s), Ruta(u"otra"_s), Ruta(u"sin disco"_s)};
        QDir().mkpath(raices[0]);
        EscribirBytes(raices[1] + u"/a.txt", "a\r\n");
        QDir().mkpath(raices[2]);
        QuitarUnidad(raices[2]);
        return raices;
    }

    // Makes a root unreadable; where permissions do not stop this process, the root goes away.
    static void QuitarUnidad(const QString& raiz)
    {
        QFile::setPermissions(raiz, {});
        if (!QFileInfo(raiz).isReadable())
            return;
        QFile::setPermissions(raiz, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(QDir(raiz).removeRecursively());
    }

    // Picks a drive as the user does, in the drive list.
    static void ElegirUnidad(frmEditor& ventana, const QString& raiz)
    {
        const int indice = ventana.Drive1->findText(raiz);
        QVERIFY(indice >= 0);
        ventana.Drive1->setCurrentIndex(indice);
        ventana.Drive1->activated(indice);
    }

    static void VerificarVacia(const frmEditor& ventana)
    {
        QCOMPARE(ventana.txtTraducido->toPlainText(), QString());
        QCOMPARE(ItemsOriginal(ventana), QStringList());
        for (const QLabel* contador :
             {ventana.lblLl, ventana.lblLlo, ventana.lblLtl, ventana.lblLtlo, ventana.lblDisp})
            QCOMPARE(contador->text(), QString());
        QCOMPARE(ventana.msg->text(), QString());
        QVERIFY(!ventana.p->isVisible());
        for (const BotonImagen* boton :
             {ventana.cmdGuardar, ventana.cmdEliminar, ventana.cmdInsMarcador, ventana.cmdLeerMarcador})
            QVERIFY(!boton->isEnabled());
        QVERIFY(!ventana.parCargado().hayTraducido);
    }
};

VELARTO_PRUEBA(PruebaNavegacion)
#include "tst_navegacion.moc"
