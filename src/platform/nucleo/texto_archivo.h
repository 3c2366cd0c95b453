// The text format of scripts and translations: code page, byte-order mark and line ends, read and
// written so that every file comes back byte for byte.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

enum class Codificacion { Utf8, Windows1252 };
enum class FinLinea { CrLf, Cr, Lf };

struct FormatoTexto
{
    Codificacion codificacion = Codificacion::Utf8;
    bool bom = false;
    FinLinea finLinea = FinLinea::CrLf;
    friend bool operator==(const FormatoTexto&, const FormatoTexto&) = default;
};

// The UTF-8 byte-order mark; kept apart from the first line and written back where a file had it.
inline constexpr QByteArrayView bomUtf8("\xEF\xBB\xBF");

// Stands in a line for a line feed that is an ordinary character (in files whose lines end at CR).
inline constexpr QChar saltoVisible = QChar(0x240A);

// Splits a file's bytes into lines, one at a time, so that a long read can yield between lines.
// A file holding any CR ends its lines at CR LF or a lone CR; a file without CR ends them at LF.
// Valid UTF-8 (with or without a byte-order mark) reads as UTF-8, anything else as Windows-1252.
class LectorLineas
{
public:
    explicit LectorLineas(QByteArray datos);

    const FormatoTexto& formato() const { return formato_; }
    bool fin() const { return posicion_ >= datos_.size(); }
    QString siguiente();

private:
    QByteArray datos_;
    qsizetype posicion_ = 0;
    FormatoTexto formato_;
};

// Reads a whole file as lines; raises the file's run-time error.
QStringList LeerLineas(const QString& ruta, FormatoTexto* formato = nullptr);

// The 0-based index of the first line holding a character the format cannot write, or -1.
qsizetype LineaNoCodificable(const QStringList& lineas, const FormatoTexto& formato);

// The bytes of a file holding these lines, each followed by the format's line end. Lines must be
// codable (see LineaNoCodificable).
QByteArray CodificarLineas(const QStringList& lineas, const FormatoTexto& formato);

// Decodes one line's bytes in a code page, turning ordinary line feeds into `saltoVisible` when
// `saltoEsCaracter` is set.
QString DecodificarLinea(QByteArrayView bytes, Codificacion codificacion, bool saltoEsCaracter);
bool EsUtf8Valido(QByteArrayView bytes);
