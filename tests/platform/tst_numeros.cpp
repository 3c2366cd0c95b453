// Number conversions and run-time error descriptions.
#include <QTest>

#include "errores.h"
#include "numeros.h"
#include "principal.h"

class PruebaNumeros final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numeroInicial_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("esperado");
        QTest::newRow("vacío") << QString() << 0.0;
        QTest::newRow("entero") << QStringLiteral("42") << 42.0;
        QTest::newRow("blancos delante") << QStringLiteral("  \t 17") << 17.0;
        QTest::newRow("negativo") << QStringLiteral("-1") << -1.0;
        QTest::newRow("signo más") << QStringLiteral("+8") << 8.0;
        QTest::newRow("decimal") << QStringLiteral("2.5") << 2.5;
        QTest::newRow("punto inicial") << QStringLiteral(".5x") << 0.5;
        QTest::newRow("texto detrás") << QStringLiteral("12abc") << 12.0;
        QTest::newRow("blanco en medio corta") << QStringLiteral("12 34") << 12.0;
        QTest::newRow("exponente") << QStringLiteral("1e3") << 1000.0;
        QTest::newRow("exponente sin cifras") << QStringLiteral("7e") << 7.0;
        QTest::newRow("sin cifras") << QStringLiteral("abc") << 0.0;
        QTest::newRow("solo signo") << QStringLiteral("-") << 0.0;
        QTest::newRow("coma no es decimal") << QStringLiteral("3,7") << 3.0;
        QTest::newRow("demasiado grande") << QStringLiteral("1e999") << HUGE_VAL;
        QTest::newRow("demasiado grande negativo") << QStringLiteral("-1e999") << -HUGE_VAL;
        QTest::newRow("demasiado pequeño") << QStringLiteral("1e-999") << 0.0;
    }
    void numeroInicial()
    {
        QFETCH(QString, texto);
        QFETCH(double, esperado);
        QCOMPARE(NumeroInicial(texto), esperado);
    }

    void entero16_data()
    {
        QTest::addColumn<double>("valor");
        QTest::addColumn<int>("esperado");
        QTest::newRow("cero") << 0.0 << 0;
        QTest::newRow("mitad a par abajo") << 2.5 << 2;
        QTest::newRow("mitad a par arriba") << 3.5 << 4;
        QTest::newRow("mitad negativa") << -2.5 << -2;
        QTest::newRow("redondeo normal") << 2.6 << 3;
        QTest::newRow("máximo") << 32767.0 << 32767;
        QTest::newRow("mínimo") << -32768.0 << -32768;
        QTest::newRow("mínimo por redondeo") << -32768.5 << -32768;
        QTest::newRow("máximo por redondeo") << 32767.4 << 32767;
    }
    void entero16()
    {
        QFETCH(double, valor);
        QFETCH(int, esperado);
        QCOMPARE(int(AEntero16(valor)), esperado);
    }

    void entero16Desborda_data()
    {
        QTest::addColumn<double>("valor");
        QTest::newRow("32767.5 redondea a 32768") << 32767.5;
        QTest::newRow("32768") << 32768.0;
        QTest::newRow("-32769") << -32769.0;
        QTest::newRow("infinito") << HUGE_VAL;
        QTest::newRow("no es número") << std::nan("");
    }
    void entero16Desborda()
    {
        QFETCH(double, valor);
        try {
            AEntero16(valor);
            QFAIL("no overflow raised");
        } catch (const ErrorEjecucion& e) {
            QCOMPARE(e.numero(), 6);
            QCOMPARE(e.descripcion(), QStringLiteral("Desbordamiento"));
        }
    }

    void descripciones()
    {
        const QList<std::pair<int, const char*>> esperadas{{6, "Desbordamiento"},
                                                           {52, "Nombre o número de archivo incorrecto"},
                                                           {53, "No se encontró el archivo"},
                                                           {57, "Error de E/S en el dispositivo"},
                                                           {61, "Disco lleno"},
                                                           {68, "Dispositivo no disponible"},
                                                           {70, "Permiso denegado"},
                                                           {75, "Error de acceso a la ruta o el archivo"},
                                                           {76, "No se encontró la ruta de acceso"},
                                                           {380, "Valor de la propiedad no válido"}};
        for (const auto& [numero, texto] : esperadas)
            QCOMPARE(ErrorEjecucion(numero).descripcion(), QString::fromUtf8(texto));
    }
};

VELARTO_PRUEBA(PruebaNumeros)
#include "tst_numeros.moc"
