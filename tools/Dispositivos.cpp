#include "Dispositivos.h"

#include "Conversion.h"
#include "Idiomas.h"
#include "UComunicaciones.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr TTipo_Dispositivo Tipos[4] = {
    {"GEN_MEN028", 4, ""},
    {"GEN_MEN029", 3, "D"},
    {"GEN_MEN030", 3, "A"},
    {"GEN_MEN031", 3, "B"},
};
} // namespace

TGrupo_Tipos::TGrupo_Tipos(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("RadioGroup1"));
    setTitle(Texto(QStringLiteral("GEN_MEN026")));
    auto* grupo = new QButtonGroup(this);
    auto* columna = new QVBoxLayout(this);
    for (int i = 0; i < 4; ++i) {
        R[i] = new QRadioButton(Texto(QString::fromLatin1(Tipos[i].Clave)), this);
        R[i]->setObjectName(QStringLiteral("R%1").arg(i + 1));
        grupo->addButton(R[i], i);
        columna->addWidget(R[i]);
    }
    R[0]->setChecked(true);
    connect(grupo, &QButtonGroup::idToggled, this, [this](int, bool marcado) {
        if (marcado)
            emit Cambiado();
    });
}

const TTipo_Dispositivo& TGrupo_Tipos::Tipo() const {
    for (int i = 0; i < 4; ++i)
        if (R[i]->isChecked())
            return Tipos[i];
    return Tipos[0];
}

QString TGrupo_Tipos::Rotulo() const {
    for (QRadioButton* boton : R)
        if (boton->isChecked())
            return boton->text();
    return R[0]->text();
}

bool TGrupo_Tipos::Audio() const {
    return Tipo().Ancho == 4;
}

void TGrupo_Tipos::Ajusta_Campo(QLineEdit* campo) const {
    // Trimmed before the limit is set, which would cut the text at its end instead.
    if (!Audio() && campo->text().size() == 4)
        campo->setText(campo->text().mid(1));
    campo->setMaxLength(Tipo().Ancho);
}

int Valor_Numero(const QString& texto) {
    qsizetype i = 0;
    while (i < texto.size() && texto[i] == QLatin1Char(' '))
        ++i;
    for (qsizetype j = i; j < texto.size(); ++j)
        if (texto[j] < QLatin1Char('0') || texto[j] > QLatin1Char('9'))
            throw EConvertError(texto);
    return StrToInt(texto);
}

QString Codigo_Dispositivo(const TTipo_Dispositivo& tipo, int numero) {
    return QString::fromLatin1(tipo.Letra) + Rellena_Ceros_Iz(QString::number(numero), tipo.Ancho);
}
