// Run-time errors and their Spanish descriptions.
#include "errores.h"

#include <cerrno>

ErrorEjecucion::ErrorEjecucion(int numero) : ErrorEjecucion(numero, DescripcionDe(numero)) {}

ErrorEjecucion::ErrorEjecucion(int numero, QString descripcion)
    : numero_(numero), descripcion_(std::move(descripcion)), textoUtf8_(texto().toUtf8())
{
}

QString ErrorEjecucion::DescripcionDe(int numero)
{
    switch (numero) {
    case Errores::Desbordamiento:
        return QStringLiteral("Desbordamiento");
    case Errores::NombreIncorrecto:
        return QStringLiteral("Nombre o número de archivo incorrecto");
    case Errores::ArchivoNoEncontrado:
        return QStringLiteral("No se encontró el archivo");
    case Errores::ErrorES:
        return QStringLiteral("Error de E/S en el dispositivo");
    case Errores::DiscoLleno:
        return QStringLiteral("Disco lleno");
    case Errores::DispositivoNoDisponible:
        return QStringLiteral("Dispositivo no disponible");
    case Errores::PermisoDenegado:
        return QStringLiteral("Permiso denegado");
    case Errores::ErrorAccesoRuta:
        return QStringLiteral("Error de acceso a la ruta o el archivo");
    case Errores::RutaNoEncontrada:
        return QStringLiteral("No se encontró la ruta de acceso");
    case Errores::ValorPropiedadNoValido:
        return QStringLiteral("Valor de la propiedad no válido");
    default:
        return QStringLiteral("Error definido por la aplicación o por el objeto");
    }
}

ErrorEjecucion ErrorDeSistema(int codigoErrno, bool esCarpeta)
{
    switch (codigoErrno) {
    case ENOENT:
        return ErrorEjecucion(esCarpeta ? Errores::RutaNoEncontrada : Errores::ArchivoNoEncontrado);
    case ENOTDIR:
        return ErrorEjecucion(Errores::RutaNoEncontrada);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return ErrorEjecucion(Errores::PermisoDenegado);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ErrorEjecucion(Errores::DiscoLleno);
    case ENAMETOOLONG:
    case EINVAL:
        return ErrorEjecucion(Errores::NombreIncorrecto);
    case EEXIST:
    case EISDIR:
    case ENOTEMPTY:
        return ErrorEjecucion(Errores::ErrorAccesoRuta);
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
        return ErrorEjecucion(Errores::DispositivoNoDisponible);
    default:
        return ErrorEjecucion(Errores::ErrorES);
    }
}

ErrorEjecucion ErrorEjecucion::ConAviso(int numero, QString aviso)
{
    ErrorEjecucion error(numero);
    error.aviso_ = std::move(aviso);
    return error;
}

QString ErrorEjecucion::texto() const
{
    return QString::number(numero_) + u':' + descripcion_;
}

QString ErrorEjecucion::textoSinSeparador() const
{
    return QString::number(numero_) + descripcion_;
}
