// The spelling checker over Hunspell.
#include "revisor.h"

#include <hunspell.hxx>

#include <QDir>
#include <QFileInfo>

#include "archivos.h"
#include "errores.h"

namespace {

QStringList LeerPersonales(const QString& ruta)
{
    QByteArray datos;
    try {
        datos = LeerArchivo(ruta);
    } catch (const ErrorEjecucion&) {
        return {}; // no list yet, or one that cannot be read: no personal words
    }
    if (datos.startsWith("\xEF\xBB\xBF"))
        datos.remove(0, 3);
    QStringList palabras;
    for (const QString& linea : QString::fromUtf8(datos).split(u'\n')) {
        const QString palabra = linea.trimmed();
        if (!palabra.isEmpty() && !palabras.contains(palabra))
            palabras.append(palabra);
    }
    return palabras;
}

} // namespace

Revisor::Revisor(QString archivoPersonal, SistemaArchivos& sistema)
    : archivoPersonal_(std::move(archivoPersonal)), sistema_(sistema),
      personales_(LeerPersonales(archivoPersonal_)), aceptadas_(personales_.cbegin(), personales_.cend())
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
    const QString clave = palabra.toString();
    const auto visto = veredictos_.constFind(clave);
    if (visto != veredictos_.cend())
        return *visto;
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
    QByteArray datos;
    for (const QString& anterior : std::as_const(personales_))
        datos += anterior.toUtf8() + '\n';
    datos += palabra.toUtf8() + '\n';
    QDir().mkpath(QFileInfo(archivoPersonal_).absolutePath());
    EscribirArchivoAtomico(archivoPersonal_, datos, sistema_);
    personales_.append(palabra);
    aceptadas_.insert(palabra);
    if (hunspell_)
        hunspell_->add(Codificar(palabra));
    // Hunspell now takes the word's capitalised forms too, whose verdicts are cached as wrong.
    veredictos_.clear();
}

void Revisor::Ignorar(const QString& palabra)
{
    aceptadas_.insert(palabra);
    veredictos_.insert(palabra, true);
}
