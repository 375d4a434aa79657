#include "Estado_Instalacion.h"

#include "Json_Registro.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// A number as the decoder holds it: a Save writes "0012" or "005" where the next read-out
// shows "12" or "5", and both are the same value.
QString Normalizado(const QString& texto) {
    const QString limpio = texto.trimmed().toUpper();
    static const QRegularExpression Digitos(QStringLiteral("^[0-9A-F]+$"));
    if (!Digitos.match(limpio).hasMatch()) {
        return limpio;
    }
    qsizetype ceros = 0;
    while (ceros + 1 < limpio.size() && limpio[ceros] == QLatin1Char('0')) {
        ++ceros;
    }
    return limpio.mid(ceros);
}

// A value as the record compares it: digits as Normalizado says, a key as itself.
QString Normalizado(const TFrase& valor) {
    return valor.Es_Literal() ? Normalizado(valor.Literal()) : Texto_Frase(valor);
}

// The model and the values that tell a configuration apart. Where each value is shown
// (Lugar) is left out: an earlier version stored it worded in the language of the time.
QString Firma(int referencia, const QList<TValor_Registro>& valores) {
    QString firma = QString::number(referencia);
    for (const TValor_Registro& v : valores) {
        firma += QChar(0x1E) + v.Campo + QChar(0x1F) + Normalizado(v.Texto);
    }
    return firma;
}

bool Mismo_Codigo(const TCodigo_Registro& a, const TCodigo_Registro& b) {
    return a.Espacio == b.Espacio && a.Desde == b.Desde && a.Hasta == b.Hasta && a.Lugar == b.Lugar;
}

// A partly acknowledged Save leaves the decoder answering either its former or its new code
// at each place: until a read-out tells, both count for clashes.
QList<TCodigo_Registro> Union(QList<TCodigo_Registro> antes,
                              const QList<TCodigo_Registro>& nuevos) {
    for (const TCodigo_Registro& c : nuevos) {
        if (std::none_of(antes.cbegin(), antes.cend(),
                         [&c](const TCodigo_Registro& a) { return Mismo_Codigo(a, c); })) {
            antes.append(c);
        }
    }
    return antes;
}

bool Mismos_Codigos(const QList<TCodigo_Registro>& a, const QList<TCodigo_Registro>& b) {
    const auto en = [](const QList<TCodigo_Registro>& lista, const TCodigo_Registro& c) {
        return std::any_of(lista.cbegin(), lista.cend(), [&c](const TCodigo_Registro& o) {
            return o.Espacio == c.Espacio && o.Desde == c.Desde && o.Hasta == c.Hasta;
        });
    };
    return !a.isEmpty() && a.size() == b.size() &&
           std::all_of(a.cbegin(), a.cend(), [&](const TCodigo_Registro& c) { return en(b, c); });
}

void Pon_Valor(QList<TValor_Registro>& valores, const TValor_Registro& valor) {
    for (TValor_Registro& v : valores) {
        if (v.Campo == valor.Campo) {
            v = valor;
            return;
        }
    }
    valores.append(valor);
}

} // namespace

void TEstado_Instalacion::Carga(const QList<TDecoder_Registro>& decoders,
                                const QHash<qint64, QList<TEvento_Registro>>& sin_lectura) {
    for (const TDecoder_Registro& d : decoders) {
        TDecoder_Registro& propio = decoders_[d.Id];
        propio = d;
        propio.Configuracion.clear();
        propio.Codigos.clear();
        Cambia(propio, d.Configuracion, d.Codigos);
        ultimo_id_ = std::max(ultimo_id_, d.Id);
    }
    for (auto g = sin_lectura.cbegin(); g != sin_lectura.cend(); ++g) {
        if (decoders_.contains(g.key())) {
            for (const TEvento_Registro& e : g.value()) {
                Anota_Dudosos(g.key(), e.Valores, e.Aceptadas, e.Todo_Aceptado);
            }
        }
    }
}

void TEstado_Instalacion::Recarga(const QList<TDecoder_Registro>& decoders,
                                  const QHash<qint64, QList<TEvento_Registro>>& sin_lectura) {
    const QHash<int, qint64> editores = actual_;
    *this = TEstado_Instalacion();
    Carga(decoders, sin_lectura);
    for (auto e = editores.cbegin(); e != editores.cend(); ++e) {
        if (decoders_.contains(e.value())) {
            actual_.insert(e.key(), e.value());
        }
    }
}

TDecoder_Registro& TEstado_Instalacion::Nuevo(int referencia) {
    TDecoder_Registro& d = decoders_[++ultimo_id_];
    d.Id = ultimo_id_;
    d.Referencia = referencia;
    firmas_.insert(Firma(referencia, {}), d.Id);
    return d;
}

void TEstado_Instalacion::Cambia(TDecoder_Registro& d, const QList<TValor_Registro>& valores,
                                 const QList<TCodigo_Registro>& codigos) {
    firmas_.remove(Firma(d.Referencia, d.Configuracion), d.Id);
    indice_.Quita(d.Id, d.Codigos);
    d.Configuracion = valores;
    d.Codigos = codigos;
    firmas_.insert(Firma(d.Referencia, d.Configuracion), d.Id);
    indice_.Pon(d.Id, d.Codigos);
}

const TDecoder_Registro& TEstado_Instalacion::Lectura(const TConfiguracion& leida,
                                                      const QDateTime& momento) {
    TDecoder_Registro* d = nullptr;
    // An empty decoder stores nothing that would tell it from another empty one.
    if (!leida.Vacia) {
        const QList<qint64> iguales = firmas_.values(Firma(leida.Referencia, leida.Valores));
        const qint64 actual = actual_.value(leida.Referencia, 0);
        // Re-reading the decoder the editor shows is the usual case; else the latest match.
        if (iguales.contains(actual)) {
            d = &decoders_[actual];
        } else if (!iguales.isEmpty()) {
            d = &decoders_[*std::max_element(iguales.cbegin(), iguales.cend())];
        } else if (const auto a = decoders_.find(actual);
                   a != decoders_.end() && Muestra_Dudoso(*a, leida)) {
            d = &*a;
        } else {
            // After a restart no editor shows a decoder: one whose Save was cut short may.
            d = Con_Dudosos(leida);
        }
    }
    if (!d) {
        d = &Nuevo(leida.Referencia);
    }
    Cambia(*d, leida.Valores, leida.Codigos);
    sin_acuse_.remove(d->Id);
    d->Ultima_Lectura = momento;
    d->Sondeado = false;
    d->Confirmado = true;
    actual_.insert(leida.Referencia, d->Id);
    return *d;
}

TDecoder_Registro& TEstado_Instalacion::Del_Editor(int referencia) {
    auto actual = decoders_.find(actual_.value(referencia, 0));
    TDecoder_Registro& d = actual != decoders_.end() ? *actual : Nuevo(referencia);
    actual_.insert(referencia, d.Id);
    return d;
}

bool TEstado_Instalacion::Anota_Dudosos(qint64 decoder, const QList<TValor_Registro>& valores,
                                        const QList<bool>& aceptadas, bool todo_aceptado) {
    bool alguno = false;
    QList<TValor_Registro>& dudosos = sin_acuse_[decoder];
    for (int i = 0; i < valores.size(); ++i) {
        const TValor_Registro& v = valores[i];
        if (todo_aceptado || aceptadas.value(i, false)) {
            alguno = true;
            dudosos.removeIf([&](const TValor_Registro& d) { return d.Campo == v.Campo; });
        } else if (std::none_of(dudosos.cbegin(), dudosos.cend(), [&](const TValor_Registro& d) {
                       return d.Campo == v.Campo && Normalizado(d.Texto) == Normalizado(v.Texto);
                   })) {
            dudosos.append(v);
        }
    }
    if (dudosos.isEmpty()) {
        sin_acuse_.remove(decoder);
    }
    return alguno;
}

const TDecoder_Registro& TEstado_Instalacion::Intencion(const TConfiguracion& nueva) {
    TDecoder_Registro& d = Del_Editor(nueva.Referencia);
    Anota_Dudosos(d.Id, nueva.Valores, {}, false);
    d.Confirmado = false;
    return d;
}

const TDecoder_Registro& TEstado_Instalacion::Grabacion(const TGrabacion_Registro& g,
                                                        const QDateTime& momento) {
    TDecoder_Registro& d = Del_Editor(g.Nueva.Referencia);
    QList<TValor_Registro> valores = d.Configuracion;
    for (int i = 0; i < g.Nueva.Valores.size(); ++i) {
        if (g.Todo_Aceptado || g.Aceptadas.value(i, false)) {
            Pon_Valor(valores, g.Nueva.Valores[i]);
        }
    }
    const bool alguno = Anota_Dudosos(d.Id, g.Nueva.Valores, g.Aceptadas, g.Todo_Aceptado);
    const QList<TCodigo_Registro> codigos = g.Todo_Aceptado ? g.Nueva.Codigos
                                            : alguno        ? Union(d.Codigos, g.Nueva.Codigos)
                                                            : d.Codigos;
    Cambia(d, valores, codigos);
    d.Ultima_Grabacion = momento;
    d.Resultado = g.Resultado;
    // What was written, acknowledged or not, is known only once a read-out shows it.
    d.Confirmado = false;
    return d;
}

bool TEstado_Instalacion::Muestra_Dudoso(const TDecoder_Registro& decoder,
                                         const TConfiguracion& leida) const {
    const auto dudosos = sin_acuse_.constFind(decoder.Id);
    const bool conocido = !decoder.Configuracion.isEmpty();
    if (dudosos == sin_acuse_.cend() || decoder.Referencia != leida.Referencia ||
        (conocido && decoder.Configuracion.size() != leida.Valores.size())) {
        return false;
    }
    bool escrito = false; // some value written shows
    for (const TValor_Registro& v : leida.Valores) {
        const QString leido = Normalizado(v.Texto);
        const auto es = [&](const TValor_Registro& c) {
            return c.Campo == v.Campo && Normalizado(c.Texto) == leido;
        };
        if (std::any_of(dudosos->cbegin(), dudosos->cend(), es)) {
            escrito = true;
        } else if (conocido &&
                   std::none_of(decoder.Configuracion.cbegin(), decoder.Configuracion.cend(), es)) {
            return false;
        }
    }
    return conocido || escrito;
}

TDecoder_Registro* TEstado_Instalacion::Con_Dudosos(const TConfiguracion& leida) {
    TDecoder_Registro* hallado = nullptr;
    for (auto d = sin_acuse_.cbegin(); d != sin_acuse_.cend(); ++d) {
        const auto decoder = decoders_.find(d.key());
        if (decoder != decoders_.end() && (!hallado || decoder->Id > hallado->Id) &&
            Muestra_Dudoso(*decoder, leida)) {
            hallado = &*decoder;
        }
    }
    return hallado;
}

const TDecoder_Registro* TEstado_Instalacion::Busca(qint64 decoder) const {
    const auto d = decoders_.constFind(decoder);
    return d != decoders_.cend() ? &*d : nullptr;
}

void TEstado_Instalacion::Pon_Detalles(qint64 decoder, const QString& ubicacion,
                                       const QString& nota) {
    auto d = decoders_.find(decoder);
    if (d != decoders_.end()) {
        d->Ubicacion = ubicacion;
        d->Nota = nota;
    }
}

const TCodigo_Registro& TEstado_Instalacion::Codigo(const TIndice_Codigos::TEntrada& e) const {
    return decoders_.constFind(e.Decoder)->Codigos[e.Indice];
}

QList<TCoincidencia> TEstado_Instalacion::Choques(const TConfiguracion& nueva) const {
    QList<TCoincidencia> choques;
    const qint64 propio = actual_.value(nueva.Referencia, 0);
    for (const TCodigo_Registro& c : nueva.Codigos) {
        indice_.Solapes(c, [&](const TIndice_Codigos::TEntrada& e) {
            if (e.Decoder != propio) {
                choques.append({propio, c, e.Decoder, Codigo(e)});
            }
        });
    }
    return choques;
}

QList<TCoincidencia> TEstado_Instalacion::Choques_Instalacion() const {
    QList<TCoincidencia> choques;
    indice_.Pares([&](const TIndice_Codigos::TEntrada& a, const TIndice_Codigos::TEntrada& b) {
        const auto [uno, otro] = a.Decoder < b.Decoder ? std::pair(a, b) : std::pair(b, a);
        choques.append({uno.Decoder, Codigo(uno), otro.Decoder, Codigo(otro)});
    });
    return choques;
}

QList<int> TEstado_Instalacion::Modelos_Codigo(const TCodigo_Registro& codigo) const {
    QList<int> modelos;
    indice_.Solapes(codigo, [&](const TIndice_Codigos::TEntrada& e) {
        const TDecoder_Registro& d = *decoders_.constFind(e.Decoder);
        // A decoder whose model is undecided may be any of its possible ones.
        for (int referencia : d.Referencia != 0 ? QList<int>{d.Referencia} : d.Posibles) {
            if (!modelos.contains(referencia)) {
                modelos.append(referencia);
            }
        }
    });
    return modelos;
}

TDecoder_Registro* TEstado_Instalacion::Del_Modelo(int referencia, const TConfiguracion& leida) {
    const QList<qint64> iguales = firmas_.values(Firma(referencia, leida.Valores));
    if (!iguales.isEmpty())
        return &decoders_[*std::max_element(iguales.cbegin(), iguales.cend())];
    for (auto d = decoders_.end(); d != decoders_.begin();) {
        --d;
        if (d->Referencia == referencia && Mismos_Codigos(d->Codigos, leida.Codigos))
            return &*d;
    }
    return nullptr;
}

const TDecoder_Registro& TEstado_Instalacion::Sondeo(const TConfiguracion& leida,
                                                     const QList<int>& posibles,
                                                     const QDateTime& momento) {
    const bool decidido = leida.Referencia != 0;
    const QList<int> modelos = decidido ? QList<int>{leida.Referencia} : posibles;
    TDecoder_Registro* d = nullptr;
    int referencia = leida.Referencia;
    // An empty decoder stores nothing that would tell it from another empty one.
    for (qsizetype i = 0; !leida.Vacia && !d && i < modelos.size(); ++i) {
        if ((d = Del_Modelo(modelos[i], leida)))
            referencia = modelos[i];
    }
    // Undecided, and surveyed before: the same undecided decoder.
    if (!d && !decidido && !leida.Vacia)
        d = Del_Modelo(0, leida);
    if (!d) {
        d = &Nuevo(leida.Referencia);
        d->Posibles = decidido ? QList<int>() : posibles;
    } else if (d->Referencia == 0 && referencia != 0) {
        d->Posibles.clear();
    }
    if (d->Referencia != referencia && referencia != 0) {
        firmas_.remove(Firma(d->Referencia, d->Configuracion), d->Id);
        d->Referencia = referencia;
        firmas_.insert(Firma(d->Referencia, d->Configuracion), d->Id);
    }
    Cambia(*d, leida.Valores, leida.Codigos);
    sin_acuse_.remove(d->Id);
    d->Ultima_Lectura = momento;
    d->Sondeado = true;
    d->Confirmado = true;
    return *d;
}

bool TEstado_Instalacion::Decide_Modelo(const TDecoder_Registro& decidido) {
    const auto d = decoders_.find(decidido.Id);
    if (d == decoders_.end() || d->Referencia != 0 || !d->Posibles.contains(decidido.Referencia))
        return false;
    firmas_.remove(Firma(d->Referencia, d->Configuracion), d->Id);
    d->Referencia = decidido.Referencia;
    d->Posibles.clear();
    Cambia(*d, decidido.Configuracion, decidido.Codigos);
    return true;
}
