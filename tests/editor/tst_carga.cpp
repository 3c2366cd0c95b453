// Loading a script pair through the real window: what the list, the box and the original's total show.
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "boton_imagen.h"
#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "principal.h"
#include "ventana_prueba.h"

class PruebaCarga final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void par_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("traduccion"); // null: no translation file
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("total");
        QTest::addColumn<bool>("hayTraducido");
        const QByteArray sin;
        QTest::newRow("sin traducción") << QByteArray("Hello\r\nBye\r\n") << sin
                                        << QStringList{"Hello", "Bye"} << QString() << "8" << false;
        QTest::newRow("con traducción") << QByteArray("Hello\r\nBye\r\n") << QByteArray("Hola\r\nAdiós\r\n")
                                        << QStringList{"Hello", "Bye"} << u"Hola\nAdiós"_qs << "8" << true;
        QTest::newRow("original de cero bytes")
            << QByteArray("") << sin << QStringList() << QString() << "0" << false;
        QTest::newRow("traducción de cero bytes")
            << QByteArray("a\r\n") << QByteArray("") << QStringList{"a"} << QString() << "1" << true;
        QTest::newRow("última línea sin terminador")
            << QByteArray("uno\r\ndos") << QByteArray("1\r\n2") << QStringList{"uno", "dos"} << "1\n2"
            << "6" << true;
        QTest::newRow("líneas vacías al principio de la traducción se conservan")
            << QByteArray("a\r\nb\r\nc\r\n") << QByteArray("\r\n\r\nx\r\n") << QStringList{"a", "b", "c"}
            << "\n\nx"
            << "3" << true;
        QTest::newRow("línea vacía final de la traducción")
            << QByteArray("a\r\nb\r\nc\r\n") << QByteArray("a\r\nb\r\n\r\n") << QStringList{"a", "b", "c"}
            << "a\nb\n"
            << "3" << true;
        QTest::newRow("línea solo con terminador")
            << QByteArray("\r\nxy\r\n") << sin << QStringList{"", "xy"} << QString() << "2" << false;
        QTest::newRow("cr suelto") << QByteArray("ab\rcd\r") << QByteArray("x\ry\r")
                                   << QStringList{"ab", "cd"} << "x\ny"
                                   << "4" << true;
        QTest::newRow("lf suelto se conserva y cuenta uno")
            << QByteArray("ab\ncd\r\n") << QByteArray("x\ny\r\n") << QStringList{u"ab\u240Acd"_qs}
            << u"x\u240Ay"_qs << "5" << true;
        QTest::newRow("unix") << QByteArray("ab\ncd\n") << QByteArray("x\ny\n") << QStringList{"ab", "cd"}
                              << "x\ny"
                              << "4" << true;
        QTest::newRow("windows-1252") << QByteArray("Ca\xF1\xF3n\r\n") << QByteArray("\xBFQu\xE9?\r\n")
                                      << QStringList{u"Cañón"_qs} << u"¿Qué?"_qs << "5" << true;
        QTest::newRow("bom utf-8") << QByteArray("\xEF\xBB\xBFHi\r\n")
                                   << QByteArray("\xEF\xBB\xBF\xC2\xA1Hola!\r\n") << QStringList{"Hi"}
                                   << u"¡Hola!"_qs << "2" << true;
    }
    void par()
    {
        QFETCH(QByteArray, original);
        QFETCH(QByteArray, traduccion);
        QFETCH(QStringList, items);
        QFETCH(QString, caja);
        QFETCH(QString, total);
        QFETCH(bool, hayTraducido);
        EscribirBytes(dir_->filePath(QStringLiteral("guion.txt")), original);
        if (!traduccion.isNull())
            EscribirBytes(dir_->filePath(QStringLiteral("Traducidos/guion.txt")), traduccion);
        Abrir();
        QCOMPARE(ItemsOriginal(*ventana_), items);
        QCOMPARE(ventana_->txtTraducido->toPlainText(), caja);
        QCOMPARE(ventana_->lblLtlo->text(), total);
        QCOMPARE(ventana_->parCargado().hayTraducido, hayTraducido);
        QVERIFY(ventana_->cmdGuardar->isEnabled());
        QVERIFY(ventana_->cmdLeerMarcador->isEnabled());
        QVERIFY(caja_.mostrados.isEmpty());
    }

    void clickCargaOtroScript()
    {
        EscribirBytes(dir_->filePath(QStringLiteral("a.txt")), "A1\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("b.txt")), "B1\r\nB2\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("Traducidos/a.txt")), "traducción de a\r\n");
        Abrir();
        QCOMPARE(ventana_->txtTraducido->toPlainText(), u"traducción de a"_qs);
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("b.txt")));
        QCOMPARE(ItemsOriginal(*ventana_), (QStringList{"B1", "B2"}));
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QString());
        QCOMPARE(ventana_->lblLtlo->text(), QStringLiteral("4"));
        QVERIFY(!ventana_->parCargado().hayTraducido);
    }

    // A translation that cannot be read is no failure: the original loads alone.
    void traduccionIlegible()
    {
        EscribirBytes(dir_->filePath(QStringLiteral("a.txt")), "A1\r\n");
        QDir(dir_->path()).mkpath(QStringLiteral("Traducidos/a.txt"));
        Abrir();
        QCOMPARE(ItemsOriginal(*ventana_), QStringList{"A1"});
        QVERIFY(!ventana_->parCargado().hayTraducido);
        QVERIFY(ventana_->cmdGuardar->isEnabled());
        QVERIFY(caja_.mostrados.isEmpty());
    }

    // An original gone between listing and loading is reported once; nothing is listed twice.
    void originalDesaparecido()
    {
        EscribirBytes(dir_->filePath(QStringLiteral("a.txt")), "A1\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("b.txt")), "B1\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("Traducidos/b.txt")), "T\r\n");
        Abrir();
        QFile::remove(dir_->filePath(QStringLiteral("b.txt")));
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("b.txt")));
        QCOMPARE(caja_.textos(), QStringList{"53:No se encontró el archivo"});
        QCOMPARE(caja_.mostrados[0].titulo, QStringLiteral("Velarto"));
        QCOMPARE(ItemsOriginal(*ventana_), QStringList());
        QVERIFY(!ventana_->cmdGuardar->isEnabled());
        QVERIFY(!ventana_->parCargado().hayTraducido);
    }

    // A selection made while a long load yields supersedes it: the earlier load never writes again.
    void cargaSustituida()
    {
        EscribirBytes(dir_->filePath(QStringLiteral("a.txt")), ScriptDePrueba(300000, 50, "Original A"));
        EscribirBytes(dir_->filePath(QStringLiteral("Traducidos/a.txt")),
                      ScriptDePrueba(300000, 50, "Traduccion A"));
        EscribirBytes(dir_->filePath(QStringLiteral("b.txt")), "B1\r\nB2\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("Traducidos/b.txt")), "Tb\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("c.txt")), "C\r\n");
        Abrir();
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("c.txt")));
        QVERIFY(ElegirMientrasCarga(QStringLiteral("a.txt"), QStringLiteral("b.txt")));
        QCOMPARE(ItemsOriginal(*ventana_), (QStringList{"B1", "B2"}));
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("Tb"));
        QCOMPARE(ventana_->lblLtlo->text(), QStringLiteral("4"));
        QCOMPARE(ventana_->File1->nombreArchivo(), QStringLiteral("b.txt"));
        QVERIFY(ventana_->parCargado().hayTraducido);
        QVERIFY(ventana_->cmdGuardar->isEnabled());
    }

    // A load overtaken while it reads a long translation leaves nothing of it behind: deleting the script
    // chosen meanwhile, which has no translation, removes its original alone and refreshes the list.
    void cargaSustituidaNoDejaSuTraduccion()
    {
        EscribirBytes(Ruta(u"a.txt"), "A\r\n");
        EscribirBytes(Ruta(u"Traducidos/a.txt"), ScriptDePrueba(300000, 50, "Traduccion A"));
        EscribirBytes(Ruta(u"b.txt"), "B1\r\nB2\r\n");
        EscribirBytes(Ruta(u"c.txt"), "C\r\n");
        Abrir();
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("c.txt")));
        QVERIFY(ElegirMientrasCarga(QStringLiteral("a.txt"), QStringLiteral("b.txt")));
        QCOMPARE(ItemsOriginal(*ventana_), (QStringList{"B1", "B2"}));
        QVERIFY(!ventana_->parCargado().hayTraducido);

        caja_.respuestas = {Respuesta::Si};
        ventana_->cmdEliminar_Click();
        QCOMPARE(caja_.textos(), QStringList{u"¿Desea eliminar el script: b.txt?"_qs});
        QVERIFY(!QFileInfo::exists(Ruta(u"b.txt")));
        QCOMPARE(ventana_->File1->nombreArchivo(), QStringLiteral("c.txt"));
        QVERIFY(QFileInfo::exists(Ruta(u"Traducidos/a.txt")));
    }

    // Closing the window, a folder change or a deletion while a long load yields takes effect at once: the
    // load stops at its next yield, and what the flow leaves on screen is the flow's own result.
    void interrumpida_data()
    {
        QTest::addColumn<QString>("accion");
        QTest::newRow("cerrar") << QStringLiteral("cerrar");
        QTest::newRow("carpeta") << QStringLiteral("carpeta");
        QTest::newRow("eliminar") << QStringLiteral("eliminar");
        QTest::newRow("elegir otro") << QStringLiteral("elegir");
        QTest::newRow("guardar") << QStringLiteral("guardar");
    }
    void interrumpida()
    {
        QFETCH(QString, accion);
        EscribirBytes(Ruta(u"a.txt"), ScriptDePrueba(300000, 50, "Original A"));
        EscribirBytes(Ruta(u"Traducidos/a.txt"), ScriptDePrueba(300000, 50, "Traduccion A"));
        EscribirBytes(Ruta(u"b.txt"), "B1\r\n");
        EscribirBytes(Ruta(u"Traducidos/b.txt"), "Tb\r\n");
        Abrir();
        int lineasAlInterrumpir = -1;
        QTimer::singleShot(0, ventana_.get(), [&] {
            lineasAlInterrumpir = ventana_->txtTraducido->document()->blockCount();
            if (accion == u"cerrar") {
                ventana_->close();
            } else if (accion == u"carpeta") {
                ventana_->Dir1_Change();
            } else if (accion == u"elegir") {
                ElegirScript(*ventana_, QStringLiteral("b.txt"));
            } else if (accion == u"guardar") {
                ventana_->cmdGuardar_Click();
            } else {
                caja_.respuestas = {Respuesta::Si};
                ventana_->cmdEliminar_Click();
            }
        });
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("a.txt")));
        QVERIFY(lineasAlInterrumpir >= 0);
        if (accion == u"cerrar") {
            // Nothing more was read after the close.
            QVERIFY(!ventana_->parCargado().completo);
            QVERIFY(ventana_->txtTraducido->document()->blockCount() <= lineasAlInterrumpir);
        } else if (accion == u"carpeta") {
            QCOMPARE(ItemsOriginal(*ventana_), QStringList());
            QCOMPARE(ventana_->txtTraducido->toPlainText(), QString());
            QVERIFY(!ventana_->cmdGuardar->isEnabled());
            QCOMPARE(ventana_->File1->nombreArchivo(), QStringLiteral("a.txt"));
        } else if (accion == u"guardar") {
            // Nothing is saved from a pair that is not loaded whole; the load goes on to its end.
            QCOMPARE(caja_.textos(), QStringList());
            QCOMPARE(LeerBytes(Ruta(u"Traducidos/a.txt")), ScriptDePrueba(300000, 50, "Traduccion A"));
            QCOMPARE(ventana_->txtTraducido->document()->blockCount(), 300000);
            QCOMPARE(ventana_->lstOriginal->count(), 300000);
            QVERIFY(ventana_->parCargado().completo);
        } else {
            // Deleting: the script being loaded was the selected one; it went, its translation was not
            // known yet and stays, and the next script is loaded whole. Either way b's pair alone is shown.
            if (accion == u"eliminar") {
                QVERIFY(!QFileInfo::exists(Ruta(u"a.txt")));
                QVERIFY(QFileInfo::exists(Ruta(u"Traducidos/a.txt")));
            }
            QCOMPARE(ItemsOriginal(*ventana_), QStringList{"B1"});
            QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("Tb"));
            QCOMPARE(ventana_->parCargado().rutaTraduccion, Ruta(u"Traducidos/b.txt"));
            QVERIFY(ventana_->parCargado().completo);
        }
    }

    // While a long translation fills the box, the box shows its lines unselected, with the caret at the
    // start.
    void sinSeleccionMientrasCarga()
    {
        EscribirBytes(Ruta(u"a.txt"), "A\r\n");
        EscribirBytes(Ruta(u"Traducidos/a.txt"), ScriptDePrueba(300000, 50, "Traduccion A"));
        Abrir();
        int vistas = 0;
        int seleccionadas = 0;
        QTimer muestra;
        muestra.setInterval(0);
        connect(&muestra, &QTimer::timeout, ventana_.get(), [&] {
            if (ventana_->txtTraducido->document()->blockCount() < 2)
                return;
            ++vistas;
            if (ventana_->txtTraducido->textCursor().hasSelection())
                ++seleccionadas;
        });
        muestra.start();
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("a.txt")));
        muestra.stop();
        QVERIFY(vistas > 0);
        QCOMPARE(seleccionadas, 0);
    }

    // A load overtaken once it emptied the box of a long translation and began to fill it with another
    // leaves none of either behind: the newer load shows its own pair alone.
    void sustituidaAlVaciar()
    {
        EscribirBytes(Ruta(u"a.txt"), ScriptDePrueba(100000, 50, "Original A"));
        EscribirBytes(Ruta(u"Traducidos/a.txt"), ScriptDePrueba(100000, 50, "Traduccion A"));
        EscribirBytes(Ruta(u"b.txt"), "B1\r\nB2\r\n");
        EscribirBytes(Ruta(u"Traducidos/b.txt"), "Tb\r\n");
        EscribirBytes(Ruta(u"c.txt"), "C\r\n");
        EscribirBytes(Ruta(u"Traducidos/c.txt"), ScriptDePrueba(100000, 50, "Traduccion C"));
        Abrir();
        QCOMPARE(ventana_->txtTraducido->document()->blockCount(), 100000);
        QVERIFY(ElegirMientrasCarga(QStringLiteral("c.txt"), QStringLiteral("b.txt")));
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("Tb"));
        QCOMPARE(ItemsOriginal(*ventana_), (QStringList{"B1", "B2"}));
        QCOMPARE(ventana_->parCargado().rutaTraduccion, Ruta(u"Traducidos/b.txt"));
        QVERIFY(ventana_->parCargado().completo);
        QVERIFY(!ventana_->txtTraducido->document()->isModified());
    }

private:
    // Chooses `larga`, and `otra` as soon as that load first yields; true when it did yield.
    bool ElegirMientrasCarga(const QString& larga, const QString& otra)
    {
        bool cedio = false;
        QTimer::singleShot(0, ventana_.get(), [&] {
            cedio = true;
            ElegirScript(*ventana_, otra);
        });
        return ElegirScript(*ventana_, larga) && cedio;
    }
};

VELARTO_PRUEBA(PruebaCarga)
#include "tst_carga.moc"
