// The bookmark through the profile store.
#include "marcador.h"

#include "carpeta_scripts.h"
#include "ini.h"
#include "numeros.h"

namespace {

const QString seccion = CarpetaScripts::seccionMarcador.toString();
const QString claveIndice = QStringLiteral("Indice");
const QString claveArchivo = QStringLiteral("Archivo");
const QString claveLinea = QStringLiteral("Linea");

} // namespace

Marcador LeerMarcador(const QString& carpeta, SistemaArchivos& sistema)
{
    const QStringList valores = LeerClaves(seccion, {claveIndice, claveArchivo, claveLinea},
                                           CarpetaScripts::RutaMarcador(carpeta), sistema);
    Marcador marcador;
    marcador.indice = AEntero16(NumeroInicial(valores[0]));
    marcador.archivo = valores[1];
    bool numero = false;
    const int linea = valores[2].toInt(&numero);
    marcador.linea = numero && linea > 0 ? linea : 0;
    return marcador;
}

void EscribirMarcador(const QString& carpeta, const Marcador& marcador, SistemaArchivos& sistema)
{
    // The name goes in quotes, which the profile store takes off, so that blanks at its ends survive.
    EscribirClaves(seccion,
                   {{claveIndice, QString::number(marcador.indice)},
                    {claveArchivo, u'"' + marcador.archivo + u'"'},
                    {claveLinea, QString::number(marcador.linea)}},
                   CarpetaScripts::RutaMarcador(carpeta), sistema);
}
