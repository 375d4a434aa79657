#pragma once
// What the record's window and exports are tested with: an installation record held in
// memory, the shipped language file in a chosen language, and a file size limit that makes
// writes fail part-way as a full disk does.

#include "Configuracion.h"
#include "Idiomas.h"
#include "Instantanea.h"
#include "QtApp.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <utility>
#include <vector>

namespace kalvex::test {

// The shipped language file (never the user's own settings), in one language while it lives.
class Texts {
public:
    explicit Texts(const QString& idioma = QStringLiteral("ENGLISH")) : antes_(Idioma) {
        // The data folder is found beside the running program.
        EnsureCoreApp();
        qputenv("KALVEX_CONFIG_DIR", config_.path().toLocal8Bit());
        Abre_Fichero_Idiomas();
        Idioma = idioma;
    }
    ~Texts() {
        Idioma = antes_;
        Libera_Fichero_Idiomas();
        qunsetenv("KALVEX_CONFIG_DIR");
    }

private:
    QTemporaryDir config_;
    QString antes_;
};

// Any write past `bytes` into a file fails (EFBIG) while it lives, as on a full disk; works for
// root too, where a read-only folder would not stop the write.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &antes_);
        senal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = antes_;
        limite.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &antes_);
        std::signal(SIGXFSZ, senal_);
    }

private:
    rlimit antes_{};
    void (*senal_)(int) = nullptr;
};

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

inline QDateTime At(int day, int hour, int minute) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, 0));
}

inline TDecoder_Registro Decoder(qint64 id, int referencia, const QString& ubicacion,
                                 QList<TValor_Registro> valores) {
    TDecoder_Registro d;
    d.Id = id;
    d.Referencia = referencia;
    d.Ubicacion = ubicacion;
    d.Configuracion = std::move(valores);
    return d;
}

// How the sample's clash reads in English, whatever the day.
inline const QString kSample_Clash = QStringLiteral(
    "\u2194 1234 \u2014 Relay 1 of the 6759 \u201CGarage\u201D, read 07/12/2026 16:05");

// Three decoders: two read and saved, one never read; one clash (worded as
// kSample_Clash says).
inline TInstantanea Sample() {
    TInstantanea s;
    s.Fichero = QStringLiteral("/tmp/mayor12.kalvex");
    s.Sitio = QStringLiteral("Calle Mayor 12");
    TDecoder_Registro a = Decoder(1, 6745, QStringLiteral("Entrance A, floor 3"),
                                  {{"Edit1", "Output 1, code", "1234"},
                                   {"Edit2", "Output 1, time", "5 s"},
                                   {"Edit3", "Output 2, code", "1240"}});
    a.Nota = QStringLiteral("Behind the \"blue\" door");
    a.Codigos = {{TEspacio_Codigo::Llamada, 0x1234, 0x1234, "1234", "Output 1"},
                 {TEspacio_Codigo::Llamada, 0x1240, 0x1240, "1240", "Output 2"}};
    a.Ultima_Lectura = At(8, 9, 30);
    a.Ultima_Grabacion = At(8, 9, 45);
    a.Resultado = QStringLiteral("All values written");
    a.Confirmado = true;
    TDecoder_Registro b =
        Decoder(2, 6759, QStringLiteral("Garage"),
                {{"Edit1", "Relay 1, code", "B123"}, {"Edit2", "Relay 1, state", "On"}});
    b.Codigos = {{TEspacio_Codigo::Rele, 0xB123, 0xB123, "B123", "Relay 1"}};
    b.Ultima_Lectura = At(7, 16, 5);
    TDecoder_Registro c = Decoder(3, 6734, QStringLiteral("Entr\u00E9e B"), {});
    s.Decoders = {a, b, c};
    s.Choques = {{1, a.Codigos[0], 2, b.Codigos[0]}};
    return s;
}

// The record as a database would give it, kept in memory; remembers what it was asked to
// store.
class FakeSource : public TFuente_Instalacion {
public:
    TInstantanea Instantanea() const override { return snapshot; }
    QList<TEvento_Registro> Historia(qint64 decoder) const override {
        return history.value(decoder);
    }
    bool Pon_Ubicacion(qint64 decoder, const QString& ubicacion) override {
        return Store(decoder, &TDecoder_Registro::Ubicacion, ubicacion, locations);
    }
    bool Pon_Nota(qint64 decoder, const QString& nota) override {
        return Store(decoder, &TDecoder_Registro::Nota, nota, notes);
    }
    bool Pon_Entrega(const TDatos_Entrega& entrega) override {
        ++handovers;
        if (refuse || readOnly)
            return false;
        snapshot.Entrega = entrega;
        return true;
    }
    bool Solo_Lectura() const override { return readOnly; }
    bool Decide_Modelo(qint64 decoder, int referencia) override {
        settled.emplace_back(decoder, referencia);
        for (TDecoder_Registro& d : snapshot.Decoders)
            if (d.Id == decoder && !refuse && !readOnly) {
                d.Referencia = referencia;
                d.Posibles.clear();
                return true;
            }
        return false;
    }

    TInstantanea snapshot = Sample();
    QMap<qint64, QList<TEvento_Registro>> history;
    bool readOnly = false;
    bool refuse = false; // the file failed: nothing is stored
    std::vector<std::pair<qint64, QString>> locations;
    std::vector<std::pair<qint64, QString>> notes;
    std::vector<std::pair<qint64, int>> settled;
    int handovers = 0; // the handover report's details it was asked to store

private:
    bool Store(qint64 decoder, QString TDecoder_Registro::*campo, const QString& texto,
               std::vector<std::pair<qint64, QString>>& calls) {
        calls.emplace_back(decoder, texto);
        if (refuse || readOnly)
            return false;
        for (TDecoder_Registro& d : snapshot.Decoders)
            if (d.Id == decoder)
                d.*campo = texto;
        return true;
    }
};

} // namespace kalvex::test
