#include "Idiomas.h"

#include "Carpetas.h"
#include "Configuracion.h"
#include "TIniFile.h"

#include <memory>
#include <set>

namespace {

std::unique_ptr<TIniFile> FicheroIdiomas;
std::set<QString> Ausentes;

} // namespace

void Abre_Fichero_Idiomas() {
    FicheroIdiomas = std::make_unique<TIniFile>(Busca_Fichero(QStringLiteral("KALVEX_LANG.INI")));
    Ausentes.clear();
}

void Libera_Fichero_Idiomas() {
    FicheroIdiomas.reset();
}

QString Texto(const QString& key) {
    const QString texto =
        FicheroIdiomas ? FicheroIdiomas->ReadString(Idioma, key, TEXTO_AUSENTE) : TEXTO_AUSENTE;
    if (texto == TEXTO_AUSENTE)
        Ausentes.insert(key);
    return texto;
}

QString Texto_En(const QString& seccion, const QString& key) {
    return FicheroIdiomas ? FicheroIdiomas->ReadString(seccion, key, TEXTO_AUSENTE) : TEXTO_AUSENTE;
}

TIdioma_Temporal::TIdioma_Temporal(const QString& idioma) : antes_(Idioma) {
    Idioma = idioma;
}

TIdioma_Temporal::~TIdioma_Temporal() {
    Idioma = antes_;
}

QStringList Secciones_Idiomas() {
    return FicheroIdiomas ? FicheroIdiomas->ReadSections() : QStringList();
}

QStringList Textos_Ausentes() {
    return QStringList(Ausentes.begin(), Ausentes.end());
}
