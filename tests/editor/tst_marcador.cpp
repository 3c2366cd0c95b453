// The bookmark buttons (the script by its name, its place in the list and the caret's line) and the
// always-on-top check box, through the real window on real folders.
#include <optional>

#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTest>

#include "boton_imagen.h"
#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "ini.h"
#include "principal.h"
#include "ventana_prueba.h"

using namespace Qt::StringLiterals;

namespace {

const QStringList guiones{QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")};

// The lines of each script of a folder made by Carpeta(), by index in the file list.
QStringList LineasDe(int indice)
{
    const QByteArray prefijo = QByteArray(1, char('A' + indice));
    QStringList lineas = QString::fromLatin1(ScriptDePrueba(4 + indice, 40, prefijo.constData()))
                             .split(QStringLiteral("\r\n"));
    lineas.removeLast();
    return lineas;
}

} // namespace

class PruebaMarcador final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void insertar_data()
    {
        QTest::addColumn<QByteArray>("antes");
        QTest::addColumn<int>("seleccion");
        QTest::addColumn<QByteArray>("despues");

        QTest::newRow("primer guion")
            << QByteArray() << 0 << QByteArray("[Marcador]\r\nINDICE=0\r\nARCHIVO=\"a.txt\"\r\nLINEA=1\r\n");
        QTest::newRow("tercer guion")
            << QByteArray() << 2 << QByteArray("[Marcador]\r\nINDICE=2\r\nARCHIVO=\"c.txt\"\r\nLINEA=1\r\n");
        QTest::newRow("sin seleccion")
            << QByteArray() << -1 << QByteArray("[Marcador]\r\nINDICE=-1\r\nARCHIVO=\"\"\r\nLINEA=1\r\n");
        QTest::newRow("reemplaza el de windows")
            << QByteArray("[Marcador]\r\nIndice=1\r\n") << 2
            << QByteArray("[Marcador]\r\nIndice=2\r\nARCHIVO=\"c.txt\"\r\nLINEA=1\r\n");
    }

    void insertar()
    {
        QFETCH(QByteArray, antes);
        QFETCH(int, seleccion);
        QFETCH(QByteArray, despues);
        const QString carpeta = Carpeta(QStringLiteral("guiones"));
        if (!antes.isEmpty())
            EscribirBytes(Marcador(carpeta), antes);
        AbrirEn(carpeta);
        ventana_->File1->setIndice(seleccion);

        ventana_->cmdInsMarcador->click();

        QCOMPARE(LeerBytes(Marcador(carpeta)), despues);
        QCOMPARE(caja_.textos(), QStringList());
    }

    void cargar_data()
    {
        QTest::addColumn<QByteArray>("marcador");
        QTest::addColumn<int>("esperado");
        QTest::addColumn<bool>("falla");

        // Every row starts with the second script loaded, so a load and its absence both show.
        QTest::newRow("sin marcador") << QByteArray() << 0 << false;
        QTest::newRow("clave vacia") << QByteArray("[Marcador]\r\nINDICE=\r\n") << 0 << false;
        QTest::newRow("indice guardado") << QByteArray("[Marcador]\r\nINDICE=2\r\n") << 2 << false;
        QTest::newRow("escrito a mano") << QByteArray("[ marcador ]\n  indice = \"2\"\n") << 2 << false;
        QTest::newRow("numero seguido de texto")
            << QByteArray("[Marcador]\r\nINDICE=2 (c.txt)\r\n") << 2 << false;
        QTest::newRow("texto sin numero") << QByteArray("[Marcador]\r\nINDICE=ultimo\r\n") << 0 << false;
        QTest::newRow("1.5 redondea a 2") << QByteArray("[Marcador]\r\nINDICE=1.5\r\n") << 2 << false;
        QTest::newRow("2.5 redondea a 2") << QByteArray("[Marcador]\r\nINDICE=2.5\r\n") << 2 << false;
        QTest::newRow("menos uno quita la seleccion")
            << QByteArray("[Marcador]\r\nINDICE=-1\r\n") << -1 << false;
        QTest::newRow("mas alla de la lista") << QByteArray("[Marcador]\r\nINDICE=5\r\n") << 1 << true;
        QTest::newRow("fuera de 16 bits") << QByteArray("[Marcador]\r\nINDICE=40000\r\n") << 1 << true;
        QTest::newRow("archivo demasiado grande")
            << QByteArray("[Marcador]\r\nINDICE=2\r\n" + QByteArray(maximoPerfil, ';')) << 1 << true;
    }

    void cargar()
    {
        QFETCH(QByteArray, marcador);
        QFETCH(int, esperado);
        QFETCH(bool, falla);
        const QString carpeta = Carpeta(QStringLiteral("guiones"));
        if (!marcador.isEmpty())
            EscribirBytes(Marcador(carpeta), marcador);
        AbrirEn(carpeta);
        ventana_->File1->setIndice(1);

        ventana_->cmdLeerMarcador->click();

        QCOMPARE(ventana_->File1->indice(), esperado);
        // Selecting -1 loads nothing: the second script stays in the editor.
        QCOMPARE(ItemsOriginal(*ventana_), LineasDe(esperado < 0 ? 1 : esperado));
        QVERIFY(ventana_->cmdGuardar->isEnabled());
        if (!falla) {
            QCOMPARE(caja_.textos(), QStringList());
            return;
        }
        QCOMPARE(caja_.mostrados.size(), 1);
        const MensajeMostrado& mensaje = caja_.mostrados.first();
        QCOMPARE(mensaje.texto, QStringLiteral("Error al cargar marcador"));
        QCOMPARE(mensaje.botones, Botones::Aceptar);
        QCOMPARE(mensaje.icono, Icono::Ninguno);
        QCOMPARE(mensaje.titulo, QStringLiteral("Velarto"));
    }

    void guardarYVolver()
    {
        const QString carpeta = Carpeta(QStringLiteral("guiones"));
        Traducir(carpeta);
        AbrirEn(carpeta);
        ventana_->File1->setIndice(2);
        CursorEn(3, 2);
        ventana_->cmdInsMarcador->click();
        QCOMPARE(LeerBytes(Marcador(carpeta)),
                 QByteArray("[Marcador]\r\nINDICE=2\r\nARCHIVO=\"c.txt\"\r\nLINEA=4\r\n"));
        ventana_->File1->setIndice(0);

        ventana_->cmdLeerMarcador->click();

        QCOMPARE(ventana_->File1->indice(), 2);
        QCOMPARE(ItemsOriginal(*ventana_), LineasDe(2));
        QCOMPARE(ventana_->txtTraducido->textCursor().blockNumber(), 3);
        QCOMPARE(caja_.textos(), QStringList());
    }

    // The script is found by its name wherever the list now shows it, and the caret goes to its line; where
    // the name is missing or gone, the list position decides as it always did, and the caret stays put.
    void cargarPorNombre_data()
    {
        QTest::addColumn<QByteArray>("marcador");
        QTest::addColumn<QString>("quitar"); // a script that is gone when the window opens
        QTest::addColumn<QString>("anadir"); // one that is new
        QTest::addColumn<QString>("esperado");
        QTest::addColumn<int>("linea");   // the caret's, from 0
        QTest::addColumn<int>("columna"); // -1: the end of that line

        const QByteArray deC = "[Marcador]\r\nINDICE=2\r\nARCHIVO=\"c.txt\"\r\nLINEA=3\r\n";
        QTest::newRow("nombre presente") << deC << QString() << QString() << u"c.txt"_s << 2 << 0;
        QTest::newRow("un script nuevo delante") << deC << QString() << u"0.txt"_s << u"c.txt"_s << 2 << 0;
        QTest::newRow("nombre desaparecido")
            << QByteArray("[Marcador]\r\nINDICE=0\r\nARCHIVO=\"z.txt\"\r\nLINEA=3\r\n") << QString()
            << QString() << u"a.txt"_s << 0 << 0;
        QTest::newRow("renombrado") << deC << u"c.txt"_s << u"c2.txt"_s << u"c2.txt"_s << 0 << 0;
        QTest::newRow("solo indice, del programa original")
            << QByteArray("[Marcador]\r\nIndice=2\r\n") << QString() << u"0.txt"_s << u"b.txt"_s << 0 << 0;
        QTest::newRow("linea pasado el final")
            << QByteArray("[Marcador]\r\nINDICE=0\r\nARCHIVO=\"a.txt\"\r\nLINEA=99\r\n") << QString()
            << QString() << u"a.txt"_s << 4 << -1;
    }
    void cargarPorNombre()
    {
        QFETCH(QByteArray, marcador);
        QFETCH(QString, quitar);
        QFETCH(QString, anadir);
        QFETCH(QString, esperado);
        QFETCH(int, linea);
        QFETCH(int, columna);
        const QString carpeta = Carpeta(QStringLiteral("guiones"));
        Traducir(carpeta);
        EscribirBytes(Marcador(carpeta), marcador);
        if (!quitar.isEmpty())
            QVERIFY(QFile::remove(QDir(carpeta).filePath(quitar)));
        if (!anadir.isEmpty())
            EscribirBytes(QDir(carpeta).filePath(anadir), "nuevo\r\n");
        Abrir(carpeta);
        ventana_->File1->setIndice(1);
        CursorEn(1);

        ventana_->cmdLeerMarcador->click();

        QCOMPARE(ventana_->File1->nombreArchivo(), esperado);
        const QTextCursor cursor = ventana_->txtTraducido->textCursor();
        QCOMPARE(cursor.blockNumber(), linea);
        QCOMPARE(cursor.positionInBlock(), columna < 0 ? cursor.block().length() - 1 : columna);
        QCOMPARE(caja_.textos(), QStringList());
        // Every other byte of the bookmark file stays as it was.
        QCOMPARE(LeerBytes(Marcador(carpeta)), marcador);
    }

    void dosCarpetas()
    {
        const QString uno = Carpeta(QStringLiteral("uno"));
        const QString dos = Carpeta(QStringLiteral("dos"));
        AbrirEn(uno);
        ventana_->File1->setIndice(2);
        ventana_->cmdInsMarcador->click();
        AbrirEn(dos);
        ventana_->File1->setIndice(1);
        ventana_->cmdInsMarcador->click();

        AbrirEn(uno);
        ventana_->cmdLeerMarcador->click();
        QCOMPARE(ventana_->File1->indice(), 2);
        AbrirEn(dos);
        ventana_->cmdLeerMarcador->click();
        QCOMPARE(ventana_->File1->indice(), 1);
        QCOMPARE(LeerBytes(Marcador(uno)),
                 QByteArray("[Marcador]\r\nINDICE=2\r\nARCHIVO=\"c.txt\"\r\nLINEA=1\r\n"));
        QCOMPARE(LeerBytes(Marcador(dos)),
                 QByteArray("[Marcador]\r\nINDICE=1\r\nARCHIVO=\"b.txt\"\r\nLINEA=1\r\n"));
    }

    // The check box's states as the handler reads them: only checked keeps the window above.
    void casillaSiempreEncima_data()
    {
        QTest::addColumn<QList<Qt::CheckState>>("estados");
        QTest::addColumn<bool>("encima");
        QTest::newRow("marcada") << QList<Qt::CheckState>{Qt::Checked} << true;
        QTest::newRow("marcada y desmarcada") << QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked} << false;
        QTest::newRow("gris") << QList<Qt::CheckState>{Qt::Checked, Qt::PartiallyChecked} << false;
        QTest::newRow("varias veces")
            << QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::Checked, Qt::Unchecked, Qt::Checked}
            << true;
    }

    void casillaSiempreEncima()
    {
        QFETCH(QList<Qt::CheckState>, estados);
        QFETCH(bool, encima);
        AbrirEn(Carpeta(QStringLiteral("guiones")));
        const QRect marco = ventana_->frameGeometry();

        for (const Qt::CheckState estado : estados)
            ventana_->ck->setCheckState(estado);

        QCOMPARE(ventana_->windowFlags().testFlag(Qt::WindowStaysOnTopHint), encima);
        QVERIFY(ventana_->isVisible());
        QCOMPARE(ventana_->frameGeometry(), marco);
        QCOMPARE(ventana_->focusWidget(), ventana_->File1);
        QCOMPARE(caja_.textos(), QStringList());
    }

private:
    // A folder of three scripts of different lengths.
    QString Carpeta(const QString& nombre)
    {
        const QString carpeta = dir_->filePath(nombre);
        for (int i = 0; i < guiones.size(); ++i) {
            const QByteArray prefijo = QByteArray(1, char('A' + i));
            EscribirBytes(QDir(carpeta).filePath(guiones[i]), ScriptDePrueba(4 + i, 40, prefijo.constData()));
        }
        return carpeta;
    }
    // Five-line translations of the folder's scripts: "a1" ... "a5" for a.txt, and so on.
    static void Traducir(const QString& carpeta)
    {
        for (const QString& nombre : guiones) {
            QStringList lineas;
            for (int i = 1; i <= 5; ++i)
                lineas.append(nombre.left(1) + QString::number(i));
            EscribirBytes(QDir(carpeta).filePath(u"Traducidos/" + nombre), ArchivoCrLf(lineas));
        }
    }
    static QString Marcador(const QString& carpeta)
    {
        return QDir(carpeta).filePath(QStringLiteral("Velarto.vrk"));
    }
    void AbrirEn(const QString& carpeta)
    {
        ventana_.reset();
        Abrir(carpeta);
        QCOMPARE(ventana_->File1->cantidad(), int(guiones.size()));
    }
};

VELARTO_PRUEBA(PruebaMarcador)
#include "tst_marcador.moc"
