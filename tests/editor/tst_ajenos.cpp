// Files that other programs and other editors share with this one, met through the real window: a
// translation rewritten behind the editor's back, drafts of other editors, links, owners, temporaries
// that are not the editor's, a pipe where a draft goes, an unreadable start folder, and counters too
// long for their place. Each case ends with every file on disk as it should be and nothing typed lost.
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <QDirIterator>
#include <QFile>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMenu>
#include <QTest>
#include <QToolTip>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "formato_borrador.h"
#include "lista_archivos.h"
#include "principal.h"
#include "ventana_prueba.h"

using namespace Qt::StringLiterals;

namespace {

enum class Accion { Guardar, MenuYGuardar, Nada };

const QString pregunta = u"La traducción de «a.txt» ha cambiado en el disco desde que se cargó. ¿Desea "
                         "reemplazarla con el texto del editor?"_s;
const QString guardado = u"¡Archivo guardado!"_s;
const QString originales[] = {u"a.txt = Hello\\r\\nBye\\r\\n"_s, u"b.txt = Other\\r\\n"_s};

QString DestinoEnlace(const QString& ruta)
{
    char destino[4096];
    const ssize_t largo = ::readlink(QFile::encodeName(ruta).constData(), destino, sizeof destino);
    return largo < 0 ? QString() : QFile::decodeName(QByteArray(destino, largo));
}

QString Escapar(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).replace(u"\r"_s, u"\\r"_s).replace(u"\n"_s, u"\\n"_s);
}

// Every file under `carpeta` but the folders, sorted: a link with where it leads, a regular file with its
// bytes, its links when it has more than one and its owner when it is not this process's, anything else
// by its kind.
QStringList Estado(const QString& carpeta)
{
    QStringList entradas;
    QDirIterator it(carpeta, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString ruta = it.next();
        struct stat datos
        {
        };
        ::lstat(QFile::encodeName(ruta).constData(), &datos);
        QString entrada = ruta.mid(carpeta.size() + 1);
        if (S_ISDIR(datos.st_mode))
            continue;
        if (S_ISLNK(datos.st_mode)) {
            entrada += u" -> " + DestinoEnlace(ruta);
        } else if (S_ISREG(datos.st_mode)) {
            entrada += u" = " + Escapar(LeerBytes(ruta));
            if (datos.st_nlink > 1)
                entrada += u" [%1 enlaces]"_s.arg(datos.st_nlink);
            if (datos.st_uid != ::geteuid())
                entrada += u" (%1:%2)"_s.arg(datos.st_uid).arg(datos.st_gid);
        } else {
            entrada += u" (no es un archivo normal)"_s;
        }
        entradas.append(entrada);
    }
    entradas.sort();
    return entradas;
}

QStringList Con(const QStringList& traducciones)
{
    QStringList todo = QStringList{originales[0], originales[1]} + traducciones;
    todo.sort();
    return todo;
}

} // namespace

class PruebaAjenos final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void casos_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<Accion>("accion");
        QTest::addColumn<QString>("tecleo");
        QTest::addColumn<QList<Respuesta>>("respuestas");
        QTest::addColumn<QStringList>("mensajes");
        QTest::addColumn<QStringList>("carpeta");
        QTest::addColumn<QString>("borrador");
        QTest::addColumn<QString>("script");
        const QString leida = u"Traducidos/a.txt = Hola\\r\\nAdios\\r\\n"_s;
        const QString nueva = u"Traducidos/a.txt = Ya Hola\\r\\nAdios\\r\\n"_s;
        const QString otra = u"Traducidos/a.txt = Otra\\r\\n"_s;
        const QString tecleado = u"Ya Hola\nAdios"_s;

        QTest::newRow("cambiada por otro programa: No")
            << "cambiada" << Accion::Guardar << "Ya " << QList{Respuesta::No} << QStringList{pregunta}
            << Con({otra}) << tecleado << "a.txt";
        QTest::newRow("cambiada por otro programa: Sí")
            << "cambiada" << Accion::Guardar << "Ya " << QList{Respuesta::Si}
            << QStringList{pregunta, guardado} << Con({nueva}) << QString() << "b.txt";
        QTest::newRow("cambiada, con la caja como se cargó: No")
            << "cambiada" << Accion::Guardar << "" << QList{Respuesta::No} << QStringList{pregunta}
            << Con({otra}) << u"Hola\nAdios"_s << "a.txt";
        QTest::newRow("creada por otro después de cargar: No")
            << "creada" << Accion::Guardar << "Ya " << QList{Respuesta::No} << QStringList{pregunta}
            << Con({otra}) << u"Ya "_s << "a.txt";
        QTest::newRow("tocada sin cambiar sus bytes")
            << "tocada" << Accion::Guardar << "Ya " << QList<Respuesta>() << QStringList{guardado}
            << Con({nueva}) << QString() << "b.txt";
        QTest::newRow("borrador de un editor que ya terminó")
            << "borrador ajeno" << Accion::Guardar << "Ya " << QList<Respuesta>() << QStringList{guardado}
            << Con({nueva}) << u"De otro\nAdios"_s << "b.txt";
        QTest::newRow("tubería en lugar del borrador")
            << "tuberia" << Accion::MenuYGuardar << "Ya " << QList<Respuesta>()
            << QStringList{u"No se puede conservar el texto sin guardar en la carpeta <borradores>: Error de "
                           "acceso a la ruta o el archivo.\nEl editor sigue funcionando, pero lo que no se "
                           "guarde con F12 no se podrá recuperar."_s,
                           guardado}
            << Con({nueva}) << u"(no es un archivo normal)"_s << "b.txt";
        QTest::newRow("enlace a un archivo compartido")
            << "enlace" << Accion::Guardar << "Ya " << QList<Respuesta>() << QStringList{guardado}
            << Con({u"Traducidos/a.txt -> ../compartida/a.txt"_s,
                    u"compartida/a.txt = Ya Hola\\r\\nAdios\\r\\n"_s})
            << QString() << "b.txt";
        QTest::newRow("enlace duro") << "enlace duro" << Accion::Guardar << "Ya " << QList<Respuesta>()
                                     << QStringList{guardado}
                                     << Con({nueva + u" [2 enlaces]",
                                             u"copia.txt = Ya Hola\\r\\nAdios\\r\\n [2 enlaces]"_s})
                                     << QString() << "b.txt";
        QTest::newRow("enlace duro y disco lleno")
            << "enlace duro lleno" << Accion::Guardar << "Ya " << QList<Respuesta>()
            << QStringList{u"61Disco lleno"_s}
            << Con({leida + u" [2 enlaces]", u"copia.txt = Hola\\r\\nAdios\\r\\n [2 enlaces]"_s})
            << u"Hola\nAdios"_s << "a.txt";
        QTest::newRow("traducción de otro usuario")
            << "dueno" << Accion::Guardar << "Ya " << QList<Respuesta>() << QStringList{guardado}
            << Con({nueva + u" (1234:1234)"}) << QString() << "b.txt";
        QTest::newRow("archivos del usuario con nombre de temporal")
            << "temporales" << Accion::Guardar << "Ya " << QList<Respuesta>() << QStringList{guardado}
            << Con({nueva, u"Traducidos/.velarto-999999-abcdef = mis notas"_s}) << QString() << "b.txt";
        QTest::newRow("bucle de enlaces como traducción")
            << "bucle" << Accion::Guardar << "Ya " << QList<Respuesta>()
            << QStringList{u"No se puede abrir «<traduccion>»: no es un archivo normal."_s,
                           u"No se ha guardado el archivo: la traducción que ya existe no se pudo leer "
                           u"(75:Error "
                           "de acceso a la ruta o el archivo)."_s}
            << Con({u"Traducidos/a.txt -> a.txt"_s}) << QString() << "a.txt";
        QTest::newRow("carpeta inicial ilegible")
            << "carpeta ilegible" << Accion::Nada << "" << QList<Respuesta>()
            << QStringList{u"No se puede leer la carpeta «<carpeta>»: Permiso denegado."_s} << Con({leida})
            << QString() << "a.txt";
    }
    void casos()
    {
        QFETCH(QString, caso);
        QFETCH(Accion, accion);
        QFETCH(QString, tecleo);
        QFETCH(QList<Respuesta>, respuestas);
        QFETCH(QStringList, mensajes);
        QFETCH(QStringList, carpeta);
        QFETCH(QString, borrador);
        QFETCH(QString, script);
        if (caso == u"dueno" && ::geteuid() != 0)
            QSKIP("Only root can give a file to another user");
        mensajes.replaceInStrings(u"<traduccion>"_s, Ruta(u"Traducidos/a.txt"));
        mensajes.replaceInStrings(u"<carpeta>"_s, dir_->path());
        mensajes.replaceInStrings(u"<borradores>"_s, datos_->filePath(u"borradores"_s));
        EscribirBytes(Ruta(u"a.txt"), "Hello\r\nBye\r\n");
        EscribirBytes(Ruta(u"b.txt"), "Other\r\n");
        EscribirBytes(Ruta(u"Traducidos/a.txt"), "Hola\r\nAdios\r\n");
        PrepararAntes(caso);
        Abrir();
        PrepararDespues(caso);

        caja_.respuestas = respuestas;
        if (accion != Accion::Nada) {
            // Typed and saved at once, as a translator does: no draft is due in between.
            QTest::keyClicks(ventana_->txtTraducido, tecleo);
            if (accion == Accion::MenuYGuardar) {
                QTest::qWait(200);
                QMenu menu;
                Q_EMIT ventana_->txtTraducido->menuContextual(&menu, QPoint());
                QTest::keyClick(ventana_->txtTraducido, Qt::Key_R, Qt::ControlModifier);
            }
            QTest::keyClick(ventana_->txtTraducido, Qt::Key_F12);
        }

        QTRY_COMPARE(caja_.textos(), mensajes);
        QCOMPARE(Estado(dir_->path()), carpeta);
        QCOMPARE(TextoBorrador(), borrador);
        QCOMPARE(ventana_->File1->nombreArchivo(), script);
        if (script == u"a.txt" && accion != Accion::Nada)
            QCOMPARE(ventana_->txtTraducido->toPlainText().left(tecleo.size()), tecleo);
    }

    // Counters of eight digits are drawn smaller to fit, never cut, and tell their whole number in their
    // tooltip; their texts stay as the monitor wrote them, and the monitor does not wake for any of it.
    void contadores()
    {
        QByteArray original;
        for (int i = 0; i < 110000; ++i)
            original += QByteArray(98, 'a') + "\r\n";
        EscribirBytes(Ruta(u"a.txt"), original);
        EscribirBytes(Ruta(u"Traducidos/a.txt"), "Hola\r\n");
        Abrir();
        // The pair comes in slices; the counters are the monitor's once the whole pair is there.
        QTRY_VERIFY(ventana_->parCargado().completo);
        QTRY_COMPARE(ventana_->lblDisp->text(), u"10779996"_s);
        QTRY_VERIFY(!ventana_->timer->isActive());
        QCOMPARE(ventana_->lblLtlo->text(), u"10780000"_s);
        const QString ayudaOriginal = u"10780000\nOriginal: solo ASCII, CR LF"_s;
        for (const auto& [contador, ayuda] :
             {std::pair{ventana_->lblLtlo, ayudaOriginal}, std::pair{ventana_->lblDisp, u"10779996"_s}}) {
            const QString numero = contador->text();
            const qreal ancho = contador->contentsRect().width();
            QVERIFY2(QFontMetricsF(contador->font()).horizontalAdvance(numero) > ancho, "it would be cut");
            QVERIFY(QFontMetricsF(contador->fuenteVisible()).horizontalAdvance(numero) <= ancho);
            contador->grab();
            QHelpEvent peticion(QEvent::ToolTip, QPoint(2, 2), contador->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(contador, &peticion);
            QTRY_COMPARE(QToolTip::text(), ayuda);
            QCOMPARE(contador->text(), numero);
        }
        QApplication::processEvents();
        QVERIFY(!ventana_->timer->isActive());
        // A number that fits is drawn as it always was.
        QCOMPARE(ventana_->lblLtl->fuenteVisible(), ventana_->lblLtl->font());
    }

private:
    QString ArchivoBorrador() const
    {
        return datos_->filePath(u"borradores/"_s + NombreArchivoBorrador(Ruta(u"Traducidos/a.txt")));
    }

    // The draft of a.txt's translation: its text, "" when there is none.
    QString TextoBorrador() const
    {
        const QString archivo = ArchivoBorrador();
        struct stat datos
        {
        };
        if (::lstat(QFile::encodeName(archivo).constData(), &datos) != 0)
            return QString();
        if (!S_ISREG(datos.st_mode))
            return u"(no es un archivo normal)"_s;
        const std::optional<Borrador> borrador = DecodificarBorrador(LeerBytes(archivo));
        return borrador ? borrador->texto : u"(roto)"_s;
    }

    void PrepararAntes(const QString& caso)
    {
        const QString traduccion = Ruta(u"Traducidos/a.txt");
        if (caso == u"creada") {
            QVERIFY(QFile::remove(traduccion));
        } else if (caso == u"borrador ajeno") {
            // A draft of the first format names no editor: it may be the only copy of someone's typing.
            EscribirBytes(ArchivoBorrador(),
                          CodificarBorrador({ClaveBorrador(traduccion), QDateTime::currentDateTimeUtc(),
                                             u"De otro\nAdios"_s, std::nullopt}));
        } else if (caso == u"tuberia") {
            QVERIFY(QDir().mkpath(datos_->filePath(u"borradores"_s)));
            QCOMPARE(::mkfifo(QFile::encodeName(ArchivoBorrador()).constData(), 0600), 0);
        } else if (caso == u"enlace") {
            EscribirBytes(Ruta(u"compartida/a.txt"), LeerBytes(traduccion));
            QVERIFY(QFile::remove(traduccion));
            QCOMPARE(::symlink("../compartida/a.txt", QFile::encodeName(traduccion).constData()), 0);
        } else if (caso.startsWith(u"enlace duro")) {
            QCOMPARE(::link(QFile::encodeName(traduccion).constData(),
                            QFile::encodeName(Ruta(u"copia.txt")).constData()),
                     0);
        } else if (caso == u"dueno") {
            QCOMPARE(::chown(QFile::encodeName(traduccion).constData(), 1234, 1234), 0);
        } else if (caso == u"temporales") {
            // Both named as earlier editors named theirs, by a process that is gone: the empty one is what
            // such an editor left, the other holds the user's notes.
            EscribirBytes(Ruta(u"Traducidos/.velarto-999999-abcdef"), "mis notas");
            EscribirBytes(Ruta(u"Traducidos/.velarto-999998-ghijkl"), "");
        } else if (caso == u"bucle") {
            QVERIFY(QFile::remove(traduccion));
            QCOMPARE(::symlink("a.txt", QFile::encodeName(traduccion).constData()), 0);
        } else if (caso == u"carpeta ilegible") {
            // Root reads whatever the mode says: the refusal the system would give is made by hand.
            archivos_->programar(OperacionArchivo::Abrir, 1, EACCES);
        }
    }

    void PrepararDespues(const QString& caso)
    {
        const QString traduccion = Ruta(u"Traducidos/a.txt");
        if (caso == u"cambiada" || caso == u"creada") {
            EscribirBytes(traduccion, "Otra\r\n");
        } else if (caso == u"tocada") {
            EscribirBytes(traduccion, LeerBytes(traduccion));
            const utimbuf tiempos{::time(nullptr) + 10, ::time(nullptr) + 10};
            QCOMPARE(::utime(QFile::encodeName(traduccion).constData(), &tiempos), 0);
        } else if (caso == u"enlace duro lleno") {
            archivos_->programar(OperacionArchivo::Escribir, 1, ENOSPC);
        }
    }
};

VELARTO_PRUEBA(PruebaAjenos)
#include "tst_ajenos.moc"
