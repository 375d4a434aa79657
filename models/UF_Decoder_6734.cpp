#include "UF_Decoder_6734.h"

#include "Conversion.h"
#include "F_Mensa.h"
#include "Idiomas.h"
#include "UComunicaciones.h"
#include "Ventanas.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

constexpr int Ancho = 4;
constexpr unsigned Rango_Maximo = 199;
const QString Vacio = QStringLiteral("FFFF");

// Start is Edit1 (New) and Edit3 (Current), end Edit2 and Edit4.
constexpr int Inicio = 1;
constexpr int Fin = 2;

} // namespace

TF_Decoder_6734::TF_Decoder_6734(QWidget* parent)
    : TF_Decoder(QStringLiteral("F_Decoder_6734"),
                 {QStringLiteral("6734"), QStringLiteral("torvik.png")}, parent) {
    TRejilla rejilla;
    rejilla.Numeros = false;
    auto edit = [](int k) {
        return TCelda{TTipo_Celda::Edit, QStringLiteral("Edit%1").arg(k), Ancho};
    };
    auto check = [](const char* nombre) {
        return TCelda{TTipo_Celda::Check, QString::fromLatin1(nombre), 0};
    };
    rejilla.Filas = {Fila_De_Clave(QStringLiteral("F_GEN00"), QStringLiteral("Label3"),
                                   QStringLiteral("Label5"), {edit(3)}, {edit(1)}),
                     Fila_De_Clave(QStringLiteral("F_GEN01"), QStringLiteral("Label4"),
                                   QStringLiteral("Label6"), {edit(4)}, {edit(2)}),
                     Fila_De_Clave(QStringLiteral("F_GEN02"), QStringLiteral("Label7"),
                                   QStringLiteral("Label8"), {check("C2")}, {check("C1")})};
    Construye_Rejilla(rejilla);
    C1 = findChild<QCheckBox*>(QStringLiteral("C1"));
    C2 = findChild<QCheckBox*>(QStringLiteral("C2"));
    Aplica_Textos();
}

void TF_Decoder_6734::Inicializa_Valores() {
    for (int k = 1; k <= 4; ++k)
        Edit(k)->clear();
    C1->setChecked(false);
    C2->setChecked(false);
    Edit(Inicio)->setFocus();
}

void TF_Decoder_6734::Pon_Valor(int k, const Trama_Dec& FTResul) {
    const QString palabra = Palabra(FTResul);
    if (k == 0 || k == 1) {
        Edit(k + 1)->setText(palabra == Vacio ? QString() : palabra);
        Edit(k + 3)->setText(Edit(k + 1)->text());
    } else if (k == 2) {
        C1->setChecked(palabra == Vacio);
        C2->setChecked(C1->isChecked());
    }
    // The fourth frame carries nothing this editor shows.
}

bool TF_Decoder_6734::Decoder_Vacio() const {
    return Edit(Inicio)->text().isEmpty() && Edit(Fin)->text().isEmpty();
}

void TF_Decoder_6734::T_Estado_TiempoInicialTimer() {
    if (Decoder_Vacio()) {
        C1->setChecked(false);
        C2->setChecked(false);
    }
    TF_Decoder::T_Estado_TiempoInicialTimer();
}

bool TF_Decoder_6734::Comprueba_Rango() const {
    const QString inicio = Edit(Inicio)->text();
    const QString fin = Edit(Fin)->text();
    if (inicio.isEmpty() || fin.isEmpty())
        return inicio.isEmpty() != fin.isEmpty();
    // Compared unsigned, so an end below the start is refused with the too wide ones.
    const unsigned rango = static_cast<unsigned>(StrToInt(fin) - StrToInt(inicio));
    return rango > Rango_Maximo;
}

void TF_Decoder_6734::B_SaveClick() {
    // Digits first: the range check would read "12 4" as a conversion error naming no field.
    Comprueba_Nuevos();
    if (Comprueba_Rango()) {
        Ventanas().F_Mensa03->exec();
        return;
    }
    TF_Decoder::B_SaveClick();
}

void TF_Decoder_6734::Comprueba_Nuevos() {
    // The range check reads " 124" as 124, but the address goes out digit by digit.
    Exige_Digitos(Edit(Inicio), Lugar_Fila(0));
    Exige_Digitos(Edit(Fin), Lugar_Fila(1));
}

void TF_Decoder_6734::Rellena_TODOS_CEROS_IZ() {
    for (int k : {Inicio, Fin})
        if (!Edit(k)->text().isEmpty())
            Edit(k)->setText(Rellena_Ceros_Iz(Edit(k)->text(), Ancho));
}

bool TF_Decoder_6734::Graba() {
    // An address is its own first digit followed by the other three; empty erases it.
    auto direccion = [this](int k) {
        const QString texto = Edit(k)->text();
        return texto.size() < 2 ? Escribe_Codigo_Salida(QStringLiteral("0"), {}, k)
                                : Escribe_Codigo_Salida(texto.left(1), texto.mid(1), k);
    };
    const bool inicio = Graba_Fila(0, [&] { return direccion(Inicio); });
    const bool fin = Graba_Fila(1, [&] { return direccion(Fin); });
    const bool entrada = Graba_Fila(2, [this] {
        return C1->isChecked()
                   ? Escribe_Codigo_Salida(QStringLiteral("F"), QStringLiteral("FFF"), 3)
                   : Escribe_Codigo_Salida(QStringLiteral("0"), QStringLiteral("000"), 3);
    });
    return inicio && fin && entrada;
}

QList<TCodigo_Registro> TF_Decoder_6734::Codigos_Registro(TLado lado) const {
    // The decoder answers every address from its start to its end.
    const bool nuevo = lado == TLado::Nuevo;
    const QString inicio = Edit(nuevo ? Inicio : Inicio + 2)->text();
    const QString fin = Edit(nuevo ? Fin : Fin + 2)->text();
    QList<TCodigo_Registro> codigos;
    Anade_Codigo(codigos, Fila().Espacio, inicio, Lugar_Registro(0));
    if (codigos.isEmpty())
        return codigos;
    bool valido = false;
    const qint64 hasta = fin.toLongLong(&valido, 16);
    if (valido && hasta > codigos[0].Desde) {
        codigos[0].Hasta = hasta;
        codigos[0].Texto = inicio + QStringLiteral("–") + fin;
    }
    return codigos;
}

void TF_Decoder_6734::Informa_Grabacion(bool todo_aceptado) {
    TF_Decoder::Informa_Grabacion(todo_aceptado);
    Edit(Inicio)->setFocus();
}
