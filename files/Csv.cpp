#include "Csv.h"

#include <algorithm>

namespace {

// Characters that make a spreadsheet evaluate a cell; tab and carriage return do too in some.
bool Parece_Formula(const QString& campo) {
    static const QString inicios = QStringLiteral("=+-@\t\r");
    return !campo.isEmpty() && inicios.contains(campo.front());
}

QString Campo(QString campo) {
    if (Parece_Formula(campo))
        campo.prepend(QLatin1Char('\''));
    static const QString especiales = QStringLiteral(",\"\r\n");
    if (std::any_of(campo.cbegin(), campo.cend(), [](QChar c) { return especiales.contains(c); })) {
        campo.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        campo = QLatin1Char('"') + campo + QLatin1Char('"');
    }
    return campo;
}

} // namespace

QString Linea_Csv(const QStringList& campos) {
    QStringList citados;
    citados.reserve(campos.size());
    for (const QString& c : campos)
        citados << Campo(c);
    return citados.join(QLatin1Char(','));
}

QByteArray Fichero_Csv(const QList<QStringList>& filas) {
    QString texto;
    for (const QStringList& fila : filas)
        texto += Linea_Csv(fila) + QStringLiteral("\r\n");
    return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}
