// Deleted scripts and translations go to the desktop's trash, each restorable to its place; where no trash
// can take a file it stays as it is, for the caller to delete.
#include <cerrno>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "archivos.h"
#include "carpeta_prueba.h"
#include "error_esperado.h"
#include "fallos_archivos.h"
#include "papelera_prueba.h"
#include "principal.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ResultadoPapelera)

class PruebaPapelera final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
        papelera_.emplace();
    }
    void cleanup() { papelera_.reset(); }

    // A script and its translation share a name; both land in the trash, whose folders the account did not
    // have yet (Qt 6.4 alone would put them in the current folder).
    void parEnLaPapelera()
    {
        const QString original = dir_->filePath(u"Capítulo 1.txt"_s);
        const QString traduccion = dir_->filePath(u"Traducidos/Capítulo 1.txt"_s);
        EscribirBytes(original, "original\r\n");
        EscribirBytes(traduccion, "traducción\r\n");
        QVERIFY(!QFileInfo::exists(PapeleraDelUsuario()));

        QCOMPARE(MoverAPapelera(original), ResultadoPapelera::EnPapelera);
        QCOMPARE(MoverAPapelera(traduccion), ResultadoPapelera::EnPapelera);

        QVERIFY(!QFileInfo::exists(original));
        QVERIFY(!QFileInfo::exists(traduccion));
        const QMap<QString, QString> contenido = papelera_->Contenido();
        QCOMPARE(contenido.keys(), (QStringList{original, traduccion}));
        QCOMPARE(LeerBytes(contenido.value(original)), QByteArray("original\r\n"));
        QCOMPARE(LeerBytes(contenido.value(traduccion)), QByteArray("traducción\r\n"));
        QVERIFY(!QFileInfo::exists(QDir::current().filePath(u"files"_s)));
    }

    // Qt would try names for the trash's information file without end: such a file is left for the caller.
    void sinSitioEnLaPapelera_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<bool>("infoDeSoloLectura");
        QTest::newRow("nombre de 255 bytes") << QString(QString(251, u'a') + u".txt") << false;
        QTest::newRow("el nombre más largo que cabe")
            << QString(QString(255 - 15 - 4, u'a') + u".txt") << false;
        QTest::newRow("información que no se puede escribir") << u"a.txt"_s << true;
    }
    void sinSitioEnLaPapelera()
    {
        QFETCH(QString, nombre);
        QFETCH(bool, infoDeSoloLectura);
        const QString ruta = dir_->filePath(nombre);
        EscribirBytes(ruta, "guion");
        const QString info = PapeleraDelUsuario() + u"/info";
        QVERIFY(QDir().mkpath(info));
        if (infoDeSoloLectura) {
            QVERIFY(QFile::setPermissions(info, QFile::ReadOwner | QFile::ExeOwner));
            if (QFileInfo(info).isWritable())
                QSKIP("this process writes whatever the mode says");
        }
        const bool cabe = nombre.size() <= 255 - 15;

        const ResultadoPapelera resultado = MoverAPapelera(ruta);

        QFile::setPermissions(info, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(resultado,
                 cabe && !infoDeSoloLectura ? ResultadoPapelera::EnPapelera : ResultadoPapelera::SinPapelera);
        QCOMPARE(QFileInfo::exists(ruta), !(cabe && !infoDeSoloLectura));
    }

    // Where no trash can take the file, the move fails or the file is protected, it stays where it was.
    void quedaDondeEstaba_data()
    {
        QTest::addColumn<bool>("soloLectura");
        QTest::addColumn<int>("codigoErrno"); // of the move
        QTest::addColumn<int>("numero");      // the error raised; 0: none, no trash
        QTest::newRow("la papelera está en otro sistema de archivos") << false << EXDEV << 0;
        QTest::newRow("sin permiso en la carpeta") << false << EACCES << 70;
        QTest::newRow("solo lectura") << true << 0 << 75;
    }
    void quedaDondeEstaba()
    {
        QFETCH(bool, soloLectura);
        QFETCH(int, codigoErrno);
        QFETCH(int, numero);
        const QString ruta = dir_->filePath(u"a.txt"_s);
        EscribirBytes(ruta, "guion");
        if (soloLectura)
            QVERIFY(QFile::setPermissions(ruta, QFile::ReadOwner));
        FallosArchivos fallos;
        fallos.programar(OperacionArchivo::Papelera, 1, codigoErrno);
        std::optional<ResultadoPapelera> resultado;
        QCOMPARE(NumeroDeError([&] { resultado = MoverAPapelera(ruta, fallos); }), numero);
        if (numero == 0)
            QCOMPARE(resultado, ResultadoPapelera::SinPapelera);
        QCOMPARE(LeerBytes(ruta), QByteArray("guion"));
    }

private:
    std::optional<QTemporaryDir> dir_;
    std::optional<PapeleraPrueba> papelera_;
};

VELARTO_PRUEBA(PruebaPapelera)
#include "tst_papelera.moc"
