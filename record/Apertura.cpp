#include "Apertura.h"

#include "Esquema.h"
#include "Idiomas.h"
#include "Tablas.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {

using TEstado = TApertura::TEstado;

enum class TPrueba { Buena, Danada, Ajena, Mas_Nueva, Sin_Actualizar, Fallo };

enum class TAcceso { Escritura, Lectura, Inmutable };

QSqlDatabase Conecta(const QString& fichero, const QString& conexion, TAcceso acceso) {
    QSqlDatabase base = QSqlDatabase::contains(conexion)
                            ? QSqlDatabase::database(conexion, false)
                            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexion);
    base.close();
    // A reader in another program may hold the file for a moment: wait for it, not fail.
    QString opciones = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (acceso == TAcceso::Escritura) {
        base.setDatabaseName(fichero);
    } else if (acceso == TAcceso::Lectura) {
        base.setDatabaseName(fichero);
        opciones += QStringLiteral(";QSQLITE_OPEN_READONLY");
    } else {
        // A file nobody may write (a read-only drive): read without the shared journal index
        // that SQLite cannot create beside it.
        base.setDatabaseName(QUrl::fromLocalFile(fichero).toString() +
                             QStringLiteral("?immutable=1"));
        opciones += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
    }
    base.setConnectOptions(opciones);
    base.open();
    return base;
}

// Empty when SQLite's quick check finds the file sound; else what it found. A file that is
// not a database at all fails here too, as SQLite reads nothing of it before a statement.
// `legible` is false when the check could not read the file at all (no permission, a journal
// that cannot be made): that says nothing about the file, which must not be set aside for it.
QString Defecto(QSqlDatabase& base, bool& legible) {
    QSqlQuery q(base);
    legible = true;
    if (!q.exec(QStringLiteral("PRAGMA quick_check"))) {
        // SQLite's primary result codes for "damaged" and "not a database".
        constexpr int Corrupto = 11;
        constexpr int No_Es_Base = 26;
        const int codigo = q.lastError().nativeErrorCode().toInt() & 0xff;
        legible = codigo == Corrupto || codigo == No_Es_Base;
        return q.lastError().text();
    }
    QStringList hallado;
    while (q.next()) {
        hallado.append(q.value(0).toString());
    }
    return hallado == QStringList{QStringLiteral("ok")} ? QString()
                                                        : hallado.join(QStringLiteral("; "));
}

// False with SQLite's reason in `error`.
bool Pragma(QSqlDatabase& base, const QString& sql, QString& error) {
    QSqlQuery q(base);
    if (q.exec(sql))
        return true;
    error = q.lastError().text();
    return false;
}

// WAL: a reader in another program never blocks the writer; FULL: a recorded Save survives a
// power cut right after it (the cost is paid on the record's thread, not the UI's).
bool Prepara_Escritura(QSqlDatabase& base, QString& error) {
    return Pragma(base, QStringLiteral("PRAGMA journal_mode = WAL"), error) &&
           Pragma(base, QStringLiteral("PRAGMA synchronous = FULL"), error) &&
           Pragma(base, QStringLiteral("PRAGMA foreign_keys = ON"), error);
}

// The words an earlier version stored for the values recorded as keys, in every language of
// the language file. Read here, on the record's thread, while the program's thread waits for
// the opening.
QHash<QString, QString> Palabras_Valor() {
    QHash<QString, QString> palabras;
    for (const QString& idioma : Secciones_Idiomas())
        for (const QString& clave : Claves_Valor)
            if (const QString palabra = Texto_En(idioma, clave); palabra != TEXTO_AUSENTE)
                palabras.insert(palabra, clave);
    return palabras;
}

// Checks the open database and reads it into `a`; when writing, also sets the journal and
// creates the tables of a new one.
TPrueba Prepara(QSqlDatabase& base, TApertura& a, bool escritura) {
    if (!base.isOpen()) {
        a.Error = base.lastError().text();
        return TPrueba::Fallo;
    }
    bool legible = true;
    a.Error = Defecto(base, legible);
    if (!a.Error.isEmpty()) {
        return legible ? TPrueba::Danada : TPrueba::Fallo;
    }
    const TEsquema esquema = Comprueba_Esquema(base);
    if (esquema == TEsquema::Ajeno) {
        a.Error = QStringLiteral("not an installation record, or parts of it are missing");
        return TPrueba::Ajena;
    }
    if (esquema == TEsquema::Mas_Nuevo && escritura) {
        return TPrueba::Mas_Nueva;
    }
    if (escritura) {
        if (!Prepara_Escritura(base, a.Error)) {
            return TPrueba::Fallo;
        }
        if (esquema == TEsquema::Anterior && !Actualiza_Esquema(base, Palabras_Valor(), a.Error)) {
            return TPrueba::Sin_Actualizar;
        }
        if (esquema == TEsquema::Vacio && !Crea_Esquema(base)) {
            a.Error = base.lastError().text();
            return TPrueba::Fallo;
        }
    } else if (esquema == TEsquema::Vacio) {
        return TPrueba::Buena; // the other program has not created its tables yet
    }
    bool leido = false;
    a.Decoders = Lee_Decoders(base, &leido);
    a.Sin_Lectura = Lee_Grabaciones_Sin_Lectura(base);
    a.Sitio = Lee_Dato_Sitio(base, Dato_Nombre);
    a.Avance_Sondeo = Lee_Dato_Sitio(base, Dato_Avance_Sondeo);
    a.Problemas = Lee_Problemas(base);
    a.Entrega = Lee_Entrega(base);
    if (!leido) {
        a.Error = QStringLiteral("the decoders cannot be read");
        return TPrueba::Danada;
    }
    return TPrueba::Buena;
}

// Renames the file, with the journal files SQLite keeps beside it, to
// "<name>.damaged-<date>-<time>": nothing of it is lost, and a new file at the old name does
// not pick up its journal. Empty when the file could not be moved.
QString Aparta(const QString& fichero) {
    const QString base = fichero + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString destino = base;
    for (int n = 2; QFileInfo::exists(destino); ++n) {
        destino = base + QLatin1Char('-') + QString::number(n);
    }
    if (!QFile::rename(fichero, destino)) {
        return {};
    }
    for (const char* sufijo : {"-wal", "-shm", "-journal"}) {
        const QString diario = fichero + QLatin1String(sufijo);
        if (QFileInfo::exists(diario) && !QFile::rename(diario, destino + QLatin1String(sufijo))) {
            qWarning("Installation record: %s could not be moved aside", qUtf8Printable(diario));
        }
    }
    return destino;
}

// `leida`: whether the file could be read.
TApertura Abre_Lectura(const QString& fichero, const QString& conexion, TEstado estado,
                       bool* leida = nullptr) {
    TApertura a;
    a.Estado = estado;
    QSqlDatabase base = Conecta(fichero, conexion, TAcceso::Lectura);
    // Never set aside here: another program may be using the file, or a newer one wrote it.
    bool buena = Prepara(base, a, false) == TPrueba::Buena;
    if (!buena && estado == TEstado::Sin_Permiso) {
        a = TApertura();
        a.Estado = estado;
        base = Conecta(fichero, conexion, TAcceso::Inmutable);
        buena = Prepara(base, a, false) == TPrueba::Buena;
    }
    if (!buena) {
        qWarning("Installation record: %s cannot be read: %s", qUtf8Printable(fichero),
                 qUtf8Printable(a.Error));
        a.Decoders.clear();
        a.Sin_Lectura.clear();
    }
    if (leida)
        *leida = buena;
    return a;
}

} // namespace

TApertura Abre_Base(const QString& fichero, const QString& conexion, bool otro_programa) {
    if (otro_programa) {
        return Abre_Lectura(fichero, conexion, TEstado::Otro_Programa);
    }
    QDir().mkpath(QFileInfo(fichero).absolutePath());
    TApertura a;
    QSqlDatabase base = Conecta(fichero, conexion, TAcceso::Escritura);
    const TPrueba prueba = Prepara(base, a, true);
    switch (prueba) {
    case TPrueba::Buena:
        a.Estado = TEstado::Abierta;
        return a;
    case TPrueba::Mas_Nueva:
        return Abre_Lectura(fichero, conexion, TEstado::Mas_Nueva);
    case TPrueba::Sin_Actualizar: {
        qWarning("Installation record: %s could not be brought up to date: %s",
                 qUtf8Printable(fichero), qUtf8Printable(a.Error));
        TApertura lectura = Abre_Lectura(fichero, conexion, TEstado::Sin_Actualizar);
        lectura.Error = a.Error;
        return lectura;
    }
    case TPrueba::Fallo:
        // A file this program may read but not write (its folder or a read-only drive) is
        // still the installation: shown as it is.
        if (QFileInfo(fichero).isReadable()) {
            base.close();
            bool leida = false;
            TApertura lectura = Abre_Lectura(fichero, conexion, TEstado::Sin_Permiso, &leida);
            if (leida) {
                lectura.Error = a.Error;
                return lectura;
            }
        }
        a.Estado = TEstado::Fallida;
        return a;
    case TPrueba::Danada:
    case TPrueba::Ajena:
        break;
    }
    const bool ajena = prueba == TPrueba::Ajena;
    qWarning("Installation record: %s is %s: %s", qUtf8Printable(fichero),
             ajena ? "not an installation record" : "damaged", qUtf8Printable(a.Error));
    base.close();
    TApertura nueva;
    nueva.Apartado = Aparta(fichero);
    if (nueva.Apartado.isEmpty()) {
        a.Estado = TEstado::Fallida;
        return a;
    }
    base = Conecta(fichero, conexion, TAcceso::Escritura);
    nueva.Estado = Prepara(base, nueva, true) != TPrueba::Buena ? TEstado::Fallida
                   : ajena                                      ? TEstado::Ajena_Apartada
                                                                : TEstado::Apartada;
    return nueva;
}

bool Reconecta(const QString& fichero, const QString& conexion, QString& error) {
    QSqlDatabase base = Conecta(fichero, conexion, TAcceso::Escritura);
    if (!base.isOpen()) {
        error = base.lastError().text();
        return false;
    }
    return Prepara_Escritura(base, error);
}
