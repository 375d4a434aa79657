#include "Aviso_Escritura.h"

#include "Idiomas.h"

#include <QDir>

QString Aviso_Escritura(const QString& fichero, const QString& causa) {
    return Texto(QStringLiteral("GEN_MEN099")).arg(QDir::toNativeSeparators(fichero), causa);
}
