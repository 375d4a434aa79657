#include "Presenta_Registro.h"

#include "Idiomas.h"

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

TTextos_Registro::TTextos_Registro()
    : nunca_(Texto(QStringLiteral("GEN_MEN078"))), si_(Texto(QStringLiteral("GEN_MEN095"))),
      no_(Texto(QStringLiteral("GEN_MEN096"))) {}

const QString& TTextos_Registro::Modelo(int referencia) {
    auto hallado = modelos_.find(referencia);
    if (hallado == modelos_.end()) {
        const QString ref = QString::number(referencia);
        const QString nombre = Texto(QStringLiteral("List_") + ref);
        hallado = modelos_.insert(
            referencia, nombre == TEXTO_AUSENTE ? ref : ref + QStringLiteral(" - ") + nombre);
    }
    return *hallado;
}

QString TTextos_Registro::Modelo(int referencia, const QList<int>& posibles) {
    if (referencia != 0 || posibles.isEmpty())
        return Modelo(referencia);
    return Referencias(referencia, posibles, redaccion_);
}

QString TTextos_Registro::Tipo(TEvento_Registro::TTipo tipo) const {
    using T = TEvento_Registro::TTipo;
    return redaccion_.Texto_De(tipo == T::Lectura     ? QStringLiteral("GEN_MEN084")
                               : tipo == T::Grabacion ? QStringLiteral("GEN_MEN085")
                                                      : QStringLiteral("Reg_Survey"));
}

QString TTextos_Registro::Fallo(TFallo_Sondeo fallo) const {
    return redaccion_.Texto_De(fallo == TFallo_Sondeo::Sin_Lectura ? QStringLiteral("Reg_NoReadOut")
                               : fallo == TFallo_Sondeo::Incompleta
                                   ? QStringLiteral("Reg_Incomplete")
                                   : QStringLiteral("Reg_OtherId"));
}

QString TTextos_Registro::Momento(const QDateTime& momento) const {
    return momento.isValid() ? Momento_Iso(momento) : nunca_;
}

QString Referencias(int referencia, const QList<int>& posibles, const TRedaccion& redaccion) {
    if (referencia != 0 || posibles.isEmpty())
        return QString::number(referencia);
    QStringList modelos;
    for (int posible : posibles)
        modelos << QString::number(posible);
    const QString ultimo = modelos.takeLast();
    return modelos.isEmpty() ? ultimo
                             : redaccion.Texto_De(QStringLiteral("Reg_Or"))
                                   .arg(modelos.join(QStringLiteral(", ")), ultimo);
}

QString Valores_En_Corto(const QList<TValor_Registro>& valores, const TTextos_Registro& textos) {
    return En_Corto_De(valores, QStringLiteral("; "), [&textos](const TValor_Registro& v) {
        return textos.Frase(v.Lugar) + QStringLiteral(": ") + textos.Frase(v.Texto);
    });
}
