#include "Sondeo.h"

#include "Configuracion.h"
#include "Enrutado.h"
#include "Estado_Linea.h"
#include "UComunicaciones.h"
#include "USerialLine.h"
#include "Valores_Leidos.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// After the programming request a decoder that serves the code starts its read-out within a
// few frame times, and sends each next frame as soon as it has the last one's acknowledgement;
// one that has said nothing for a second will not go on (as the editors' read-back judges).
constexpr int Espera_Lectura_ms = 1000;
constexpr int Intentos_Minucioso = 3;

int Ancho(TTipo_Codigo tipo) {
    return tipo == TTipo_Codigo::Audio ? 4 : 3;
}

QString Codigo_De(TTipo_Codigo tipo, int numero) {
    return Letra_Codigo(tipo) + Rellena_Ceros_Iz(QString::number(numero), Ancho(tipo));
}

// A number as the editors hold codes: its digits read as hexadecimal ("0123" is 0x123).
qint64 Valor_Digitos(int numero) {
    return QString::number(numero).toLongLong(nullptr, 16);
}

// The models among those that answer with the byte whose read-out has this many data frames.
std::vector<const TModelo*> Por_Forma(const std::vector<const TModelo*>& modelos, int tramas) {
    std::vector<const TModelo*> con_forma;
    for (const TModelo* m : modelos)
        if (m->Tramas == tramas)
            con_forma.push_back(m);
    return con_forma;
}

// The one model of these that the record knows at the code; null when it knows none or more.
const TModelo* Conocido(const std::vector<const TModelo*>& modelos, int numero,
                        const QString& texto) {
    const TModelo* conocido = nullptr;
    for (const TModelo* m : modelos) {
        const qint64 valor = Valor_Digitos(numero);
        if (!Registro()
                 .Modelos_Codigo({m->Espacio, valor, valor, texto, {}})
                 .contains(m->Referencia))
            continue;
        if (conocido)
            return nullptr;
        conocido = m;
    }
    return conocido;
}

TFila_Sondeo Fila(const QString& codigo, TFila_Sondeo::TClase clase, int identificacion = -1) {
    TFila_Sondeo fila;
    fila.Codigo = codigo;
    fila.Clase = clase;
    fila.Identificacion = identificacion;
    return fila;
}

} // namespace

TSondeo::TSondeo(QObject* parent) : QObject(parent), plazo_(new QTimer(this)) {
    plazo_->setSingleShot(true);
    plazo_->setInterval(Espera_Lectura_ms);
    connect(plazo_, &QTimer::timeout, this, [this] { vencido_ = true; });
}

TSondeo::~TSondeo() {
    if (activo_)
        Activa(false);
}

void TSondeo::Activa(bool activo) {
    activo_ = activo;
    if (activo)
        Enrutado().Sondeo = [this](const Trama_Dec& trama) { Recibe(trama); };
    else
        Enrutado().Sondeo = nullptr;
}

void TSondeo::Empieza(const QList<TRango_Sondeo>& rangos, TRitmo_Sondeo ritmo) {
    ritmo_ = ritmo;
    rangos_ = rangos;
    pendientes_.clear();
    const int intentos = ritmo == TRitmo_Sondeo::Rapido ? 1 : Intentos_Minucioso;
    for (const TRango_Sondeo& r : rangos)
        for (int n = r.Desde; n <= r.Hasta; ++n)
            pendientes_.append({r.Tipo, n, intentos});
    siguiente_ = 0;
    silenciosos_.clear();
    servidos_por_.clear();
    por_modelo_.clear();
    servidos_ = problemas_ = 0;
    choques_.clear();
    filas_.clear();
    Sigue();
}

bool TSondeo::Reanuda() {
    if (!Lee_Avance(Registro().Avance_Sondeo()))
        return false;
    filas_.clear();
    Sigue();
    return true;
}

void TSondeo::Repite_Silenciosos() {
    pendientes_.clear();
    for (TPendiente p : std::as_const(silenciosos_)) {
        p.Intentos = Intentos_Minucioso - 1;
        pendientes_.append(p);
    }
    silenciosos_.clear();
    siguiente_ = 0;
    Sigue();
}

void TSondeo::Para() {
    parar_ = true;
    if (std::exchange(pausado_, false))
        Termina();
}

QString TSondeo::Codigo_Actual() const {
    if (pendientes_.isEmpty())
        return {};
    const TPendiente& p = pendientes_[std::min(siguiente_, Total() - 1)];
    return Codigo_De(p.Tipo, p.Numero);
}

int TSondeo::Decoders() const {
    int n = 0;
    for (int cuantos : por_modelo_)
        n += cuantos;
    return n;
}

void TSondeo::Sigue() {
    Activa(true);
    pausado_ = parar_ = false;
    while (siguiente_ < Total() && !parar_) {
        try {
            if (!Sondea(pendientes_[siguiente_]))
                break;
        } catch (const ESerialLine&) {
            // The adapter went away: this code was not finished, and nothing of it recorded.
            pausado_ = true;
        } catch (...) {
            // Anything else ends the survey where it stands, the routing given back.
            Activa(false);
            throw;
        }
        // A read-out cut short by the port is no answer of the decoder's either.
        if (pausado_ || !Estado_Linea().Abierta) {
            pausado_ = true;
            emit Pausa();
            return;
        }
        ++siguiente_;
        Guarda_Avance();
        emit Codigo_Hecho();
    }
    Termina();
}

void TSondeo::Termina() {
    // Stopped part of the way, the record keeps where; done, it keeps nothing to resume.
    if (siguiente_ >= Total())
        Registro().Pon_Avance_Sondeo({});
    Activa(false);
    emit Fin();
}

const TSondeo::TServido* TSondeo::Servido_Por(const TPendiente& p) const {
    const qint64 valor = Valor_Digitos(p.Numero);
    for (const TServido& s : servidos_por_)
        if (s.Tipo == p.Tipo && s.Desde <= valor && valor <= s.Hasta)
            return &s;
    return nullptr;
}

bool TSondeo::Sondea(const TPendiente& p) {
    const QString codigo = Codigo_De(p.Tipo, p.Numero);
    if (const TServido* s = Servido_Por(p)) {
        ++servidos_;
        filas_.append(Fila(codigo, TFila_Sondeo::TClase::Servido));
        filas_.last().Por = s->Por;
        return true;
    }
    uint8_t identificacion = 0;
    bool respondido = false;
    for (int i = 0; i < p.Intentos && !respondido; ++i) {
        // Stop is taken between attempts; the code is then not done.
        if (i > 0 && parar_)
            return false;
        respondido = Interroga_Dispositivo(codigo, identificacion, 1);
    }
    if (!respondido) {
        silenciosos_.append(p);
        filas_.append(Fila(codigo, TFila_Sondeo::TClase::Silencioso));
        return true;
    }
    Lee(p, codigo, identificacion);
    return true;
}

void TSondeo::Lee(const TPendiente& p, const QString& codigo, uint8_t identificacion) {
    const std::vector<const TModelo*> modelos = Modelos_Por_Identificacion(identificacion);
    if (modelos.empty()) {
        filas_.append(Fila(codigo, TFila_Sondeo::TClase::Desconocido, identificacion));
        return;
    }
    // The read-out is taken as the longest of the models would send it; its length then says
    // which of them it was.
    TForma_Lectura forma{identificacion, 0};
    for (const TModelo* m : modelos)
        forma.Valores = std::max(forma.Valores, m->Tramas);
    lectura_.Empieza(forma);
    datos_.clear();
    fin_.reset();
    Solicita_Programacion(codigo);
    const bool identificado = Espera_Lectura();

    std::vector<const TModelo*> posibles = modelos;
    if (identificado && !fin_->Otro_Modelo)
        posibles = Por_Forma(modelos, static_cast<int>(datos_.size()));
    std::optional<TFallo_Sondeo> fallo;
    if (datos_.isEmpty() && !identificado)
        fallo = TFallo_Sondeo::Sin_Lectura;
    else if (identificado && fin_->Otro_Modelo)
        fallo = TFallo_Sondeo::Otra_Identificacion;
    else if (!identificado || posibles.empty())
        fallo = TFallo_Sondeo::Incompleta;

    // Each output's time and setting, while the decoder is still in programming mode.
    QMap<int, TAjuste_Leido> ajustes;
    if (!fallo && posibles.size() == 1) {
        const TModelo& m = *posibles.front();
        const QString letra = Letra_Codigo(m.Tipo_Codigo);
        for (int n : Salidas_Con_Ajuste(m, datos_)) {
            const QString salida = Codigo_Salida(datos_, n);
            ajustes[n].Tiempo = Lee_Valor_Salida(n, salida, letra);
            if (m.Familia == TFamilia::Reles)
                ajustes[n].Estado = Lee_Estado_Salida(n, salida, letra);
        }
    }
    Cierra(fallo || posibles.empty() ? modelos : posibles);
    if (!Estado_Linea().Abierta)
        return; // the port went away meanwhile: nothing is recorded, the code is done again
    if (fallo) {
        Anota_Problema(codigo, identificacion, *fallo);
        return;
    }

    // Where the length leaves several, the record may know which is at this code.
    if (posibles.size() > 1)
        if (const TModelo* conocido = Conocido(posibles, p.Numero, codigo))
            posibles = {conocido};
    TSondeo_Registro sondeo;
    sondeo.Puerto = Sys_Port;
    sondeo.Leida = Configuracion_Leida(*posibles.front(), datos_, ajustes);
    TFila_Sondeo fila = Fila(codigo, TFila_Sondeo::TClase::Leido, identificacion);
    for (const TModelo* m : posibles) {
        fila.Referencias.append(m->Referencia);
        // Its codes under each model it may be, so that it is not read again at another.
        Anota_Servidos(Configuracion_Leida(*m, datos_, ajustes), *m, codigo);
    }
    if (posibles.size() > 1) {
        // Its values as a call decoder among them shows them, which keep every frame's word:
        // the record words them as the model the installer settles on, with the codes it
        // answers (Configuracion_Decidida).
        const auto llamada = std::find_if(posibles.begin(), posibles.end(), [](const TModelo* m) {
            return m->Familia == TFamilia::Llamada;
        });
        if (llamada != posibles.end())
            sondeo.Leida = Configuracion_Leida(**llamada, datos_);
        sondeo.Leida.Referencia = 0;
        sondeo.Leida.Codigos.clear();
        sondeo.Posibles = fila.Referencias;
    }
    for (const QString& choque : Registro().Choques(sondeo.Leida))
        if (!choques_.contains(choque))
            choques_.append(choque);
    Registro().Sondeo(sondeo);
    ++por_modelo_[sondeo.Leida.Referencia];
    filas_.append(fila);
}

bool TSondeo::Espera_Lectura() {
    leyendo_ = true;
    vencido_ = false;
    plazo_->start();
    struct Fin {
        TSondeo& s;
        ~Fin() {
            s.leyendo_ = false;
            s.plazo_->stop();
        }
    } fin{*this};
    while (!fin_ && !vencido_)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return fin_ && fin_->Con_Identificacion;
}

void TSondeo::Recibe(const Trama_Dec& trama) {
    // Frames outside a read-out of ours (a button pressed meanwhile) get no acknowledgement:
    // the decoder ends its read-out by itself.
    if (!leyendo_ || fin_)
        return;
    const TLectura_Decoder::TPaso paso = lectura_.Recibe(trama);
    if (paso.Acuse)
        Enlace().Envia_Trama(*paso.Acuse);
    if (paso.Valor >= 0) {
        if (paso.Empieza)
            datos_.clear();
        datos_.append(trama);
        plazo_->start();
    }
    if (paso.Con_Identificacion)
        fin_ = paso;
}

void TSondeo::Cierra(const std::vector<const TModelo*>& modelos) {
    std::vector<Trama_Dec> cierres;
    for (const TModelo* m : modelos)
        if (std::find(cierres.begin(), cierres.end(), m->Cierre) == cierres.end())
            cierres.push_back(m->Cierre);
    for (const Trama_Dec& c : cierres)
        Enlace().Transact(c[0], c[1], c[3], c[2], false);
}

void TSondeo::Anota_Problema(const QString& codigo, uint8_t identificacion, TFallo_Sondeo fallo) {
    Registro().Problema_Sondeo({codigo, identificacion, fallo, Sys_Port});
    ++problemas_;
    filas_.append(Fila(codigo, TFila_Sondeo::TClase::Problema, identificacion));
    filas_.last().Fallo = fallo;
}

void TSondeo::Anota_Servidos(const TConfiguracion& leida, const TModelo& modelo,
                             const QString& codigo) {
    for (const TCodigo_Registro& c : leida.Codigos)
        servidos_por_.append({modelo.Tipo_Codigo, c.Desde, c.Hasta, codigo});
}

// How far it got, in words of its own: the ranges, the pace, the codes of the pass under way
// and the next one, and what was found so far.
void TSondeo::Guarda_Avance() {
    if (siguiente_ >= Total()) {
        Registro().Pon_Avance_Sondeo({});
        return;
    }
    auto pendiente = [](const TPendiente& p) {
        return QJsonArray{static_cast<int>(p.Tipo), p.Numero, p.Intentos};
    };
    QJsonArray pendientes;
    for (const TPendiente& p : pendientes_)
        pendientes.append(pendiente(p));
    QJsonArray silenciosos;
    for (const TPendiente& p : silenciosos_)
        silenciosos.append(pendiente(p));
    QJsonArray servidos;
    for (const TServido& s : servidos_por_)
        servidos.append(QJsonArray{static_cast<int>(s.Tipo), s.Desde, s.Hasta, s.Por});
    QJsonArray rangos;
    for (const TRango_Sondeo& r : rangos_)
        rangos.append(QJsonArray{static_cast<int>(r.Tipo), r.Desde, r.Hasta});
    QJsonObject modelos;
    for (auto i = por_modelo_.cbegin(); i != por_modelo_.cend(); ++i)
        modelos.insert(QString::number(i.key()), i.value());
    const QJsonObject avance{{QStringLiteral("ritmo"), static_cast<int>(ritmo_)},
                             {QStringLiteral("rangos"), rangos},
                             {QStringLiteral("pendientes"), pendientes},
                             {QStringLiteral("siguiente"), siguiente_},
                             {QStringLiteral("silenciosos"), silenciosos},
                             {QStringLiteral("servidos"), servidos},
                             {QStringLiteral("modelos"), modelos},
                             {QStringLiteral("cuenta_servidos"), servidos_},
                             {QStringLiteral("problemas"), problemas_},
                             {QStringLiteral("choques"), QJsonArray::fromStringList(choques_)}};
    Registro().Pon_Avance_Sondeo(
        QString::fromUtf8(QJsonDocument(avance).toJson(QJsonDocument::Compact)));
}

bool TSondeo::Lee_Avance(const QString& texto) {
    const QJsonObject a = QJsonDocument::fromJson(texto.toUtf8()).object();
    const QJsonArray pendientes = a.value(QStringLiteral("pendientes")).toArray();
    const int siguiente = a.value(QStringLiteral("siguiente")).toInt(-1);
    if (pendientes.isEmpty() || siguiente < 0 || siguiente >= pendientes.size())
        return false;
    // Only the types a survey queries: anything else is not a survey's own words.
    auto tipo = [](const QJsonValue& v, TTipo_Codigo& t) {
        const int n = v.toInt(-1);
        if (n < static_cast<int>(TTipo_Codigo::Audio) || n > static_cast<int>(TTipo_Codigo::B))
            return false;
        t = static_cast<TTipo_Codigo>(n);
        return true;
    };
    auto lee_pendientes = [&](const QJsonArray& filas, QList<TPendiente>& destino) {
        destino.clear();
        for (const QJsonValue& v : filas) {
            const QJsonArray f = v.toArray();
            TPendiente p{};
            if (!tipo(f.at(0), p.Tipo))
                return false;
            p.Numero = f.at(1).toInt();
            p.Intentos = std::clamp(f.at(2).toInt(1), 1, Intentos_Minucioso);
            destino.append(p);
        }
        return true;
    };
    QList<TPendiente> leidos, silenciosos;
    if (!lee_pendientes(pendientes, leidos) ||
        !lee_pendientes(a.value(QStringLiteral("silenciosos")).toArray(), silenciosos))
        return false;
    pendientes_ = leidos;
    silenciosos_ = silenciosos;
    siguiente_ = siguiente;
    ritmo_ = a.value(QStringLiteral("ritmo")).toInt() == static_cast<int>(TRitmo_Sondeo::Rapido)
                 ? TRitmo_Sondeo::Rapido
                 : TRitmo_Sondeo::Minucioso;
    rangos_.clear();
    for (const QJsonValue& v : a.value(QStringLiteral("rangos")).toArray()) {
        const QJsonArray r = v.toArray();
        TRango_Sondeo rango;
        if (tipo(r.at(0), rango.Tipo))
            rangos_.append({rango.Tipo, r.at(1).toInt(), r.at(2).toInt()});
    }
    servidos_por_.clear();
    for (const QJsonValue& v : a.value(QStringLiteral("servidos")).toArray()) {
        const QJsonArray s = v.toArray();
        TServido servido{};
        if (tipo(s.at(0), servido.Tipo))
            servidos_por_.append(
                {servido.Tipo, s.at(1).toInteger(), s.at(2).toInteger(), s.at(3).toString()});
    }
    por_modelo_.clear();
    const QJsonObject modelos = a.value(QStringLiteral("modelos")).toObject();
    for (auto i = modelos.constBegin(); i != modelos.constEnd(); ++i)
        por_modelo_[i.key().toInt()] = i.value().toInt();
    servidos_ = a.value(QStringLiteral("cuenta_servidos")).toInt();
    problemas_ = a.value(QStringLiteral("problemas")).toInt();
    choques_.clear();
    for (const QJsonValue& v : a.value(QStringLiteral("choques")).toArray())
        choques_.append(v.toString());
    return true;
}
