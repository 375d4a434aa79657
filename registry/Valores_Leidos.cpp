#include "Valores_Leidos.h"

#include "Idiomas.h"

namespace {

constexpr int Ancho_Llamada = 4;
constexpr int Ancho_Tres = 3;
constexpr int Bit_Minutos = 0x80;
const QString Palabra_Vacia = QStringLiteral("FFFF");
const QString Sin_Direccion = QStringLiteral("8F00");

// One value of the Current column before it is worded: the control's object name, where it
// is (an output number, or the key of its row's label) and under which heading, and what it
// holds in the language's own terms.
struct TValor_Leido {
    QString Campo;
    int Salida = 0;        // 1 … N for a grid of numbered outputs; 0: a labelled row
    QString Clave_Fila;    // the row's label, when it has no number
    QString Clave_Columna; // the heading of the value's column in a row of several
    enum class TClase { Texto, Si_No, Clave } Clase = TClase::Texto;
    QString Texto;        // Texto: as shown; Clave: the key of the text shown
    bool Marcado = false; // Si_No
};

TValor_Leido De_Salida(const QString& campo, int salida, const QString& columna = {}) {
    TValor_Leido v;
    v.Campo = campo;
    v.Salida = salida;
    v.Clave_Columna = columna;
    return v;
}

TValor_Leido De_Fila(const QString& campo, const QString& fila) {
    TValor_Leido v;
    v.Campo = campo;
    v.Clave_Fila = fila;
    return v;
}

// Where a value or a code is, kept as the record keeps it and worded when shown: "Output 2",
// "Output 2, Time", "Start address".
TFrase Lugar(const TValor_Leido& v) {
    TFrase lugar = v.Salida > 0 ? TFrase::De_Clave(QStringLiteral("GEN_MEN03")) +
                                      TFrase(QLatin1Char(' ') + QString::number(v.Salida))
                                : TFrase::De_Clave(v.Clave_Fila);
    if (!v.Clave_Columna.isEmpty())
        lugar += TFrase(QStringLiteral(", ")) + TFrase::De_Clave(v.Clave_Columna);
    return lugar;
}

// The one place where a value read becomes what the record keeps.
TValor_Registro Redacta(const TValor_Leido& v) {
    TFrase texto(v.Texto);
    if (v.Clase == TValor_Leido::TClase::Si_No)
        texto = TFrase::De_Clave(v.Marcado ? QStringLiteral("GEN_MEN103")
                                           : QStringLiteral("GEN_MEN104"));
    else if (v.Clase == TValor_Leido::TClase::Clave)
        texto = v.Texto.isEmpty() ? TFrase() : TFrase::De_Clave(v.Texto);
    return {v.Campo, Lugar(v), texto};
}

// A code as the editors add it: hexadecimal, as the decoder holds the digits.
void Anade_Codigo(QList<TCodigo_Registro>& codigos, TEspacio_Codigo espacio, const QString& texto,
                  const TFrase& lugar) {
    bool valido = false;
    const qint64 valor = texto.toLongLong(&valido, 16);
    if (valido && !texto.trimmed().isEmpty())
        codigos.append({espacio, valor, valor, texto, lugar});
}

QString Edit(int n) {
    return QStringLiteral("Edit%1").arg(n);
}

// One code per output: call decoders (four digits), the panel decoder (three).
void Codigos(const TModelo& modelo, const QList<Trama_Dec>& datos, TConfiguracion& c) {
    const int ancho = modelo.Familia == TFamilia::Panel ? Ancho_Tres : Ancho_Llamada;
    const int n = modelo.Tramas;
    for (int k = 1; k <= n; ++k) {
        TValor_Leido v = De_Salida(Edit(n + k), k);
        v.Texto = Codigo_Leido(datos.value(k - 1), ancho);
        c.Valores.append(Redacta(v));
        Anade_Codigo(c.Codigos, modelo.Espacio, v.Texto, c.Valores.constLast().Lugar);
    }
}

// Eight outputs of code, time and setting: sensors (time unit) and relays (initial state).
void Salidas(const TModelo& modelo, const QList<Trama_Dec>& datos,
             const QMap<int, TAjuste_Leido>& ajustes, TConfiguracion& c) {
    constexpr int Salidas = 8;
    const bool sensores = modelo.Familia == TFamilia::Sensores;
    const QString clave_ajuste =
        sensores ? QStringLiteral("GEN_MEN06") : QStringLiteral("GEN_MEN016");
    for (int n = 1; n <= Salidas; ++n) {
        TValor_Leido codigo = De_Salida(Edit(n), n, QStringLiteral("GEN_MEN04"));
        codigo.Texto = Codigo_Salida(datos, n);
        TValor_Leido tiempo = De_Salida(Edit(3 * Salidas + n), n, QStringLiteral("GEN_MEN05"));
        TValor_Leido ajuste =
            De_Salida(QStringLiteral("ComboBoxEx%1").arg(Salidas + n), n, clave_ajuste);
        // Only an output with a code has its time and setting read.
        if (!codigo.Texto.isEmpty()) {
            const TAjuste_Leido leido = ajustes.value(n);
            if (sensores) {
                const TTiempo_Sensor t = Tiempo_Sensor(leido.Tiempo);
                tiempo.Texto = t.Cuenta;
                ajuste.Clase = TValor_Leido::TClase::Clave;
                ajuste.Texto =
                    t.Minutos ? QStringLiteral("GEN_MEN08") : QStringLiteral("GEN_MEN07");
            } else {
                tiempo.Texto = leido.Tiempo;
                ajuste.Texto = leido.Estado.toUpper() == QLatin1String("ON")
                                   ? QStringLiteral("ON")
                                   : QStringLiteral("OFF");
            }
        }
        for (const TValor_Leido& v : {codigo, tiempo, ajuste})
            c.Valores.append(Redacta(v));
        Anade_Codigo(c.Codigos, modelo.Espacio, codigo.Texto, Lugar(De_Salida({}, n)));
    }
}

// The address range of the 6734: start, end and the entrance flag (the fourth frame holds
// nothing shown).
void Rango(const TModelo& modelo, const QList<Trama_Dec>& datos, TConfiguracion& c) {
    auto direccion = [&](int k) {
        const QString palabra = Palabra_Leida(datos.value(k));
        return palabra == Palabra_Vacia ? QString() : palabra;
    };
    TValor_Leido inicio = De_Fila(Edit(3), QStringLiteral("F_GEN00"));
    inicio.Texto = direccion(0);
    TValor_Leido fin = De_Fila(Edit(4), QStringLiteral("F_GEN01"));
    fin.Texto = direccion(1);
    TValor_Leido entrada = De_Fila(QStringLiteral("C2"), QStringLiteral("F_GEN02"));
    entrada.Clase = TValor_Leido::TClase::Si_No;
    // A decoder without a range shows no entrance either.
    entrada.Marcado = Palabra_Leida(datos.value(2)) == Palabra_Vacia &&
                      !(inicio.Texto.isEmpty() && fin.Texto.isEmpty());
    for (const TValor_Leido& v : {inicio, fin, entrada})
        c.Valores.append(Redacta(v));
    c.Vacia = inicio.Texto.isEmpty() && fin.Texto.isEmpty();
    Anade_Codigo(c.Codigos, modelo.Espacio, inicio.Texto, c.Valores[0].Lugar);
    if (c.Codigos.isEmpty())
        return;
    // The decoder answers every address from its start to its end.
    bool valido = false;
    const qint64 hasta = fin.Texto.toLongLong(&valido, 16);
    if (valido && hasta > c.Codigos[0].Desde) {
        c.Codigos[0].Hasta = hasta;
        c.Codigos[0].Texto = inicio.Texto + QStringLiteral("–") + fin.Texto;
    }
}

// The converter's own bus address.
void Direccion(const TModelo& modelo, const QList<Trama_Dec>& datos, TConfiguracion& c) {
    const QString palabra = Palabra_Leida(datos.value(0));
    TValor_Leido v = De_Fila(Edit(1), QStringLiteral("GEN_MEN035"));
    v.Texto = palabra == Sin_Direccion ? QString() : palabra;
    c.Valores.append(Redacta(v));
    Anade_Codigo(c.Codigos, modelo.Espacio, v.Texto, c.Valores[0].Lugar);
}

} // namespace

QString Palabra_Leida(const Trama_Dec& trama) {
    return QStringLiteral("%1%2")
        .arg(trama[3], 2, 16, QLatin1Char('0'))
        .arg(trama[2], 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString Codigo_Leido(const Trama_Dec& trama, int ancho) {
    const QString texto = Palabra_Leida(trama).right(ancho);
    return texto == QString(ancho, u'F') ? QString() : texto;
}

TTiempo_Sensor Tiempo_Sensor(const QString& leido) {
    const int numero = leido.isEmpty() ? -1 : leido.toInt();
    const bool minutos = numero >= Bit_Minutos;
    return {QString::number(minutos ? numero - Bit_Minutos : numero), minutos};
}

QString Codigo_Salida(const QList<Trama_Dec>& datos, int n) {
    return Codigo_Leido(datos.value(n - 1), Ancho_Tres);
}

QList<int> Salidas_Con_Ajuste(const TModelo& modelo, const QList<Trama_Dec>& datos) {
    QList<int> salidas;
    if (modelo.Familia != TFamilia::Sensores && modelo.Familia != TFamilia::Reles)
        return salidas;
    for (int n = 1; n <= modelo.Tramas; ++n)
        if (!Codigo_Salida(datos, n).isEmpty())
            salidas.append(n);
    return salidas;
}

TConfiguracion Configuracion_Leida(const TModelo& modelo, const QList<Trama_Dec>& datos,
                                   const QMap<int, TAjuste_Leido>& ajustes) {
    TConfiguracion c;
    c.Referencia = modelo.Referencia;
    switch (modelo.Familia) {
    case TFamilia::Llamada:
    case TFamilia::Panel:
        Codigos(modelo, datos, c);
        c.Vacia = c.Codigos.isEmpty();
        break;
    case TFamilia::Sensores:
    case TFamilia::Reles:
        Salidas(modelo, datos, ajustes, c);
        c.Vacia = c.Codigos.isEmpty();
        break;
    case TFamilia::Torvik:
        Rango(modelo, datos, c);
        break;
    case TFamilia::Conversor:
        Direccion(modelo, datos, c);
        c.Vacia = c.Valores[0].Texto.isEmpty();
        break;
    case TFamilia::Digitalizador:
        break;
    }
    return c;
}

TConfiguracion Configuracion_Decidida(const TModelo& modelo,
                                      const QList<TValor_Registro>& como_llamada) {
    // Frame k's word is in the k-th value: its code as four digits, empty for FFFF (as is a
    // frame it has no value for).
    QList<Trama_Dec> datos;
    for (int k = 0; k < modelo.Tramas; ++k) {
        bool valida = false;
        const uint palabra = como_llamada.value(k).Texto.Literal().toUInt(&valida, 16);
        const uint dato = valida && palabra <= 0xFFFF ? palabra : 0xFFFF;
        datos.append(Trama_Dec(0, 0, uint8_t(dato), uint8_t(dato >> 8)));
    }
    return Configuracion_Leida(modelo, datos);
}
