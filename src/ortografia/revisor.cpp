// The spelling checker over Hunspell.
#include "revisor.h"

#include <hunspell.hxx>

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>

#include "archivos.h"
#include "errores.h"
#include "texto_archivo.h"

namespace {

// How long an addition waits for another editor's addition to the same list.
constexpr int msEsperaCerrojo = 5000;

// The personal list as it is on disk: its bytes, the code page and line ends they show, and its words.
struct ListaPersonal
{
    QByteArray bytes;
    FormatoTexto formato;
    QStringList palabras;
};

// A missing list is empty, in UTF-8 with LF line ends. One that is there but cannot be read whole raises
// its error: it must never be written over.
ListaPersonal LeerLista(const QString& ruta, SistemaArchivos& sistema)
{
    ListaPersonal lista;
    lista.formato.finLinea = FinLinea::Lf;
    try {
        lista.bytes = LeerArchivo(ruta, sistema);
    } catch (const ErrorEjecucion& error) {
        if (error.numero() == Errores::ArchivoNoEncontrado || error.numero() == Errores::RutaNoEncontrada)
            return lista;
        throw;
    }
    LectorLineas lector(lista.bytes);
    QSet<QString> vistas;
    while (!lector.fin()) {
        for (const QString& parte : lector.siguiente().split(saltoVisible)) {
            const QString palabra = parte.trimmed();
            if (!palabra.isEmpty() && !vistas.contains(palabra)) {
                vistas.insert(palabra);
                lista.palabras.append(palabra);
            }
        }
    }
    lista.formato = lector.formato();
    if (!lista.bytes.contains('\n') && !lista.bytes.contains('\r'))
        lista.formato.finLinea = FinLinea::Lf;
    return lista;
}

QStringList PalabrasAlEmpezar(const QString& ruta, SistemaArchivos& sistema)
{
    try {
        return LeerLista(ruta, sistema).palabras;
    } catch (const ErrorEjecucion&) {
        return {}; // one that cannot be read: no personal words, and it is left as it is
    }
}

// The list's bytes as they are, with `palabra` as a last line in the list's own code page and line ends.
QByteArray ConPalabra(const ListaPersonal& lista, const QString& palabra)
{
    FormatoTexto formato = lista.formato;
    formato.bom = false; // a list that has one keeps it where it is
    if (LineaNoCodificable({palabra}, formato) >= 0)
        throw ErrorEjecucion::ConAviso(
            Errores::ErrorAccesoRuta,
            QStringLiteral(
                "No se puede añadir «%1» al diccionario: no cabe en la codificación de la lista de "
                "palabras personales (%2).")
                .arg(palabra, formato.codificacion.nombreLegible()));
    const auto terminador = [&](FinLinea fin) {
        FormatoTexto conFin = formato;
        conFin.finLinea = fin;
        return CodificarLineas({QString()}, conFin);
    };
    const QByteArray marca = lista.formato.bom ? CodificarLineas({}, lista.formato) : QByteArray();
    const QByteArrayView cuerpo = QByteArrayView(lista.bytes).sliced(marca.size());
    const bool cerrada = cuerpo.isEmpty() || cuerpo.endsWith(terminador(FinLinea::Lf)) ||
                         cuerpo.endsWith(terminador(FinLinea::Cr));
    return lista.bytes + (cerrada ? QByteArray() : terminador(formato.finLinea)) +
           CodificarLineas({palabra}, formato);
}

ErrorEjecucion ErrorDeCerrojo(QLockFile::LockError error)
{
    return ErrorEjecucion(error == QLockFile::PermissionError ? Errores::PermisoDenegado
                                                              : Errores::ErrorAccesoRuta);
}

} // namespace

Revisor::Revisor(QString archivoPersonal, SistemaArchivos& sistema)
    : archivoPersonal_(std::move(archivoPersonal)), sistema_(sistema),
      personales_(PalabrasAlEmpezar(archivoPersonal_, sistema_)),
      aceptadas_(personales_.cbegin(), personales_.cend())
{
}

Revisor::~Revisor() = default;

bool Revisor::Cargar(const Diccionario& diccionario)
{
    // A dictionary that has gone leaves the current one in use.
    const QFileInfo afijos(diccionario.afijos);
    const QFileInfo palabras(diccionario.palabras);
    if (!afijos.isFile() || !afijos.isReadable() || !palabras.isFile() || !palabras.isReadable())
        return false;
    hunspell_.reset();
    veredictos_.clear();
    hunspell_ = std::make_unique<Hunspell>(QFile::encodeName(diccionario.afijos).constData(),
                                           QFile::encodeName(diccionario.palabras).constData());
    const QByteArray codificacion = QByteArray::fromStdString(hunspell_->get_dict_encoding());
    codificador_ = QStringEncoder(codificacion.constData());
    decodificador_ = QStringDecoder(codificacion.constData());
    if (!codificador_.isValid() || !decodificador_.isValid()) {
        codificador_ = QStringEncoder(QStringConverter::Latin1);
        decodificador_ = QStringDecoder(QStringConverter::Latin1);
    }
    codigo_ = diccionario.codigo;
    // Hunspell then also takes the personal words' capitalised forms, as it does its own.
    for (const QString& palabra : std::as_const(personales_))
        hunspell_->add(Codificar(palabra));
    return true;
}

std::string Revisor::Codificar(QStringView palabra, bool* representable)
{
    // Hunspell has no apostrophe of its own: the typographic one is checked as the straight one.
    QString texto = palabra.toString();
    texto.replace(u'\u2019', u'\'');
    const QByteArray codificada = codificador_.encode(texto);
    if (representable)
        *representable = !codificador_.hasError();
    codificador_.resetState();
    return codificada.toStdString();
}

QString Revisor::Decodificar(const std::string& palabra)
{
    const QString texto = decodificador_.decode(QByteArrayView(palabra.data(), qsizetype(palabra.size())));
    decodificador_.resetState();
    return texto;
}

bool Revisor::Correcta(QStringView palabra)
{
    if (!hunspell_)
        return true;
    // Looked up without a copy: almost every word of a script was met before.
    const auto visto = veredictos_.constFind(QString::fromRawData(palabra.data(), palabra.size()));
    if (visto != veredictos_.cend())
        return *visto;
    const QString clave = palabra.toString();
    bool correcta = aceptadas_.contains(clave);
    if (!correcta) {
        bool representable = true;
        const std::string codificada = Codificar(palabra, &representable);
        // A word the dictionary's encoding cannot hold is no word of that language to judge.
        correcta = !representable || hunspell_->spell(codificada);
    }
    veredictos_.insert(clave, correcta);
    return correcta;
}

QStringList Revisor::Sugerencias(const QString& palabra, int maximo)
{
    QStringList sugerencias;
    if (!hunspell_)
        return sugerencias;
    for (const std::string& sugerencia : hunspell_->suggest(Codificar(palabra))) {
        if (sugerencias.size() >= maximo)
            break;
        sugerencias.append(Decodificar(sugerencia));
    }
    return sugerencias;
}

void Revisor::Anadir(const QString& palabra)
{
    if (palabra.isEmpty() || personales_.contains(palabra)) {
        Ignorar(palabra);
        return;
    }
    QDir().mkpath(QFileInfo(archivoPersonal_).absolutePath());
    // Another editor may add a word at the same moment: the list is read, added to and written under
    // one lock, so that neither word is lost.
    QLockFile cerrojo(archivoPersonal_ + u".lock");
    if (!cerrojo.tryLock(msEsperaCerrojo))
        throw ErrorDeCerrojo(cerrojo.error());
    ListaPersonal lista = LeerLista(archivoPersonal_, sistema_);
    if (!lista.palabras.contains(palabra)) {
        EscribirArchivoAtomico(archivoPersonal_, ConPalabra(lista, palabra), sistema_);
        lista.palabras.append(palabra);
    }
    Adoptar(lista.palabras);
}

// Takes every word of the list on disk, the other editors' additions included.
void Revisor::Adoptar(const QStringList& palabras)
{
    for (const QString& palabra : palabras) {
        if (personales_.contains(palabra))
            continue;
        personales_.append(palabra);
        aceptadas_.insert(palabra);
        if (hunspell_)
            hunspell_->add(Codificar(palabra));
    }
    // Hunspell now takes the words' capitalised forms too, whose verdicts are cached as wrong.
    veredictos_.clear();
}

void Revisor::Ignorar(const QString& palabra)
{
    aceptadas_.insert(palabra);
    veredictos_.insert(palabra, true);
}
