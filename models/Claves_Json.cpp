#include "Claves_Json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <vector>

namespace {

// An object or a list still open, and for an object the names it has had so far.
struct TNivel {
    bool objeto = false;
    bool espera_nombre = false;
    QSet<QString> nombres;
};

// The string whose opening quote is at texto[inicio]; fin is left past its closing quote.
QString Cadena(const QByteArray& texto, qsizetype inicio, qsizetype& fin) {
    bool escapes = false;
    qsizetype i = inicio + 1;
    while (i < texto.size() && texto[i] != '"') {
        if (texto[i] == '\\') {
            escapes = true;
            ++i;
        }
        ++i;
    }
    fin = i + 1;
    const QByteArray cruda = texto.mid(inicio, fin - inicio);
    if (!escapes)
        return QString::fromUtf8(cruda.mid(1, cruda.size() - 2));
    // "n\u0065w" is "new" to the reader: it decodes the escapes the way it decodes names.
    return QJsonDocument::fromJson('[' + cruda + ']').array().at(0).toString();
}

} // namespace

bool Clave_Repetida(const QByteArray& texto, QString& clave) {
    std::vector<TNivel> niveles;
    for (qsizetype i = 0; i < texto.size();) {
        const char c = texto[i];
        if (c == '"') {
            qsizetype fin = i;
            const QString cadena = Cadena(texto, i, fin);
            if (!niveles.empty() && niveles.back().espera_nombre) {
                TNivel& nivel = niveles.back();
                if (nivel.nombres.contains(cadena)) {
                    clave = cadena;
                    return true;
                }
                nivel.nombres.insert(cadena);
                nivel.espera_nombre = false;
            }
            i = fin;
            continue;
        }
        if (c == '{' || c == '[')
            niveles.push_back({c == '{', c == '{', {}});
        else if ((c == '}' || c == ']') && !niveles.empty())
            niveles.pop_back();
        else if (c == ',' && !niveles.empty() && niveles.back().objeto)
            niveles.back().espera_nombre = true;
        ++i;
    }
    return false;
}
