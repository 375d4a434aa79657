#include "TIniFile.h"

#include "Cp1252.h"
#include "Guarda_Fichero.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

namespace {

enum class Tipo { Otra, Seccion, Clave };

// One line of the file, as offsets into its bytes.
struct Linea {
    Tipo tipo = Tipo::Otra;
    QByteArrayView nombre;   // section or key name, trimmed, still Windows-1252
    qsizetype valor = 0;     // first byte of the value (after '=' and its blanks)
    qsizetype fin = 0;       // end of the line's text, before its line break
    qsizetype siguiente = 0; // start of the next line
};

bool Es_Blanco(char c) {
    return c == ' ' || c == '\t';
}

// Some editors begin a file with the UTF-8 byte-order mark: it is not part of the first line,
// and it says that the names and values are UTF-8 rather than Windows-1252.
const QByteArray Bom_Utf8("\xEF\xBB\xBF");

// Others save UTF-8 without the mark. Windows-1252 text with letters beyond ASCII is almost
// never valid UTF-8 (an accented letter alone is a lead byte without its continuation), so
// text that has such bytes and is valid UTF-8 throughout is read as UTF-8.
bool Utf8_Sin_Marca(const QByteArray& texto) {
    const bool ascii = std::all_of(texto.begin(), texto.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return !ascii && texto.isValidUtf8();
}

struct Codificacion {
    bool marca = false;
    bool utf8 = false;

    explicit Codificacion(const QByteArray& texto)
        : marca(texto.startsWith(Bom_Utf8)), utf8(marca || Utf8_Sin_Marca(texto)) {}
    qsizetype Inicio() const { return marca ? Bom_Utf8.size() : 0; }
    QString Desde(QByteArrayView bytes) const {
        return utf8 ? QString::fromUtf8(bytes) : Desde_Cp1252(bytes.toByteArray());
    }
    QByteArray A(const QString& texto) const { return utf8 ? texto.toUtf8() : A_Cp1252(texto); }
};

// Reads a line without copying it: the language file is looked up hundreds of times while the
// windows are built, and a lookup reads the whole file.
Linea Analiza(const QByteArray& texto, qsizetype inicio, qsizetype fin, qsizetype siguiente) {
    Linea linea;
    linea.fin = fin;
    linea.siguiente = siguiente;
    const QByteArrayView contenido = QByteArrayView(texto).sliced(inicio, fin - inicio).trimmed();
    if (contenido.startsWith('[')) {
        const qsizetype cierre = contenido.indexOf(']');
        linea.tipo = Tipo::Seccion;
        linea.nombre =
            contenido.sliced(1, cierre < 0 ? contenido.size() - 1 : cierre - 1).trimmed();
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
    linea.nombre = QByteArrayView(texto).sliced(inicio, igual - inicio).trimmed();
    linea.valor = igual + 1;
    while (linea.valor < fin && Es_Blanco(texto[linea.valor])) {
        ++linea.valor;
    }
    return linea;
}

// A line ends at LF, at CR LF, or at a CR alone: two lines are never read as one, whichever
// editor wrote them. Hands each line to `cada` until it returns false.
template <typename F> void Por_Linea(const QByteArray& texto, F cada) {
    qsizetype inicio = Codificacion(texto).Inicio();
    while (inicio < texto.size()) {
        qsizetype fin = inicio;
        while (fin < texto.size() && texto[fin] != '\n' && texto[fin] != '\r') {
            ++fin;
        }
        qsizetype siguiente = fin;
        if (siguiente < texto.size()) {
            const bool crlf = texto[siguiente] == '\r' && siguiente + 1 < texto.size() &&
                              texto[siguiente + 1] == '\n';
            siguiente += crlf ? 2 : 1;
        }
        if (!cada(Analiza(texto, inicio, fin, siguiente))) {
            return;
        }
        inicio = siguiente;
    }
}

std::vector<Linea> Lineas(const QByteArray& texto) {
    std::vector<Linea> lineas;
    Por_Linea(texto, [&lineas](const Linea& linea) {
        lineas.push_back(linea);
        return true;
    });
    return lineas;
}

bool Mismo_Nombre(const Codificacion& cod, QByteArrayView enFichero, const QString& buscado) {
    const QString nombre = buscado.trimmed();
    // A Windows-1252 byte is one character, and case does not change a name's length.
    if (!cod.utf8 && enFichero.size() != nombre.size()) {
        return false;
    }
    return cod.Desde(enFichero).compare(nombre, Qt::CaseInsensitive) == 0;
}

// Index of the first header of the section, or lineas.size().
size_t Busca_Seccion(const Codificacion& cod, const std::vector<Linea>& lineas,
                     const QString& seccion) {
    for (size_t i = 0; i < lineas.size(); ++i) {
        if (lineas[i].tipo == Tipo::Seccion && Mismo_Nombre(cod, lineas[i].nombre, seccion)) {
            return i;
        }
    }
    return lineas.size();
}

// The contents of the file; an empty array for a missing file; nothing, with the reason in
// causa, when it exists but cannot be read as a settings file.
std::optional<QByteArray> Lee_Fichero(const QString& fileName, QString& causa) {
    const QFileInfo info(fileName);
    if (!info.exists()) {
        return QByteArray();
    }
    // A FIFO or device would block or never end.
    if (!info.isFile() || info.size() > TIniFile::kTamanoMaximo) {
        causa = qt_error_string(info.isDir() ? EISDIR : info.isFile() ? EFBIG : EINVAL);
        return std::nullopt;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        causa = file.errorString();
        return std::nullopt;
    }
    // Read at the file's own size: the language file is looked up hundreds of times while the
    // windows are built.
    QByteArray texto = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        causa = file.errorString();
        return std::nullopt;
    }
    if (texto.size() > TIniFile::kTamanoMaximo) {
        causa = qt_error_string(EFBIG);
        return std::nullopt;
    }
    return texto;
}

std::optional<QByteArray> Lee_Fichero(const QString& fileName) {
    QString causa;
    return Lee_Fichero(fileName, causa);
}

QString Quita_Comillas(const Codificacion& cod, QByteArray valor) {
    if (valor.size() >= 2 && (valor.front() == '"' || valor.front() == '\'') &&
        valor.back() == valor.front()) {
        valor = valor.mid(1, valor.size() - 2);
    }
    return cod.Desde(valor);
}

// The line break of the file's first line.
QByteArray Fin_De_Linea(const QByteArray& texto) {
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto[i] == '\n') {
            return "\n";
        }
        if (texto[i] == '\r') {
            return (i + 1 < texto.size() && texto[i + 1] == '\n') ? "\r\n" : "\r";
        }
    }
    return "\r\n"; // the format's own, also for a new file
}

// A CR alone ends a line only for readers that look no further when no LF follows. Before a
// line is added after one, in a file whose lines end otherwise, the CR gets its LF, so that
// no reader can take the two lines for one.
bool Falta_Lf(const QByteArray& texto, qsizetype fin, qsizetype siguiente, const QByteArray& eol) {
    return siguiente == fin + 1 && texto[fin] == '\r' && eol != "\r";
}

// A line break inside a value would turn the rest of it into lines of their own.
QByteArray Una_Linea(const Codificacion& cod, const QString& texto) {
    QByteArray bytes = cod.A(texto);
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

QByteArray Con_Clave(QByteArray texto, const QString& section, const QString& key,
                     const QString& value) {
    const Codificacion cod(texto);
    const QByteArray eol = Fin_De_Linea(texto);
    const QByteArray nuevaLinea = Una_Linea(cod, key.trimmed()) + '=' + Una_Linea(cod, value);
    const std::vector<Linea> lineas = Lineas(texto);
    const size_t cabecera = Busca_Seccion(cod, lineas, section);
    if (cabecera == lineas.size()) {
        if (!lineas.empty()) {
            const Linea& ultimaLinea = lineas.back();
            if (ultimaLinea.siguiente == ultimaLinea.fin) {
                texto += eol;
            } else if (Falta_Lf(texto, ultimaLinea.fin, ultimaLinea.siguiente, eol)) {
                texto += '\n';
            }
        }
        return texto + '[' + Una_Linea(cod, section.trimmed()) + ']' + eol + nuevaLinea + eol;
    }
    size_t ultima = cabecera;
    for (size_t i = cabecera + 1; i < lineas.size() && lineas[i].tipo != Tipo::Seccion; ++i) {
        if (lineas[i].tipo != Tipo::Clave) {
            continue;
        }
        if (Mismo_Nombre(cod, lineas[i].nombre, key)) {
            const QByteArray valor = Una_Linea(cod, value);
            return texto.replace(lineas[i].valor, lineas[i].fin - lineas[i].valor, valor);
        }
        ultima = i;
    }
    const Linea& antes = lineas[ultima];
    if (antes.siguiente == antes.fin) { // the last line of the file has no line break
        return texto.insert(antes.siguiente, eol + nuevaLinea);
    }
    // A CR alone before a line that starts with its LF would join the two into one line.
    const QByteArray fin =
        eol == "\r" && antes.siguiente < texto.size() && texto[antes.siguiente] == '\n'
            ? QByteArray("\r\n")
            : eol;
    if (Falta_Lf(texto, antes.fin, antes.siguiente, eol)) {
        return texto.insert(antes.siguiente, '\n' + nuevaLinea + fin);
    }
    return texto.insert(antes.siguiente, nuevaLinea + fin);
}

} // namespace

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const std::optional<QByteArray> texto = Lee_Fichero(fileName_);
    if (!texto) {
        return def;
    }
    const Codificacion cod(*texto);
    // Only the first header of a section counts, and the scan ends with it.
    enum { Antes, Dentro, Despues } donde = Antes;
    QString valor = def;
    Por_Linea(*texto, [&](const Linea& linea) {
        if (linea.tipo == Tipo::Seccion) {
            if (donde == Dentro) {
                donde = Despues;
            } else if (Mismo_Nombre(cod, linea.nombre, section)) {
                donde = Dentro;
            }
        } else if (donde == Dentro && linea.tipo == Tipo::Clave &&
                   Mismo_Nombre(cod, linea.nombre, key)) {
            valor = Quita_Comillas(cod, texto->mid(linea.valor, linea.fin - linea.valor).trimmed());
            donde = Despues;
        }
        return donde != Despues;
    });
    return valor;
}

QStringList TIniFile::ReadSections() const {
    QStringList secciones;
    const std::optional<QByteArray> texto = Lee_Fichero(fileName_);
    if (!texto) {
        return secciones;
    }
    const Codificacion cod(*texto);
    for (const Linea& linea : Lineas(*texto)) {
        if (linea.tipo == Tipo::Seccion) {
            secciones.append(cod.Desde(linea.nombre));
        }
    }
    return secciones;
}

bool TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    QString causa;
    return WriteStrings(section, {{key, value}}, causa);
}

bool TIniFile::WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& pares,
                            QString& causa) {
    const std::optional<QByteArray> texto = Lee_Fichero(fileName_, causa);
    if (!texto) {
        return false;
    }
    QByteArray nuevo = *texto;
    for (const auto& [key, value] : pares) {
        nuevo = Con_Clave(nuevo, section, key, value);
    }
    if (nuevo == *texto) {
        return true;
    }
    // A folder that cannot be made is said by the write that follows, with its reason.
    QDir().mkpath(QFileInfo(fileName_).absolutePath());
    return Guarda_Fichero(fileName_, nuevo, causa);
}
