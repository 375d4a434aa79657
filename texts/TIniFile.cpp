#include "TIniFile.h"

#include "Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>
#include <vector>

namespace {

enum class Tipo { Otra, Seccion, Clave };

// One line of the file, as offsets into its bytes.
struct Linea {
    Tipo tipo = Tipo::Otra;
    QByteArray nombre;       // section or key name, trimmed, still Windows-1252
    qsizetype valor = 0;     // first byte of the value (after '=' and its blanks)
    qsizetype fin = 0;       // end of the line's text, before its line break
    qsizetype siguiente = 0; // start of the next line
};

bool Es_Blanco(char c) {
    return c == ' ' || c == '\t';
}

Linea Analiza(const QByteArray& texto, qsizetype inicio, qsizetype fin, qsizetype siguiente) {
    Linea linea;
    linea.fin = fin;
    linea.siguiente = siguiente;
    const QByteArray contenido = texto.mid(inicio, fin - inicio).trimmed();
    if (contenido.startsWith('[')) {
        const qsizetype cierre = contenido.indexOf(']');
        linea.tipo = Tipo::Seccion;
        linea.nombre = contenido.mid(1, cierre < 0 ? -1 : cierre - 1).trimmed();
        return linea;
    }
    qsizetype igual = inicio;
    while (igual < fin && texto[igual] != '=') {
        ++igual;
    }
    if (contenido.startsWith(';') || igual == fin) {
        return linea;
    }
    linea.tipo = Tipo::Clave;
    linea.nombre = texto.mid(inicio, igual - inicio).trimmed();
    linea.valor = igual + 1;
    while (linea.valor < fin && Es_Blanco(texto[linea.valor])) {
        ++linea.valor;
    }
    return linea;
}

std::vector<Linea> Lineas(const QByteArray& texto) {
    std::vector<Linea> lineas;
    qsizetype inicio = 0;
    while (inicio < texto.size()) {
        qsizetype salto = texto.indexOf('\n', inicio);
        const qsizetype siguiente = salto < 0 ? texto.size() : salto + 1;
        if (salto < 0) {
            salto = texto.size();
        }
        const qsizetype fin = (salto > inicio && texto[salto - 1] == '\r') ? salto - 1 : salto;
        lineas.push_back(Analiza(texto, inicio, fin, siguiente));
        inicio = siguiente;
    }
    return lineas;
}

bool Mismo_Nombre(const QByteArray& enFichero, const QString& buscado) {
    return Desde_Cp1252(enFichero).compare(buscado.trimmed(), Qt::CaseInsensitive) == 0;
}

// Index of the first header of the section, or lineas.size().
size_t Busca_Seccion(const std::vector<Linea>& lineas, const QString& seccion) {
    for (size_t i = 0; i < lineas.size(); ++i) {
        if (lineas[i].tipo == Tipo::Seccion && Mismo_Nombre(lineas[i].nombre, seccion)) {
            return i;
        }
    }
    return lineas.size();
}

// The contents of the file; an empty array for a missing file; nothing when it exists but
// cannot be read as a settings file.
std::optional<QByteArray> Lee_Fichero(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists()) {
        return QByteArray();
    }
    // A FIFO or device would block or never end.
    if (!info.isFile() || info.size() > TIniFile::kTamanoMaximo) {
        return std::nullopt;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray texto = file.read(TIniFile::kTamanoMaximo + 1);
    if (file.error() != QFileDevice::NoError || texto.size() > TIniFile::kTamanoMaximo) {
        return std::nullopt;
    }
    return texto;
}

QString Quita_Comillas(QByteArray valor) {
    if (valor.size() >= 2 && (valor.front() == '"' || valor.front() == '\'') &&
        valor.back() == valor.front()) {
        valor = valor.mid(1, valor.size() - 2);
    }
    return Desde_Cp1252(valor);
}

QByteArray Fin_De_Linea(const QByteArray& texto) {
    const qsizetype salto = texto.indexOf('\n');
    if (salto == 0 || (salto > 0 && texto[salto - 1] != '\r')) {
        return "\n";
    }
    return "\r\n"; // the format's own, also for a new file
}

// A line break inside a value would turn the rest of it into lines of their own.
QByteArray Una_Linea(const QString& texto) {
    QByteArray bytes = A_Cp1252(texto);
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

QByteArray Con_Clave(QByteArray texto, const QString& section, const QString& key,
                     const QString& value) {
    const QByteArray eol = Fin_De_Linea(texto);
    const QByteArray nuevaLinea = Una_Linea(key.trimmed()) + '=' + Una_Linea(value);
    const std::vector<Linea> lineas = Lineas(texto);
    const size_t cabecera = Busca_Seccion(lineas, section);
    if (cabecera == lineas.size()) {
        if (!texto.isEmpty() && !texto.endsWith('\n')) {
            texto += eol;
        }
        return texto + '[' + Una_Linea(section.trimmed()) + ']' + eol + nuevaLinea + eol;
    }
    size_t ultima = cabecera;
    for (size_t i = cabecera + 1; i < lineas.size() && lineas[i].tipo != Tipo::Seccion; ++i) {
        if (lineas[i].tipo != Tipo::Clave) {
            continue;
        }
        if (Mismo_Nombre(lineas[i].nombre, key)) {
            const QByteArray valor = Una_Linea(value);
            return texto.replace(lineas[i].valor, lineas[i].fin - lineas[i].valor, valor);
        }
        ultima = i;
    }
    const Linea& antes = lineas[ultima];
    if (antes.siguiente == antes.fin) { // the last line of the file has no line break
        return texto.insert(antes.siguiente, eol + nuevaLinea);
    }
    return texto.insert(antes.siguiente, nuevaLinea + eol);
}

} // namespace

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const std::optional<QByteArray> texto = Lee_Fichero(fileName_);
    if (!texto) {
        return def;
    }
    const std::vector<Linea> lineas = Lineas(*texto);
    for (size_t i = Busca_Seccion(lineas, section) + 1;
         i < lineas.size() && lineas[i].tipo != Tipo::Seccion; ++i) {
        const Linea& linea = lineas[i];
        if (linea.tipo == Tipo::Clave && Mismo_Nombre(linea.nombre, key)) {
            return Quita_Comillas(texto->mid(linea.valor, linea.fin - linea.valor).trimmed());
        }
    }
    return def;
}

QStringList TIniFile::ReadSections() const {
    QStringList secciones;
    const std::optional<QByteArray> texto = Lee_Fichero(fileName_);
    if (!texto) {
        return secciones;
    }
    for (const Linea& linea : Lineas(*texto)) {
        if (linea.tipo == Tipo::Seccion) {
            secciones.append(Desde_Cp1252(linea.nombre));
        }
    }
    return secciones;
}

bool TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const std::optional<QByteArray> texto = Lee_Fichero(fileName_);
    if (!texto) {
        return false;
    }
    const QByteArray nuevo = Con_Clave(*texto, section, key, value);
    if (nuevo == *texto) {
        return true;
    }
    if (!QDir().mkpath(QFileInfo(fileName_).absolutePath())) {
        return false;
    }
    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(nuevo);
    return file.commit();
}
