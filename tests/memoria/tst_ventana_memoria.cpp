// The window "Memoria de traducción" on its own: the matches with what differs highlighted, the
// several-ways notice, progress and reasons, and a click on a match.
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>

#include "principal.h"
#include "ventana_memoria.h"

using namespace Qt::StringLiterals;

namespace {

const QString propia = u"/juego/Capitulo2"_s;

ResultadoConsulta Resultado()
{
    ResultadoConsulta r;
    r.original = u"Open the blue door."_s;
    r.coincidencias = {
        {99, u"Open the red door."_s, u"Abre la puerta roja."_s, {propia, u"b.txt"_s, 2}, 2, {{9, 3}}},
        {75,
         u"Close the blue door."_s,
         u"Cierra la puerta azul."_s,
         {u"/juego/Capitulo1"_s, u"uno.txt"_s, 0},
         1,
         {{0, 5}}}};
    return r;
}

} // namespace

class PruebaVentanaMemoria final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        ventana_.emplace();
        ventana_->setCarpeta(propia);
    }
    void cleanup()
    {
        ventana_.reset();
        ComprobarSinVentanas();
    }

    void coincidencias()
    {
        ventana_->mostrar(Resultado());
        QCOMPARE(ventana_->windowTitle(), u"Memoria de traducción"_s);
        const QString texto = ventana_->coincidencias()->toPlainText();
        for (const QString& parte :
             {u"Ctrl+1"_s, u"99 %"_s, u"Abre la puerta roja."_s, u"b.txt, línea 3 (2 líneas en total)"_s,
              u"Ctrl+2"_s, u"Capitulo1/uno.txt, línea 1"_s})
            QVERIFY2(texto.contains(parte), qPrintable(parte));
        // Only what differs from the caret's original has a background.
        QTextDocument* documento = ventana_->coincidencias()->document();
        const auto fondo = [&](const QString& palabra) {
            QTextCursor cursor = documento->find(palabra);
            cursor.setPosition(cursor.selectionStart() + 1);
            return cursor.charFormat().background().color().name();
        };
        QCOMPARE(fondo(u"red"_s), u"#ffd970"_s);
        QVERIFY(fondo(u"door"_s) != u"#ffd970"_s);

        ventana_->mostrar({});
        QCOMPARE(ventana_->coincidencias()->toPlainText(), u"Ninguna coincidencia desde el 70 %."_s);
    }

    void maneras()
    {
        ResultadoConsulta r = Resultado();
        r.maneras = {{u"Sí."_s, 5, {}, {{propia, u"a.txt"_s, 0}, {propia, u"c.txt"_s, 4}}},
                     {u"Vale."_s, 1, {}, {{u"/juego/Capitulo1"_s, u"uno.txt"_s, 6}}}};
        ventana_->mostrar(r);
        QVERIFY(!ventana_->aviso()->isHidden());
        QVERIFY(
            ventana_->aviso()->text().startsWith(u"<b>Traducido de 2 maneras distintas en la carpeta</b>"));
        QVERIFY(ventana_->aviso()->text().contains(u"«Sí.»: 5 líneas (a.txt, línea 1; c.txt, línea 5…)"));
        QVERIFY(ventana_->aviso()->text().contains(u"«Vale.»: 1 línea (Capitulo1/uno.txt, línea 7)"));
        r.maneras.removeLast();
        ventana_->mostrar(r);
        QVERIFY(ventana_->aviso()->isHidden());
    }

    void estado()
    {
        ventana_->mostrarProgreso(412, 1023);
        ventana_->mostrarNoDisponible(
            u"La memoria de la carpeta «/x» no está disponible: la carpeta no existe."_s);
        ventana_->mostrarNoDisponible(
            u"La memoria de la carpeta «/x» no está disponible: la carpeta no existe."_s);
        QCOMPARE(ventana_->estado()->text(),
                 u"Preparando la memoria: 412 de 1.023 scripts\n"
                 u"La memoria de la carpeta «/x» no está disponible: la carpeta no existe."_s);
        ventana_->mostrarProgreso(1023, 1023);
        ventana_->olvidarNoDisponible();
        QVERIFY(ventana_->estado()->isHidden());
    }

    void elegida()
    {
        ventana_->mostrar(Resultado());
        QSignalSpy elegidas(&*ventana_, &VentanaMemoria::elegida);
        Q_EMIT ventana_->coincidencias()->anchorClicked(QUrl(u"#1"_s));
        QCOMPARE(elegidas.value(0), QVariantList{1});
    }

private:
    std::optional<VentanaMemoria> ventana_;
};

VELARTO_PRUEBA(PruebaVentanaMemoria)
#include "tst_ventana_memoria.moc"
