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
        // The trash is the user's alone.
        const QFile::Permissions otros = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                         QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QVERIFY(!(QFile::permissions(PapeleraDelUsuario()) & otros));
        QVERIFY(!QFileInfo::exists(QDir::current().filePath(u"files"_s)));
    }

    // Whatever is refused or cannot reach a trash stays where it was, and the trash stays empty.
    void quedaDondeEstaba_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<bool>("soloLectura");
        QTest::addColumn<int>("codigoErrno"); // of the move itself
        QTest::addColumn<int>("numero");      // the error raised; 0 for none
        QTest::newRow("la papelera está en otro sistema de archivos") << u"a.txt"_s << false << EXDEV << 0;
        QTest::newRow("no existe") << u"falta.txt"_s << false << 0 << 53;
        QTest::newRow("una carpeta") << u"Traducidos"_s << false << 0 << 53;
        QTest::newRow("solo lectura") << u"a.txt"_s << true << 0 << 75;
        QTest::newRow("sin permiso en la carpeta") << u"a.txt"_s << false << EACCES << 70;
    }
    void quedaDondeEstaba()
    {
        QFETCH(QString, nombre);
        QFETCH(bool, soloLectura);
        QFETCH(int, codigoErrno);
        QFETCH(int, numero);
        EscribirBytes(dir_->filePath(u"a.txt"_s), "guion");
        QVERIFY(QDir(dir_->path()).mkdir(u"Traducidos"_s));
        const QString ruta = dir_->filePath(nombre);
        if (soloLectura)
            QVERIFY(QFile::setPermissions(ruta, QFile::ReadOwner));
        FallosArchivos fallos;
        if (codigoErrno != 0)
            fallos.programar(OperacionArchivo::Papelera, 1, codigoErrno);

        std::optional<ResultadoPapelera> resultado;
        QCOMPARE(NumeroDeError([&] { resultado = MoverAPapelera(ruta, fallos); }), numero);

        if (numero == 0)
            QCOMPARE(resultado, ResultadoPapelera::SinPapelera);
        QCOMPARE(LeerBytes(dir_->filePath(u"a.txt"_s)), QByteArray("guion"));
        QVERIFY(QFileInfo(dir_->filePath(u"Traducidos"_s)).isDir());
        QVERIFY(papelera_->Contenido().isEmpty());
    }

private:
    std::optional<QTemporaryDir> dir_;
    std::optional<PapeleraPrueba> papelera_;
};

VELARTO_PRUEBA(PruebaPapelera)
#include "tst_papelera.moc"
