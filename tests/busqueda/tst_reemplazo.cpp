// Replacing in translations on real files: code pages and line ends kept byte for byte, a character the
// code page cannot hold refused, read-only and draft-holding translations left alone and named, the loaded
// script replaced in its box only, and the undo that restores exactly and refuses a file changed since.
#include <optional>

#include <sys/stat.h>

#include <QTemporaryDir>
#include <QTest>

#include "carpeta_prueba.h"
#include "principal.h"
#include "reemplazo.h"

using namespace Qt::StringLiterals;

class PruebaReemplazo final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        carpeta_ = dir_->path();
    }

    void bytes_data()
    {
        QTest::addColumn<QByteArray>("antes");
        QTest::addColumn<QString>("reemplazo");
        QTest::addColumn<QByteArray>("despues");
        QTest::newRow("utf-8 con bom y crlf") << "\xEF\xBB\xBF"
                                                 "El rey\r\nEl Rey\r\n"_ba
                                              << u"monarca"_s
                                              << "\xEF\xBB\xBF"
                                                 "El monarca\r\nEl monarca\r\n"_ba;
        QTest::newRow("windows-1252 con cr solo")
            << "El a\xF1o del rey\rrey\r"_ba << u"reina"_s << "El a\xF1o del reina\rreina\r"_ba;
        QTest::newRow("lf sin salto final, que un guardado añade")
            << "rey\nrey"_ba << u"reina"_s << "reina\nreina\n"_ba;
        QTest::newRow("utf-16 le") << "\xFF\xFEr\0e\0y\0\r\0\n\0"_ba << u"ñu"_s
                                   << "\xFF\xFE\xF1\0u\0\r\0\n\0"_ba;
        QTest::newRow("un carácter que la página no tiene")
            << "El a\xF1o del rey\r\n"_ba << u"rēy"_s << "El a\xF1o del rey\r\n"_ba;
    }
    void bytes()
    {
        QFETCH(QByteArray, antes);
        QFETCH(QString, reemplazo);
        QFETCH(QByteArray, despues);
        EscribirBytes(Traduccion(u"a.txt"_s), antes);
        const PlanReemplazo plan = Planear({}, reemplazo, {u"a.txt"_s});
        QCOMPARE(plan.cambios.size(), 1);
        const HechoReemplazo hecho = EjecutarReemplazo(plan);
        QCOMPARE(LeerBytes(Traduccion(u"a.txt"_s)), despues);
        if (antes == despues)
            QCOMPARE(hecho.omitidos,
                     (QList<Omitido>{{u"a.txt"_s, u"«ē» no cabe en Europa occidental (Windows-1252)"_s}}));
        QCOMPARE(LeerBytes(Traduccion(u"a.txt"_s)), despues);
        DeshacerReemplazo(hecho);
        QCOMPARE(LeerBytes(Traduccion(u"a.txt"_s)), antes);
    }

    void omitidosYCaja()
    {
        for (const QString& nombre : {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s, u"e.txt"_s})
            EscribirBytes(Traduccion(nombre), ArchivoCrLf({u"el rey y el Rey"_s, u"otro"_s}));
        QVERIFY(::chmod(QFile::encodeName(Traduccion(u"c.txt"_s)).constData(), 0444) == 0);
        const ContextoReemplazo contexto{
            .cargado = u"b.txt"_s, .lineasCaja = {u"rey sin guardar"_s}, .conBorrador = {u"d.txt"_s}};
        const PlanReemplazo plan =
            Planear(contexto, u"reina"_s, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s, u"e.txt"_s});
        QCOMPARE(TextoPregunta(plan), u"¿Reemplazar 5 apariciones en 3 traducciones?"_s);
        QCOMPARE(plan.caja, QStringList{u"reina sin guardar"_s});
        // Another program writes e.txt between the question and the answer.
        EscribirBytes(Traduccion(u"e.txt"_s), ArchivoCrLf({u"el rey, otra vez"_s}));
        const HechoReemplazo hecho = EjecutarReemplazo(plan);
        QCOMPARE(TextoHecho(hecho, plan.aparicionesCaja),
                 u"Se han reemplazado 3 apariciones en 2 traducciones.\n\nSe han dejado como estaban:\n"
                 "«c.txt»: es de solo lectura\n«d.txt»: tiene texto sin guardar\n"
                 "«e.txt»: ha cambiado en el disco desde que se leyó"_s);
        QCOMPARE(LeerBytes(Traduccion(u"a.txt"_s)), ArchivoCrLf({u"el reina y el reina"_s, u"otro"_s}));
        for (const QString& nombre : {u"b.txt"_s, u"c.txt"_s, u"d.txt"_s})
            QCOMPARE(LeerBytes(Traduccion(nombre)), ArchivoCrLf({u"el rey y el Rey"_s, u"otro"_s}));
    }

    void deshacerRehusaCambiados()
    {
        for (const QString& nombre : {u"a.txt"_s, u"b.txt"_s})
            EscribirBytes(Traduccion(nombre), "rey\r\n"_ba);
        const HechoReemplazo hecho = EjecutarReemplazo(Planear({}, u"reina"_s, {u"a.txt"_s, u"b.txt"_s}));
        QCOMPARE(hecho.escritas.size(), 2);
        EscribirBytes(Traduccion(u"b.txt"_s), "reina cambiada\r\n"_ba);
        const HechoDeshacer deshecho = DeshacerReemplazo(hecho);
        QCOMPARE(TextoDeshacer(deshecho),
                 u"Se ha restaurado 1 traducción.\n\nHan cambiado desde el reemplazo y se "
                 "han dejado como están:\n«b.txt»"_s);
        QCOMPARE(LeerBytes(Traduccion(u"a.txt"_s)), "rey\r\n"_ba);
        QCOMPARE(LeerBytes(Traduccion(u"b.txt"_s)), "reina cambiada\r\n"_ba);
        QCOMPARE(deshecho.restauradas.value(0).lineas, QStringList{u"rey"_s});
    }

private:
    QString Traduccion(const QString& nombre) const { return carpeta_ + u"/Traducidos/" + nombre; }

    PlanReemplazo Planear(ContextoReemplazo contexto, const QString& reemplazo, const QStringList& scripts)
    {
        contexto.carpeta = carpeta_;
        return PlanearReemplazo(contexto, {u"rey"_s, Ambito::Traducciones}, reemplazo, scripts);
    }

    std::optional<QTemporaryDir> dir_;
    QString carpeta_;
};

VELARTO_PRUEBA(PruebaReemplazo)
#include "tst_reemplazo.moc"
