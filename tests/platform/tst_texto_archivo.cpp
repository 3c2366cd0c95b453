// The text format of scripts and translations, and the file operations under it.
#include <cerrno>

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "archivos.h"
#include "fallos_archivos.h"
#include "carpeta_prueba.h"
#include "error_esperado.h"
#include "principal.h"
#include "texto_archivo.h"

Q_DECLARE_METATYPE(FinLinea)
Q_DECLARE_METATYPE(Codificacion)
Q_DECLARE_METATYPE(OperacionArchivo)

namespace {

// Every byte but CR and LF, as Windows-1252 text.
QByteArray TodosLosBytes()
{
    QByteArray bytes;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            bytes += char(b);
    }
    return bytes;
}

} // namespace

class PruebaTextoArchivo final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
    }

    void lineas_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lineas");
        QTest::addColumn<FinLinea>("fin");
        QTest::addColumn<Codificacion>("codificacion");
        QTest::addColumn<bool>("bom");
        const auto utf8 = Codificacion::Utf8;
        const auto w1252 = Codificacion::Windows1252;
        QTest::newRow("cero bytes") << QByteArray() << QStringList() << FinLinea::CrLf << utf8 << false;
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << FinLinea::CrLf << utf8
                              << false;
        QTest::newRow("crlf sin salto final")
            << QByteArray("a\r\nbc") << QStringList{"a", "bc"} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("líneas vacías al principio")
            << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("línea vacía final")
            << QByteArray("a\r\n\r\n") << QStringList{"a", ""} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("solo un salto")
            << QByteArray("\r\n") << QStringList{""} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("cr suelto") << QByteArray("a\rb\r") << QStringList{"a", "b"} << FinLinea::Cr << utf8
                                   << false;
        QTest::newRow("cr suelto y crlf mezclados")
            << QByteArray("a\rb\r\nc") << QStringList{"a", "b", "c"} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("lf tras crlf en archivo mezclado")
            << QByteArray("a\rb\r\n\n") << QStringList{"a", "b", u"\u240A"_qs} << FinLinea::CrLf << utf8
            << false;
        QTest::newRow("lf suelto es un carácter")
            << QByteArray("a\nb\r\nc\n\r\n") << QStringList{u"a\u240Ab"_qs, u"c\u240A"_qs} << FinLinea::CrLf
            << utf8 << false;
        QTest::newRow("unix") << QByteArray("a\nb\n") << QStringList{"a", "b"} << FinLinea::Lf << utf8
                              << false;
        QTest::newRow("unix sin salto final")
            << QByteArray("a\n\nb") << QStringList{"a", "", "b"} << FinLinea::Lf << utf8 << false;
        QTest::newRow("bom utf-8") << QByteArray("\xEF\xBB\xBFhola\r\n") << QStringList{"hola"}
                                   << FinLinea::CrLf << utf8 << true;
        QTest::newRow("utf-8 acentos")
            << QByteArray("caf\xC3\xA9\r\n") << QStringList{u"café"_qs} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("windows-1252") << QByteArray("caf\xE9 \x80\xBF\r\n") << QStringList{u"café €¿"_qs}
                                      << FinLinea::CrLf << w1252 << false;
        QTest::newRow("windows-1252 bytes sin definir")
            << QByteArray("\x81\x8D\x8F\x90\x9D\r\n") << QStringList{u"\u0081\u008D\u008F\u0090\u009D"_qs}
            << FinLinea::CrLf << w1252 << false;
        QTest::newRow("bom seguido de utf-8 roto")
            << QByteArray("\xEF\xBB\xBF\xE9\r\n") << QStringList{u"ï»¿é"_qs} << FinLinea::CrLf << w1252
            << false;
        QTest::newRow("utf-8 sobrelargo no es utf-8")
            << QByteArray("\xC0\xAF\n") << QStringList{u"À¯"_qs} << FinLinea::Lf << w1252 << false;
        QTest::newRow("byte nulo") << QByteArray("a\0b\r\n", 5) << QStringList{QString::fromUtf8("a\0b", 3)}
                                   << FinLinea::CrLf << utf8 << false;
    }
    void lineas()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lineas);
        QFETCH(FinLinea, fin);
        QFETCH(Codificacion, codificacion);
        QFETCH(bool, bom);
        const QString ruta = dir_->filePath(QStringLiteral("s.txt"));
        EscribirBytes(ruta, bytes);
        FormatoTexto formato;
        QCOMPARE(LeerLineas(ruta, &formato), lineas);
        QCOMPARE(formato.finLinea, fin);
        QCOMPARE(formato.codificacion, codificacion);
        QCOMPARE(formato.bom, bom);
    }

    // A file that ends with its line end is written back byte for byte.
    void idaYVuelta_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("crlf") << QByteArray("Hello\r\n\r\nWorld\r\n");
        QTest::newRow("unix") << QByteArray("Hello\n\nWorld\n");
        QTest::newRow("cr suelto") << QByteArray("Hello\r\rWorld\r");
        QTest::newRow("lf suelto en archivo crlf") << QByteArray("uno\ndos\r\n\ntres\r\n");
        QTest::newRow("windows-1252 todos los bytes") << TodosLosBytes() + "\r\n" + TodosLosBytes() + "\r\n";
        QTest::newRow("utf-8 con bom") << QByteArray("\xEF\xBB\xBF\xC2\xBFQu\xC3\xA9?\r\n\xE2\x82\xAC\r\n");
        QTest::newRow("utf-8 de cuatro bytes") << QByteArray("\xF0\x9F\x8E\xAE juego\n");
        QTest::newRow("solo bom") << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("marca de orden dentro del texto") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                                       "a\r\n\xEF\xBB\xBF\r\n");
    }
    void idaYVuelta()
    {
        QFETCH(QByteArray, bytes);
        const QString ruta = dir_->filePath(QStringLiteral("s.txt"));
        EscribirBytes(ruta, bytes);
        FormatoTexto formato;
        const QStringList lineas = LeerLineas(ruta, &formato);
        QCOMPARE(LineaNoCodificable(lineas, formato), -1);
        QCOMPARE(CodificarLineas(lineas, formato), bytes);
    }

    void noCodificable_data()
    {
        QTest::addColumn<QStringList>("lineas");
        QTest::addColumn<Codificacion>("codificacion");
        QTest::addColumn<FinLinea>("fin");
        QTest::addColumn<int>("linea");
        const auto w1252 = Codificacion::Windows1252;
        const auto utf8 = Codificacion::Utf8;
        QTest::newRow("euro en 1252") << QStringList{u"10 €"_qs} << w1252 << FinLinea::CrLf << -1;
        QTest::newRow("marca fuera de 1252")
            << QStringList{"ok", u"hecho ✓"_qs} << w1252 << FinLinea::CrLf << 1;
        QTest::newRow("c1 definido no es 1252") << QStringList{u"\u0080"_qs} << w1252 << FinLinea::CrLf << 0;
        QTest::newRow("salto visible en crlf")
            << QStringList{u"a\u240Ab"_qs} << w1252 << FinLinea::CrLf << -1;
        QTest::newRow("salto visible tras cr suelto")
            << QStringList{"a", u"\u240Ab"_qs} << utf8 << FinLinea::Cr << 1;
        QTest::newRow("salto visible tras crlf")
            << QStringList{"a", u"\u240Ab"_qs} << utf8 << FinLinea::CrLf << -1;
        QTest::newRow("marca de orden al principio sin bom")
            << QStringList{u"\uFEFFa"_qs} << utf8 << FinLinea::CrLf << 0;
        QTest::newRow("marca de orden en otra línea")
            << QStringList{"a", u"\uFEFFb"_qs} << utf8 << FinLinea::CrLf << -1;
        QTest::newRow("salto visible en unix 1252")
            << QStringList{u"a\u240Ab"_qs} << w1252 << FinLinea::Lf << 0;
        QTest::newRow("salto visible en unix utf-8")
            << QStringList{u"a\u240Ab"_qs} << utf8 << FinLinea::Lf << -1;
        QTest::newRow("cualquier cosa en utf-8")
            << QStringList{u"日本語 ✓"_qs} << utf8 << FinLinea::CrLf << -1;
        QTest::newRow("sustituto suelto")
            << QStringList{"a", QString(QChar(0xD800))} << utf8 << FinLinea::CrLf << 1;
    }
    void noCodificable()
    {
        QFETCH(QStringList, lineas);
        QFETCH(Codificacion, codificacion);
        QFETCH(FinLinea, fin);
        QFETCH(int, linea);
        QCOMPARE(LineaNoCodificable(lineas, {codificacion, false, fin}), linea);
    }

    void erroresDeLectura()
    {
        QCOMPARE(NumeroDeError([&] { LeerArchivo(dir_->filePath(QStringLiteral("falta.txt"))); }), 53);
        QCOMPARE(NumeroDeError([&] { LeerArchivo(dir_->filePath(QStringLiteral("no/falta.txt"))); }), 76);
        QCOMPARE(NumeroDeError([&] { LeerArchivo(dir_->path()); }), 75);
        EscribirBytes(dir_->filePath(QStringLiteral("s.txt")), "abc");
        FallosArchivos fallos;
        fallos.programar(OperacionArchivo::Leer, 1, EIO);
        QCOMPARE(NumeroDeError([&] { LeerArchivo(dir_->filePath(QStringLiteral("s.txt")), fallos); }), 57);
    }

    // A write that fails at any step leaves the old file exactly as it was, and no temporary file behind.
    void escrituraAtomica_data()
    {
        QTest::addColumn<OperacionArchivo>("operacion");
        QTest::addColumn<int>("codigoErrno");
        QTest::addColumn<int>("numero");
        QTest::newRow("abrir sin permiso") << OperacionArchivo::Abrir << EACCES << 70;
        QTest::newRow("disco lleno al escribir") << OperacionArchivo::Escribir << ENOSPC << 61;
        QTest::newRow("error de e/s al vaciar") << OperacionArchivo::Sincronizar << EIO << 57;
        QTest::newRow("renombrar sin permiso") << OperacionArchivo::Renombrar << EPERM << 70;
    }
    void escrituraAtomica()
    {
        QFETCH(OperacionArchivo, operacion);
        QFETCH(int, codigoErrno);
        QFETCH(int, numero);
        const QString ruta = dir_->filePath(QStringLiteral("t.txt"));
        EscribirBytes(ruta, "anterior\r\n");
        FallosArchivos fallos;
        fallos.programar(operacion, 1, codigoErrno);
        QCOMPARE(NumeroDeError([&] { EscribirArchivoAtomico(ruta, "nuevo\r\n", fallos); }), numero);
        QCOMPARE(LeerBytes(ruta), QByteArray("anterior\r\n"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"t.txt"});
        EscribirArchivoAtomico(ruta, "nuevo\r\n", fallos);
        QCOMPARE(LeerBytes(ruta), QByteArray("nuevo\r\n"));
    }

    // Where the file system cannot make a file without a name, the temporary is named after its process;
    // a later write into the folder removes those whose process is gone, and only those.
    void temporalesDeProcesosMuertos()
    {
        const pid_t muerto = ::fork();
        if (muerto == 0)
            ::_exit(0);
        QCOMPARE(::waitpid(muerto, nullptr, 0), muerto);
        const QString huerfano = QStringLiteral(".velarto-%1-abcdef").arg(muerto);
        const QString vivo = QStringLiteral(".velarto-%1-abcdef").arg(::getpid());
        EscribirBytes(dir_->filePath(huerfano), "x");
        EscribirBytes(dir_->filePath(vivo), "y");
        FallosArchivos sinNombre;
        sinNombre.programar(OperacionArchivo::Abrir, 1, EOPNOTSUPP);
        EscribirArchivoAtomico(dir_->filePath(QStringLiteral("t.txt")), "nuevo", sinNombre);
        QCOMPARE(LeerBytes(dir_->filePath(QStringLiteral("t.txt"))), QByteArray("nuevo"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{vivo, "t.txt"}));
    }

    void escrituraConservaPermisos()
    {
        const QString ruta = dir_->filePath(QStringLiteral("t.txt"));
        EscribirBytes(ruta, "x");
        QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner);
        EscribirArchivoAtomico(ruta, "y");
        const QFile::Permissions permisos = QFile::permissions(ruta);
        QVERIFY(permisos.testFlags(QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(!(permisos & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther)));
    }

    void carpetasYBorrado()
    {
        const QString carpeta = dir_->filePath(QStringLiteral("Traducidos/"));
        CrearCarpeta(carpeta);
        QVERIFY(QFileInfo(carpeta).isDir());
        QCOMPARE(NumeroDeError([&] { CrearCarpeta(carpeta); }), 75);
        QCOMPARE(NumeroDeError([&] { CrearCarpeta(dir_->filePath(QStringLiteral("a/b"))); }), 76);
        // A folder is never deleted as if it were a script.
        QCOMPARE(NumeroDeError([&] { EliminarArchivo(carpeta); }), 53);
        QVERIFY(QFileInfo(carpeta).isDir());
        QCOMPARE(NumeroDeError([&] { EliminarArchivo(dir_->filePath(QStringLiteral("falta.txt"))); }), 53);
        // A link is removed itself; what it points to stays.
        const QString destino = dir_->filePath(QStringLiteral("destino.txt"));
        const QString enlace = dir_->filePath(QStringLiteral("enlace.txt"));
        EscribirBytes(destino, "valioso");
        QVERIFY(QFile::link(destino, enlace));
        EliminarArchivo(enlace);
        QVERIFY(!QFileInfo::exists(enlace));
        QCOMPARE(LeerBytes(destino), QByteArray("valioso"));
    }

private:
    std::optional<QTemporaryDir> dir_;
};

VELARTO_PRUEBA(PruebaTextoArchivo)
#include "tst_texto_archivo.moc"
