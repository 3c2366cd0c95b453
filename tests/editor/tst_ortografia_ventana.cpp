// Spelling as you type through the real window: underlines, corrections and undo, the personal list
// across runs, the switch and the language remembered, no dictionary at all, and highlighting that
// the rest of the editor never takes for an edit.
#include <memory>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "diccionarios.h"
#include "formato_documento.h"
#include "principal.h"
#include "ventana_prueba.h"

namespace {

// One misspelled word ("herror") on line 0 and again on the last of 40 lines (39).
QStringList Traduccion()
{
    QStringList lineas{QStringLiteral("¿Quieres ver el herror? ELIN: {nombre} dice %s")};
    for (int i = 1; i < 39; ++i)
        lineas.append(QStringLiteral("Una línea correcta del guion."));
    lineas.append(QStringLiteral("Otro herror al final."));
    return lineas;
}

QByteArray Archivo(const QStringList& lineas)
{
    return (lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace

class PruebaOrtografiaVentana final : public PruebaConVentana
{
    Q_OBJECT

    QStringList carpetasDiccionarios_;

    QString Ajustes() const { return dir_->filePath(QStringLiteral("ajustes.ini")); }
    QString Datos() const { return dir_->filePath(QStringLiteral("datos")); }

    // Opens (or reopens) the window on the script folder, with this test's settings and data folder.
    void AbrirConAjustes()
    {
        ventana_.reset();
        ventana_ = AbrirVentana(Servicios{.mensajes = &caja_,
                                          .carpetaInicial = dir_->filePath(QStringLiteral("scripts")),
                                          .carpetaDatos = Datos(),
                                          .archivos = &*archivos_,
                                          .archivoAjustes = Ajustes(),
                                          .carpetasDiccionarios = carpetasDiccionarios_});
        QCOMPARE(ventana_->txtTraducido->document()->blockCount(), 40);
    }

    QTextBlock Bloque(int linea) const
    {
        return ventana_->txtTraducido->document()->findBlockByNumber(linea);
    }

    // The words of a line drawn with a wavy underline, as the box shows the line; it then scrolls back.
    QStringList Subrayadas(int linea) const
    {
        QScrollBar* barra = ventana_->txtTraducido->verticalScrollBar();
        const int antes = barra->value();
        barra->setValue(linea);
        const QStringList palabras = Formateadas(linea);
        barra->setValue(antes);
        return palabras;
    }

    // The same, as the line holds them wherever the box is.
    QStringList Formateadas(int linea) const
    {
        const QTextBlock bloque = Bloque(linea);
        QStringList palabras;
        for (const QTextLayout::FormatRange& r : bloque.layout()->formats())
            if (r.format.underlineStyle() == QTextCharFormat::WaveUnderline)
                palabras.append(bloque.text().mid(r.start, r.length));
        return palabras;
    }

    // The context menu as it opens on the given word of a line.
    std::unique_ptr<QMenu> Menu(int linea, const QString& palabra)
    {
        CajaTexto* caja = ventana_->txtTraducido;
        QTextCursor cursor(Bloque(linea));
        cursor.setPosition(Bloque(linea).position() + int(Bloque(linea).text().indexOf(palabra)) + 1);
        const QPoint lugar = caja->cursorRect(cursor).center();
        auto menu = std::unique_ptr<QMenu>(caja->createStandardContextMenu(lugar));
        Q_EMIT caja->menuContextual(menu.get(), lugar);
        return menu;
    }

    static QStringList Textos(const QMenu& menu)
    {
        QStringList textos;
        for (const QAction* accion : menu.actions())
            textos.append(accion->isSeparator() ? QStringLiteral("|") : accion->text());
        return textos;
    }

    static QAction* Entrada(const QMenu& menu, const QString& texto)
    {
        for (QAction* accion : menu.actions())
            if (accion->text() == texto)
                return accion;
        return nullptr;
    }

    QAction* Revisar() const
    {
        for (QAction* accion : ventana_->txtTraducido->actions())
            if (accion->text() == u"Revisar ortografía")
                return accion;
        return nullptr;
    }

    static bool HayEspanol()
    {
        for (const Diccionario& d : BuscarDiccionarios())
            if (d.codigo == u"es_ES")
                return true;
        return false;
    }

private Q_SLOTS:
    void init()
    {
        PruebaConVentana::init();
        carpetasDiccionarios_.clear();
        const QStringList traduccion = Traduccion();
        QStringList original;
        for (int i = 0; i < traduccion.size(); ++i)
            original.append(QStringLiteral("Original line number %1 of the script").arg(i));
        EscribirBytes(dir_->filePath(QStringLiteral("scripts/guion.txt")), Archivo(original));
        EscribirBytes(dir_->filePath(QStringLiteral("scripts/Traducidos/guion.txt")), Archivo(traduccion));
        if (QByteArray(QTest::currentTestFunction()) != "sinDiccionario" && !HayEspanol())
            QSKIP("No hay diccionario es_ES instalado (paquete hunspell-es)");
    }

    void cleanup()
    {
        QCOMPARE(caja_.textos(), QStringList());
        PruebaConVentana::cleanup();
    }

    // Only the misspelled word is underlined, on screen and off it once shown; capitals, placeholders and
    // the rest are not. The checking is no edit: no undo step, no modified flag, and the monitor rests.
    void marcaSinEditar()
    {
        AbrirConAjustes();
        QTRY_VERIFY(!ventana_->ortografia().Pendiente());
        // Checked off screen, a line holds no underlines (and no layout of its own) until it is shown.
        QCOMPARE(Formateadas(39), QStringList());
        QTRY_COMPARE(Subrayadas(0), QStringList{QStringLiteral("herror")});
        QCOMPARE(Subrayadas(39), QStringList{QStringLiteral("herror")});
        QTRY_COMPARE(Subrayadas(39), QStringList{QStringLiteral("herror")});
        QCOMPARE(Subrayadas(20), QStringList());
        QTextDocument* documento = ventana_->txtTraducido->document();
        QCOMPARE(documento->availableUndoSteps(), 0);
        QVERIFY(!documento->isModified());

        for (int i = 0; i < 5 && ventana_->timer->isActive(); ++i)
            ventana_->timer_Timer();
        QVERIFY(!ventana_->timer->isActive());
        // Every underline goes and comes back: many lines restyled, none edited.
        Revisar()->trigger();
        QTRY_COMPARE(Subrayadas(39), QStringList());
        Revisar()->trigger();
        QTRY_COMPARE(Subrayadas(39), QStringList{QStringLiteral("herror")});
        QApplication::processEvents();
        QVERIFY(!ventana_->timer->isActive());
        QCOMPARE(documento->availableUndoSteps(), 0);
        QVERIFY(!documento->isModified());

        // Restyling that does fire the change signals (as the highlighter leaving the document does)
        // leaves the monitor resting too.
        int senales = 0;
        connect(documento, &QTextDocument::contentsChange, this, [&] { ++senales; });
        {
            const CambioDeFormato marca(documento);
            QTextCursor grupo(documento);
            grupo.beginEditBlock();
            Bloque(0).layout()->clearFormats();
            grupo.endEditBlock();
        }
        QCOMPARE(senales, 1);
        QApplication::processEvents();
        QVERIFY(!ventana_->timer->isActive());
    }

    // A keystroke re-checks its own line at once.
    // A load whose original cannot be read leaves its translation in the box, and the idle checking,
    // which waits while a pair is loaded, goes on over it.
    void trasOriginalIlegible()
    {
        QStringList traduccion(200, QStringLiteral("Una línea correcta del guion."));
        traduccion[100] = QStringLiteral("Otro herror en medio.");
        EscribirBytes(dir_->filePath(QStringLiteral("scripts/otro.txt")), "Other\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("scripts/Traducidos/otro.txt")), Archivo(traduccion));
        AbrirConAjustes();
        QVERIFY(QFile::remove(dir_->filePath(QStringLiteral("scripts/otro.txt"))));
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("otro.txt")));
        QCOMPARE(caja_.textos(), QStringList{QStringLiteral("53:No se encontró el archivo")});
        caja_.olvidar();
        QCOMPARE(ventana_->txtTraducido->document()->blockCount(), 200);
        QTRY_COMPARE(Subrayadas(100), QStringList{QStringLiteral("herror")});
    }

    void alEscribir()
    {
        AbrirConAjustes();
        QTRY_COMPARE(Subrayadas(0), QStringList{QStringLiteral("herror")});
        QTextCursor cursor(Bloque(20));
        cursor.movePosition(QTextCursor::EndOfBlock);
        ventana_->txtTraducido->setTextCursor(cursor);
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral(" ezto"));
        QCOMPARE(Subrayadas(20), QStringList{QStringLiteral("ezto")});
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(ventana_->txtTraducido, Qt::Key_Backspace);
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("sto"));
        QCOMPARE(Subrayadas(20), QStringList());

        // The same number of underlines in other places is another restyling: typing before a misspelled
        // word moves its underline with it.
        ventana_->txtTraducido->setTextCursor(QTextCursor(Bloque(0)));
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("ya "));
        QCOMPARE(Subrayadas(0), QStringList{QStringLiteral("herror")});
    }

    // Corrections at the top, then the two choices, the standard entries, and the switches in their own
    // section; a correction is one edit that one undo takes back.
    void corregirYDeshacer()
    {
        AbrirConAjustes();
        QTRY_COMPARE(Subrayadas(0), QStringList{QStringLiteral("herror")});
        const std::unique_ptr<QMenu> menu = Menu(0, QStringLiteral("herror"));
        const QStringList textos = Textos(*menu);
        const qsizetype anadir = textos.indexOf(QStringLiteral("Añadir al diccionario"));
        QVERIFY2(anadir >= 1 && anadir <= 6, qPrintable(textos.join(u", ")));
        QCOMPARE(textos.mid(anadir, 3), (QStringList{"Añadir al diccionario", "Ignorar", "|"}));
        const qsizetype revisar = textos.indexOf(QStringLiteral("Revisar ortografía"));
        QCOMPARE(textos.mid(revisar - 1, 3),
                 (QStringList{"|", "Revisar ortografía", "Idioma de la ortografía"}));
        QVERIFY(textos.contains(QStringLiteral("Seleccionar todo")) || textos.size() > anadir + 6);
        QVERIFY(textos.contains(QStringLiteral("error")));

        QTextDocument* documento = ventana_->txtTraducido->document();
        const QString antes = Bloque(0).text();
        Entrada(*menu, QStringLiteral("error"))->trigger();
        QCOMPARE(Bloque(0).text(), QStringLiteral("¿Quieres ver el error? ELIN: {nombre} dice %s"));
        QCOMPARE(Subrayadas(0), QStringList());
        ventana_->txtTraducido->undo();
        QCOMPARE(Bloque(0).text(), antes);
        QVERIFY(!documento->isUndoAvailable());
        QCOMPARE(Subrayadas(0), QStringList{QStringLiteral("herror")});

        // A correct word gets no corrections and no choices.
        const QStringList bien = Textos(*Menu(20, QStringLiteral("correcta")));
        QVERIFY(!bien.contains(QStringLiteral("Ignorar")));
        QVERIFY(bien.contains(QStringLiteral("Revisar ortografía")));
    }

    // Both choices take every underline of the word away; only the added word is there after a restart,
    // written in the personal list, which keeps its own code page, line ends and lines.
    void anadirEIgnorar_data()
    {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QByteArray>("antes");   // null: no list yet
        QTest::addColumn<QByteArray>("despues"); // null: still none
        QTest::newRow("añadir al diccionario")
            << QStringLiteral("Añadir al diccionario") << QByteArray() << QByteArray("herror\n");
        QTest::newRow("ignorar") << QStringLiteral("Ignorar") << QByteArray() << QByteArray();
        QTest::newRow("añadir a una lista en Latin-1")
            << QStringLiteral("Añadir al diccionario") << QByteArray("caf\xE9\r\n")
            << QByteArray("caf\xE9\r\nherror\r\n");
    }
    void anadirEIgnorar()
    {
        QFETCH(QString, entrada);
        QFETCH(QByteArray, antes);
        QFETCH(QByteArray, despues);
        const bool queda = !despues.isNull();
        if (!antes.isNull())
            EscribirBytes(Datos() + u"/palabras_personales.txt", antes);
        AbrirConAjustes();
        QTRY_COMPARE(Subrayadas(39), QStringList{QStringLiteral("herror")});
        Entrada(*Menu(0, QStringLiteral("herror")), entrada)->trigger();
        QTRY_COMPARE(Subrayadas(0), QStringList());
        QTRY_COMPARE(Subrayadas(39), QStringList());
        QCOMPARE(QFile::exists(Datos() + u"/palabras_personales.txt"), queda);

        AbrirConAjustes();
        QTRY_COMPARE(Subrayadas(39), queda ? QStringList() : QStringList{QStringLiteral("herror")});
        if (queda)
            QCOMPARE(LeerBytes(Datos() + u"/palabras_personales.txt"), despues);
    }

    // F7 takes every underline away and brings them back; the switch and the language are remembered.
    void interruptorEIdioma()
    {
        AbrirConAjustes();
        QTRY_COMPARE(Subrayadas(0), QStringList{QStringLiteral("herror")});
        CajaTexto* caja = ventana_->txtTraducido;
        caja->activateWindow();
        caja->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(ventana_.get()));
        QTest::keyClick(caja, Qt::Key_F7);
        QVERIFY(!Revisar()->isChecked());
        QTRY_COMPARE(Subrayadas(0), QStringList());
        QTRY_COMPARE(Subrayadas(39), QStringList());
        QCOMPARE(Textos(*Menu(0, QStringLiteral("herror"))).indexOf(QStringLiteral("Ignorar")), -1);

        QStringList nombres;
        {
            const std::unique_ptr<QMenu> menu = Menu(0, QStringLiteral("herror"));
            QMenu* idiomas = Entrada(*menu, QStringLiteral("Idioma de la ortografía"))->menu();
            nombres = Textos(*idiomas);
            QCOMPARE(nombres.value(0), QStringLiteral("Español (España)"));
            QVERIFY(idiomas->actions().value(0)->isChecked());
            if (QAction* mexico = Entrada(*idiomas, QStringLiteral("Español (México)")))
                mexico->trigger();
        }
        AbrirConAjustes();
        QVERIFY(!Revisar()->isChecked());
        QApplication::processEvents();
        QCOMPARE(Subrayadas(0), QStringList());
        const QString idioma =
            QSettings(Ajustes(), QSettings::IniFormat).value("ortografia/idioma").toString();
        QCOMPARE(idioma,
                 nombres.contains(QStringLiteral("Español (México)")) ? QStringLiteral("es_MX") : QString());
        Revisar()->trigger();
        QTRY_COMPARE(Subrayadas(0), QStringList{QStringLiteral("herror")});
    }

    // With no dictionary the entries are there, disabled, saying why; the script loads as ever.
    void sinDiccionario()
    {
        carpetasDiccionarios_ = {dir_->filePath(QStringLiteral("vacia"))};
        AbrirConAjustes();
        QVERIFY(!Revisar()->isEnabled());
        QCOMPARE(Revisar()->toolTip(),
                 QStringLiteral("No hay diccionarios instalados: instale el paquete hunspell-es"));
        const std::unique_ptr<QMenu> menu = Menu(0, QStringLiteral("herror"));
        const QStringList textos = Textos(*menu);
        QCOMPARE(textos.indexOf(QStringLiteral("Ignorar")), -1);
        QVERIFY(!Entrada(*menu, QStringLiteral("Idioma de la ortografía"))->isEnabled());
        QApplication::processEvents();
        QCOMPARE(Subrayadas(0), QStringList());
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("ezto"));
        QCOMPARE(Subrayadas(0), QStringList());
    }
};

VELARTO_PRUEBA(PruebaOrtografiaVentana)
#include "tst_ortografia_ventana.moc"
