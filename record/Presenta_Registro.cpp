#include "Presenta_Registro.h"

#include "Idiomas.h"

#include <QDir>
#include <QStringList>

namespace {

// Enough to tell decoders apart in a list row; the full list is one click away.
constexpr int En_Corto = 4;

template <typename T, typename Texto_De>
QString En_Corto_De(const QList<T>& lista, const QString& separador, Texto_De texto_de) {
    QStringList partes;
    for (qsizetype i = 0; i < lista.size() && i < En_Corto; ++i)
        partes << texto_de(lista[i]);
    if (lista.size() > En_Corto)
        partes << QStringLiteral("\u2026");
    return partes.join(separador);
}

} // namespace

QString Nombre_Modelo(int referencia) {
    const QString ref = QString::number(referencia);
    const QString nombre = Texto(QStringLiteral("List_") + ref);
    return nombre == TEXTO_AUSENTE ? ref : ref + QStringLiteral(" - ") + nombre;
}

QString Momento_Iso(const QDateTime& momento) {
    return momento.isValid() ? momento.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                             : QString();
}

QString Texto_Momento(const QDateTime& momento) {
    return momento.isValid() ? Momento_Iso(momento) : Texto(QStringLiteral("GEN_MEN078"));
}

QString Texto_Si_No(bool si) {
    return Texto(si ? QStringLiteral("GEN_MEN095") : QStringLiteral("GEN_MEN096"));
}

QString Codigos_En_Corto(const QList<TCodigo_Registro>& codigos) {
    return En_Corto_De(codigos, QStringLiteral(", "),
                       [](const TCodigo_Registro& c) { return c.Texto; });
}

QString Valores_En_Corto(const QList<TValor_Registro>& valores) {
    return En_Corto_De(valores, QStringLiteral("; "), [](const TValor_Registro& v) {
        return v.Lugar + QStringLiteral(": ") + v.Texto;
    });
}

QString Aviso_Escritura(const QString& fichero, const QString& causa) {
    return Texto(QStringLiteral("GEN_MEN099")).arg(QDir::toNativeSeparators(fichero), causa);
}
