#include "Idiomas.h"

#include "Carpetas.h"
#include "Configuracion.h"
#include "TIniFile.h"

#include <memory>

namespace {

std::unique_ptr<TIniFile> FicheroIdiomas;

} // namespace

void Abre_Fichero_Idiomas() {
    FicheroIdiomas = std::make_unique<TIniFile>(Busca_Fichero(QStringLiteral("KALVEX_LANG.INI")));
}

void Libera_Fichero_Idiomas() {
    FicheroIdiomas.reset();
}

QString Texto(const QString& key) {
    if (!FicheroIdiomas) {
        return TEXTO_AUSENTE;
    }
    return FicheroIdiomas->ReadString(Idioma, key, TEXTO_AUSENTE);
}

QStringList Secciones_Idiomas() {
    return FicheroIdiomas ? FicheroIdiomas->ReadSections() : QStringList();
}
