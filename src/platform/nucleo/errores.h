// Run-time errors of the editor: a number and its Spanish description, raised where the platform
// meets a failure and caught by the window's handlers.
#pragma once

#include <exception>

#include <QString>

class ErrorEjecucion final : public std::exception
{
public:
    explicit ErrorEjecucion(int numero);
    ErrorEjecucion(int numero, QString descripcion);

    int numero() const noexcept { return numero_; }
    const QString& descripcion() const noexcept { return descripcion_; }
    const char* what() const noexcept override { return textoUtf8_.constData(); }

    // An error that the window shows with a message of its own, instead of its number and description.
    static ErrorEjecucion ConAviso(int numero, QString aviso);

    // How the window shows an error: "53:No se encontró el archivo".
    QString texto() const;
    // What the window tells the user: the error's own message, or else `texto()`.
    QString aviso() const { return aviso_.isEmpty() ? texto() : aviso_; }
    bool tieneAviso() const { return !aviso_.isEmpty(); }
    // How the save handler shows one, the number and the description run together:
    // "61Disco lleno".
    QString textoSinSeparador() const;

    // The description this runtime gives each error number it raises.
    static QString DescripcionDe(int numero);

private:
    int numero_;
    QString descripcion_;
    QString aviso_;
    QByteArray textoUtf8_;
};

// Error numbers raised by the platform layer.
namespace Errores {
inline constexpr int Desbordamiento = 6;
inline constexpr int NombreIncorrecto = 52;
inline constexpr int ArchivoNoEncontrado = 53;
inline constexpr int ErrorES = 57;
inline constexpr int DiscoLleno = 61;
inline constexpr int DispositivoNoDisponible = 68;
inline constexpr int PermisoDenegado = 70;
inline constexpr int ErrorAccesoRuta = 75;
inline constexpr int RutaNoEncontrada = 76;
inline constexpr int ValorPropiedadNoValido = 380;
} // namespace Errores

// Turns an errno value from a failed file operation into the error the editor reports.
// `esCarpeta` tells a missing folder (76) from a missing file (53).
ErrorEjecucion ErrorDeSistema(int codigoErrno, bool esCarpeta = false);
