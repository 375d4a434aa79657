#include "Base_Instalacion.h"

#include "Configuracion.h"
#include "Idiomas.h"
#include "Tablas.h"
#include "Valores_Leidos.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>

#include <atomic>
#include <exception>

namespace {

QString Nombre_Conexion() {
    static std::atomic<int> numero{0};
    return QStringLiteral("kalvex-record-%1").arg(++numero);
}

// Recording never stands in the way of the work it records.
template <class F> void Sin_Fallos(const char* que, F&& hacer) noexcept {
    try {
        hacer();
    } catch (const std::exception& e) {
        qWarning("Installation record: %s: %s", que, e.what());
    } catch (...) {
        qWarning("Installation record: %s failed", que);
    }
}

} // namespace

TBase_Instalacion::TBase_Instalacion(const QString& fichero)
    : fichero_(QFileInfo(fichero).absoluteFilePath()), conexion_(Nombre_Conexion()),
      cerrojo_(fichero_ + QStringLiteral(".lock")), diario_(fichero_), idioma_redaccion_(Idioma) {
    // The SQL driver plugin is looked for here, on the program's thread, not on the record's:
    // the search leaves per-thread state in Qt Core that a MinGW build of Qt frees through a
    // stale pointer when the thread that made it ends (seen under Wine as a crash at close).
    QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"));
    // A live program holds its lock for as long as it runs; only a dead one's is stale.
    cerrojo_.setStaleLockTime(0);
    QDir().mkpath(QFileInfo(fichero_).absolutePath());
    const bool otro_programa =
        !cerrojo_.tryLock(0) && cerrojo_.error() == QLockFile::LockFailedError;
    if (!otro_programa && !cerrojo_.isLocked()) {
        qWarning("Installation record: %s cannot be locked", qUtf8Printable(cerrojo_.fileName()));
    }
    apertura_ = hilo_.Ejecuta([this, otro_programa] {
        TApertura a = Abre_Base(fichero_, conexion_, otro_programa);
        diario_.Anota();
        return a;
    });
    Toma(apertura_);
}

void TBase_Instalacion::Toma(TApertura& leida) {
    sitio_ = leida.Sitio;
    avance_ = leida.Avance_Sondeo;
    entrega_ = leida.Entrega;
    problemas_ = leida.Problemas;
    estado_.Recarga(leida.Decoders, leida.Sin_Lectura);
    leida.Decoders.clear();
    leida.Sin_Lectura.clear();
    leida.Problemas.clear();
}

TBase_Instalacion::~TBase_Instalacion() {
    // After everything queued: the connection belongs to the record's thread.
    hilo_.Encola([conexion = conexion_] {
        QSqlDatabase::database(conexion, false).close();
        QSqlDatabase::removeDatabase(conexion);
    });
}

bool TBase_Instalacion::Pon_Sitio(const QString& sitio) {
    if (!Escribe_Ya(
            [sitio](QSqlDatabase& base) { return Guarda_Dato_Sitio(base, Dato_Nombre, sitio); })) {
        return false;
    }
    sitio_ = sitio;
    return true;
}

bool TBase_Instalacion::Pon_Entrega(const TDatos_Entrega& entrega) {
    if (!Escribe_Ya([entrega](QSqlDatabase& base) { return Guarda_Entrega(base, entrega); })) {
        return false;
    }
    entrega_ = entrega;
    return true;
}

QString TBase_Instalacion::Aviso() const {
    using TEstado = TApertura::TEstado;
    switch (apertura_.Estado) {
    case TEstado::Abierta:
        break;
    case TEstado::Apartada:
        return Texto(QStringLiteral("GEN_MEN055")).arg(fichero_, apertura_.Apartado);
    case TEstado::Ajena_Apartada:
        return Texto(QStringLiteral("GEN_MEN160")).arg(fichero_, apertura_.Apartado);
    case TEstado::Sin_Permiso:
        return Texto(QStringLiteral("GEN_MEN161")).arg(fichero_, apertura_.Error);
    case TEstado::Otro_Programa:
        return Texto(QStringLiteral("GEN_MEN056"));
    case TEstado::Mas_Nueva:
        return Texto(QStringLiteral("GEN_MEN057")).arg(fichero_);
    case TEstado::Sin_Actualizar:
        return Texto(QStringLiteral("Reg_NotUpgraded")).arg(fichero_, apertura_.Error);
    case TEstado::Fallida:
        return Texto(QStringLiteral("GEN_MEN058")).arg(fichero_, apertura_.Error);
    }
    return {};
}

bool TBase_Instalacion::Escribe(const TEscritura& escritura, QString& causa) {
    if (!diario_.Intacto()) {
        qWarning("Installation record: the journal of %s was taken away; opening it again",
                 qUtf8Printable(fichero_));
        if (!Reconecta(fichero_, conexion_, causa)) {
            return false;
        }
        diario_.Anota();
    }
    return En_Transaccion(conexion_, escritura, &causa);
}

void TBase_Instalacion::Encola(TEscritura escritura) {
    if (Solo_Lectura()) {
        return;
    }
    hilo_.Encola([this, escritura = std::move(escritura)] {
        QString causa;
        if (!Escribe(escritura, causa)) {
            QMetaObject::invokeMethod(
                &correo_, [this, causa] { Vuelve_Al_Fichero(causa); }, Qt::QueuedConnection);
        }
    });
}

bool TBase_Instalacion::Escribe_Ya(TEscritura escritura, QString* causa) {
    QString por_que;
    const bool escrita =
        !Solo_Lectura() && hilo_.Ejecuta([this, &por_que, escritura = std::move(escritura)] {
            return Escribe(escritura, por_que);
        });
    if (causa) {
        *causa = por_que;
    }
    return escrita;
}

void TBase_Instalacion::Vuelve_Al_Fichero(const QString& causa) {
    // After every write queued so far: what the file holds once they are done.
    TApertura leida = hilo_.Ejecuta([this] {
        TApertura a;
        QSqlDatabase base = QSqlDatabase::database(conexion_, false);
        bool leido = false;
        a.Decoders = Lee_Decoders(base, &leido);
        a.Sin_Lectura = Lee_Grabaciones_Sin_Lectura(base);
        a.Sitio = Lee_Dato_Sitio(base, Dato_Nombre);
        a.Avance_Sondeo = Lee_Dato_Sitio(base, Dato_Avance_Sondeo);
        a.Problemas = Lee_Problemas(base);
        return a;
    });
    Toma(leida);
    if (al_fallar_) {
        al_fallar_(causa);
    }
}

void TBase_Instalacion::Guarda(const TDecoder_Registro& decoder, const TEvento_Registro& evento,
                               qint64 id) {
    Encola([decoder, evento, id](QSqlDatabase& base) mutable {
        return Guarda_Decoder(base, decoder) && Guarda_Evento(base, decoder.Id, evento, &id);
    });
}

void TBase_Instalacion::Lectura(const QString& puerto, const TConfiguracion& leida) {
    Sin_Fallos("read-out", [&] {
        TEvento_Registro evento;
        evento.Tipo = TEvento_Registro::TTipo::Lectura;
        evento.Momento = QDateTime::currentDateTime();
        evento.Puerto = puerto;
        evento.Valores = leida.Valores;
        Guarda(estado_.Lectura(leida, evento.Momento), evento);
    });
}

QStringList TBase_Instalacion::Choques(const TConfiguracion& nueva) {
    QStringList lineas;
    Sin_Fallos("clash check", [&] {
        const QList<TCoincidencia> choques = estado_.Choques(nueva);
        if (choques.isEmpty()) {
            return;
        }
        const QDate hoy = QDate::currentDate();
        for (const TCoincidencia& c : choques) {
            lineas.append(Redaccion().Linea(c.Codigo, *estado_.Busca(c.Otro), c.Codigo_Otro, hoy));
        }
    });
    return lineas;
}

void TBase_Instalacion::Grabacion(const TGrabacion_Registro& grabacion) {
    Sin_Fallos("Save", [&] {
        TEvento_Registro evento;
        evento.Tipo = TEvento_Registro::TTipo::Grabacion;
        evento.Momento = QDateTime::currentDateTime();
        evento.Valores = grabacion.Nueva.Valores;
        evento.Aceptadas = grabacion.Aceptadas;
        evento.Todo_Aceptado = grabacion.Todo_Aceptado;
        evento.Resultado = grabacion.Resultado;
        const qint64 intencion = intenciones_.take(grabacion.Nueva.Referencia);
        Guarda(estado_.Grabacion(grabacion, evento.Momento), evento, intencion);
    });
}

void TBase_Instalacion::Intencion(const TConfiguracion& nueva) {
    Sin_Fallos("Save begun", [&] {
        TEvento_Registro evento;
        evento.Tipo = TEvento_Registro::TTipo::Grabacion;
        evento.Momento = QDateTime::currentDateTime();
        evento.Valores = nueva.Valores;
        const TDecoder_Registro decoder = estado_.Intencion(nueva);
        qint64 id = 0;
        QString causa;
        // Stored before the first frame: a program killed halfway leaves the values it was
        // writing in the file, and the decoder holding some of them is known again.
        const bool guardada = Escribe_Ya(
            [&decoder, &evento, &id](QSqlDatabase& base) {
                return Guarda_Decoder(base, decoder) &&
                       Guarda_Evento(base, decoder.Id, evento, &id);
            },
            &causa);
        intenciones_.insert(nueva.Referencia, id);
        if (!guardada && !Solo_Lectura()) {
            Vuelve_Al_Fichero(causa);
        }
    });
}

void TBase_Instalacion::Prueba(const TPrueba_Registro& fila) {
    Sin_Fallos("devices test", [&] {
        Encola([fila, ahora = QDateTime::currentDateTime()](QSqlDatabase& base) {
            return Guarda_Prueba(base, ahora, fila);
        });
    });
}

const TRedaccion_Choque& TBase_Instalacion::Redaccion() const {
    if (Idioma != idioma_redaccion_) {
        redaccion_ = TRedaccion_Choque();
        idioma_redaccion_ = Idioma;
    }
    return redaccion_;
}

void TBase_Instalacion::Editor_Cerrado(int referencia) {
    estado_.Editor_Cerrado(referencia);
}

QList<int> TBase_Instalacion::Modelos_Codigo(const TCodigo_Registro& codigo) const {
    QList<int> modelos;
    Sin_Fallos("code lookup", [&] { modelos = estado_.Modelos_Codigo(codigo); });
    return modelos;
}

TInstantanea TBase_Instalacion::Instantanea() const {
    TInstantanea instantanea;
    instantanea.Fichero = fichero_;
    instantanea.Sitio = sitio_;
    instantanea.Entrega = entrega_;
    instantanea.Decoders = estado_.Decoders().values();
    // As facts: the windows word them as they show them, from the decoders as they are then.
    instantanea.Choques = estado_.Choques_Instalacion();
    instantanea.Problemas = problemas_;
    return instantanea;
}

QList<TEvento_Registro> TBase_Instalacion::Historia(qint64 decoder) const {
    if (apertura_.Estado == TApertura::TEstado::Fallida) {
        return {};
    }
    // Runs after the writes queued before it, so the history includes them.
    return hilo_.Ejecuta([this, decoder] {
        QString causa;
        // A log taken away must not be read from either: opening again reads the file.
        if (!Solo_Lectura() && !diario_.Intacto() && !Reconecta(fichero_, conexion_, causa)) {
            return QList<TEvento_Registro>();
        }
        diario_.Anota();
        QSqlDatabase base = QSqlDatabase::database(conexion_, false);
        return Lee_Historia(base, decoder);
    });
}

void TBase_Instalacion::Sondeo(const TSondeo_Registro& sondeo) {
    Sin_Fallos("survey", [&] {
        TEvento_Registro evento;
        evento.Tipo = TEvento_Registro::TTipo::Sondeo;
        evento.Momento = QDateTime::currentDateTime();
        evento.Puerto = sondeo.Puerto;
        evento.Valores = sondeo.Leida.Valores;
        Guarda(estado_.Sondeo(sondeo.Leida, sondeo.Posibles, evento.Momento), evento);
    });
}

void TBase_Instalacion::Problema_Sondeo(const TProblema_Sondeo& problema) {
    Sin_Fallos("survey problem", [&] {
        const TProblema_Registro p{QDateTime::currentDateTime(), problema};
        problemas_.append(p);
        Encola([p](QSqlDatabase& base) { return Guarda_Problema(base, p.Momento, p.Problema); });
    });
}

void TBase_Instalacion::Pon_Avance_Sondeo(const QString& avance) {
    Sin_Fallos("survey progress", [&] {
        avance_ = avance;
        Encola([avance](QSqlDatabase& base) {
            return Guarda_Dato_Sitio(base, Dato_Avance_Sondeo, avance);
        });
    });
}

QList<TCodigo_Registro> TBase_Instalacion::Codigos_Conocidos() const {
    QList<TCodigo_Registro> codigos;
    Sin_Fallos("known codes", [&] {
        for (const TDecoder_Registro& d : estado_.Decoders())
            codigos += d.Codigos;
    });
    return codigos;
}

bool TBase_Instalacion::Decide_Modelo(qint64 decoder, int referencia) {
    const TDecoder_Registro* d = estado_.Busca(decoder);
    if (!d || d->Referencia != 0 || !d->Posibles.contains(referencia))
        return false;
    TDecoder_Registro decidido = *d;
    decidido.Referencia = referencia;
    decidido.Posibles.clear();
    // Its values as that model words them, in its history too, and the codes it answers,
    // known only now.
    const TModelo* modelo = Modelo_Por_Referencia(referencia);
    if (modelo) {
        const TConfiguracion c = Configuracion_Decidida(*modelo, d->Configuracion);
        decidido.Configuracion = c.Valores;
        decidido.Codigos = c.Codigos;
    }
    auto como_modelo = [modelo](const QList<TValor_Registro>& como_llamada) {
        return Configuracion_Decidida(*modelo, como_llamada).Valores;
    };
    if (!Escribe_Ya([decidido, modelo, como_modelo](QSqlDatabase& base) {
            return Guarda_Decoder(base, decidido) &&
                   (!modelo || Cambia_Valores_Sondeos(base, decidido.Id, como_modelo));
        }))
        return false;
    return estado_.Decide_Modelo(decidido);
}

bool TBase_Instalacion::Pon_Ubicacion(qint64 decoder, const QString& ubicacion) {
    const TDecoder_Registro* d = estado_.Busca(decoder);
    return d && Pon_Detalles(d, ubicacion, d->Nota);
}

bool TBase_Instalacion::Pon_Nota(qint64 decoder, const QString& nota) {
    const TDecoder_Registro* d = estado_.Busca(decoder);
    return d && Pon_Detalles(d, d->Ubicacion, nota);
}

bool TBase_Instalacion::Pon_Detalles(const TDecoder_Registro* decoder, const QString& ubicacion,
                                     const QString& nota) {
    TDecoder_Registro cambiado = *decoder;
    cambiado.Ubicacion = ubicacion;
    cambiado.Nota = nota;
    if (!Escribe_Ya([cambiado](QSqlDatabase& base) { return Guarda_Decoder(base, cambiado); })) {
        return false;
    }
    estado_.Pon_Detalles(cambiado.Id, ubicacion, nota);
    return true;
}
