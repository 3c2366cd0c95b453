// The text format of scripts and translations: code page, byte-order mark and line ends, read and
// written so that every file comes back byte for byte.
#pragma once

#include <optional>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringEncoder>
#include <QStringList>

#include "sistema_archivos.h"

// One of the code pages the editor reads and writes. Every one of them round-trips byte for byte: a
// file is only taken to be in a code page when its bytes decode without error and encode back the same.
class Codificacion
{
public:
    // UTF-8.
    constexpr Codificacion() = default;

    static const Codificacion Utf8;
    static const Codificacion Utf16Le;
    static const Codificacion Utf16Be;
    static const Codificacion Windows1252;
    static const Codificacion ShiftJis;
    static const Codificacion EucJp;
    static const Codificacion Gb18030;
    static const Codificacion Big5;
    static const Codificacion EucKr;
    static const Codificacion Windows1251;

    // Every supported code page, in the order the menus list them.
    static QList<Codificacion> Todas();
    // The code page of an IANA name or alias as ICU knows it ("windows-1251", "shift_jis", "cp932"),
    // matched without regard to case; nothing for an unsupported name.
    static std::optional<Codificacion> PorNombre(QStringView nombre);

    // The IANA name as ICU knows it, as the bookmark file keeps it: "Shift_JIS", "windows-1251", "UTF-8".
    QString nombre() const;
    // The name the menus and tooltips show: "Japonés (Shift-JIS)".
    QString nombreLegible() const;
    bool esUtf16() const { return *this == Utf16Le || *this == Utf16Be; }
    // Whether the code page can write every character (UTF-8, UTF-16, GB18030).
    bool esUnicode() const;

    friend bool operator==(Codificacion, Codificacion) = default;

private:
    constexpr explicit Codificacion(int indice) : indice_(indice) {}
    int indice_ = 0;
};

inline constexpr Codificacion Codificacion::Utf8{0};
inline constexpr Codificacion Codificacion::Utf16Le{1};
inline constexpr Codificacion Codificacion::Utf16Be{2};
inline constexpr Codificacion Codificacion::Windows1252{3};
inline constexpr Codificacion Codificacion::Windows1251{6};
inline constexpr Codificacion Codificacion::ShiftJis{11};
inline constexpr Codificacion Codificacion::EucJp{12};
inline constexpr Codificacion Codificacion::Gb18030{13};
inline constexpr Codificacion Codificacion::Big5{14};
inline constexpr Codificacion Codificacion::EucKr{15};

enum class FinLinea { CrLf, Cr, Lf };

struct FormatoTexto
{
    Codificacion codificacion = Codificacion::Utf8;
    // The file opens with the code page's byte-order mark (UTF-8 or UTF-16).
    bool bom = false;
    FinLinea finLinea = FinLinea::CrLf;
    // The file itself shows its code page: a byte-order mark or a byte above 127. Without either, every
    // ASCII-compatible code page reads it the same and its code page is unknown.
    bool evidencia = false;
    friend bool operator==(const FormatoTexto&, const FormatoTexto&) = default;
};

// The UTF-8 byte-order mark; kept apart from the first line and written back where a file had it.
inline constexpr QByteArrayView bomUtf8("\xEF\xBB\xBF");

// Stands in a line for a line feed that is an ordinary character (in files whose lines end at CR).
inline constexpr QChar saltoVisible = QChar(0x240A);

// Splits a file's bytes into lines, one at a time, so that a long read can yield between lines.
// A file holding any CR ends its lines at CR LF or a lone CR; a file without CR ends them at LF.
// The code page is the first that applies: a byte-order mark (UTF-8, UTF-16 LE or BE); valid UTF-8
// holding a byte above 127; `eleccion` (the folder's choice); a multi-byte East Asian code page that
// uchardet names and that decodes the whole file; Windows-1252, which reads any bytes. UTF-16 is read only
// by its mark: without one it cannot be told from bytes, and a choice of it would turn any ASCII script
// into nonsense; a choice of UTF-16 decides how new translations are written.
class LectorLineas
{
public:
    explicit LectorLineas(QByteArray datos, std::optional<Codificacion> eleccion = {});

    const FormatoTexto& formato() const { return formato_; }
    bool fin() const;
    QString siguiente();

private:
    QByteArray datos_;
    // The whole file decoded, for code pages that are decoded through ICU; empty otherwise.
    QString texto_;
    bool decodificado_ = false;
    qsizetype posicion_ = 0;
    FormatoTexto formato_;
};

// Reads a whole file as lines; raises the file's run-time error.
QStringList LeerLineas(const QString& ruta, FormatoTexto* formato = nullptr,
                       std::optional<Codificacion> eleccion = {});

// How much of a file CodificacionMostrada judges, from the line of its first byte above 127 on.
inline constexpr qsizetype muestraCodificacion = 64 * 1024;

// The code page a file shows, as LectorLineas (with the same `eleccion`) finds it, judged from whole lines
// from the one holding the file's first byte above 127 (a byte-order mark is such a byte), at most
// `muestraCodificacion` bytes of them; nothing for a file that shows none (ASCII only). Reads no further
// than that sample, and keeps no more of the file than it; raises the file's run-time error.
std::optional<Codificacion> CodificacionMostrada(const QString& ruta,
                                                 std::optional<Codificacion> eleccion = {},
                                                 SistemaArchivos& sistema = SistemaReal());

// The functions below take a text's lines as views, so that a long text is checked and written from
// where it is held (a list of lines, or one text split at its line breaks) without a copy of each line.
// Views of a list's lines; the list must outlive them.
QList<QStringView> VistasDe(const QStringList& lineas);

// The 0-based index of the first line holding a character the format cannot write, or -1.
qsizetype LineaNoCodificable(const QList<QStringView>& lineas, const FormatoTexto& formato);
// The index, in line `linea` of `lineas`, of the first character the format cannot write there (a
// surrogate pair's first half for a character beyond U+FFFF), or -1 when it can write the whole line.
qsizetype CaracterNoCodificable(const QList<QStringView>& lineas, qsizetype linea,
                                const FormatoTexto& formato);

// Tells one character at a time whether a code page can write it, remembering the answer for every
// character it has met: a script's text repeats the same few characters, so the code page's converter
// runs once for each.
class ProbadorCodificacion final
{
public:
    explicit ProbadorCodificacion(Codificacion codificacion) : codificacion_(codificacion) {}

    Codificacion codificacion() const { return codificacion_; }
    // The index of the first character of `linea` at or after `desde` that the code page cannot write,
    // or -1. A surrogate pair is one character; a lone surrogate is never codable.
    qsizetype noCodificable(QStringView linea, qsizetype desde = 0);

private:
    bool Puede(char32_t caracter);

    Codificacion codificacion_;
    QHash<char32_t, bool> conocidos_;
};

// The bytes of a file holding these lines, each followed by the format's line end. Lines must be
// codable (see LineaNoCodificable).
QByteArray CodificarLineas(const QList<QStringView>& lineas, const FormatoTexto& formato);

// CodificarLineas's bytes a stretch of lines at a time, each stretch written over the last one's buffer:
// a long translation is saved without all its bytes held at once. The lines must outlive it.
class CodificacionPorTramos final
{
public:
    // A stretch takes lines until it holds `caracteresPorTramo` characters, and at least one line.
    CodificacionPorTramos(const QList<QStringView>& lineas, const FormatoTexto& formato,
                          qsizetype caracteresPorTramo = qsizetype(1) << 18);
    CodificacionPorTramos(const CodificacionPorTramos&) = delete;
    CodificacionPorTramos& operator=(const CodificacionPorTramos&) = delete;

    // Puts the next stretch in `tramo`, over its buffer; false once every line has been given. The
    // first stretch holds the byte-order mark, even with no lines.
    bool Siguiente(QByteArray& tramo);
    // Whether a byte above 127 has been given so far.
    bool byteAlto() const { return byteAlto_; }

private:
    char* CodificarLinea(char* destino, QStringView linea);

    const QList<QStringView>& lineas_;
    const qsizetype caracteresPorTramo_;
    const bool enWindows1252_;
    const bool conSalto_;
    // Stateless, so each stretch is encoded on its own.
    QStringEncoder codificador_;
    const QByteArray terminador_;
    const QByteArrayView marca_;
    qsizetype siguiente_ = 0;
    bool empezada_ = false;
    bool byteAlto_ = false;
};

// How many bytes a codable line takes in a format, without its line end.
qsizetype BytesLinea(const QString& linea, const FormatoTexto& formato);

// Decodes one line's bytes in an ASCII-compatible code page, turning ordinary line feeds into
// `saltoVisible` when `saltoEsCaracter` is set.
QString DecodificarLinea(QByteArrayView bytes, Codificacion codificacion, bool saltoEsCaracter);
bool EsUtf8Valido(QByteArrayView bytes);
// Whether any byte is above 127.
bool TieneByteAlto(QByteArrayView bytes);

// "CR LF", "CR" or "LF".
QString NombreFinLinea(FinLinea fin);
