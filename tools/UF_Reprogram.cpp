#include "UF_Reprogram.h"

#include "Abre_Editor.h"
#include "Configuracion.h"
#include "Dispositivos.h"
#include "Enrutado.h"
#include "Errores.h"
#include "Idiomas.h"
#include "Modelos.h"
#include "Recursos.h"
#include "Registro.h"
#include "Rotulos.h"
#include "Teclas.h"
#include "UComunicaciones.h"
#include "UF_Decoder.h"
#include "UF_Reprogram_Coinc.h"
#include "UF_Sondeo.h"
#include "Ventanas.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The one model among those that answer with the byte that the installation record knows
// for the device (its number as the editors hold codes: hexadecimal digits); 0 when the
// record knows none of them for it, or more than one.
int Modelo_Conocido(uint8_t identificacion, const QString& numero) {
    bool valido = false;
    const qint64 valor = numero.toLongLong(&valido, 16);
    if (!valido)
        return 0;
    int conocido = 0;
    for (const TModelo* modelo : Modelos_En_Eleccion(identificacion)) {
        const TCodigo_Registro codigo{modelo->Espacio, valor, valor, numero, {}};
        if (!Registro().Modelos_Codigo(codigo).contains(modelo->Referencia))
            continue;
        if (conocido != 0)
            return 0;
        conocido = modelo->Referencia;
    }
    return conocido;
}

// The reference the user picks in the choice window among those that answer with the byte;
// the one the installation record knows for the device comes selected.
int Referencia_Elegida(uint8_t identificacion, const QString& codigo, const QString& numero) {
    TF_Reprogram_Coinc* eleccion = Ventanas().F_Reprogram_Coinc;
    eleccion->Ofrece(identificacion, Modelo_Conocido(identificacion, numero), codigo);
    eleccion->Tag = 0;
    eleccion->exec();
    return eleccion->Referencia_Elegida();
}

// Kept visible in the layout while hidden, so the window does not change size when a search
// finds nothing.
void Reserva_Sitio(QWidget* w) {
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
    w->hide();
}

} // namespace

TF_Reprogram::TF_Reprogram(QWidget* parent)
    : TVentana_Kalvex(QStringLiteral("F_Reprogram"), Qt::Tool | Qt::WindowStaysOnTopHint, parent) {
    Label1 = Crea_Rotulo(QStringLiteral("Label1"),
                         Texto(QStringLiteral("Main_Reprogramming2_caption")), 1.6, this);
    setWindowTitle(Titulo_Kalvex(Label1->text()));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Imagen(QStringLiteral("bus.png")));

    RadioGroup1 = new TGrupo_Tipos(this);
    connect(RadioGroup1, &TGrupo_Tipos::Cambiado, this, &TF_Reprogram::R2Click);

    Label2 = new QLabel(Texto(QStringLiteral("GEN_MEN04")), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(4);
    Edit1->setMaximumWidth(Edit1->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    Edit1->installEventFilter(this);
    Label2->setBuddy(Edit1);
    B_Find = new QPushButton(QIcon(Imagen(QStringLiteral("buscar.png"))), QString(), this);
    B_Find->setObjectName(QStringLiteral("B_Find"));
    B_Find->setIconSize(QSize(20, 20));
    B_Find->setCursor(Qt::PointingHandCursor);
    // A glyph says nothing to a screen reader, nor to everyone at first sight.
    B_Find->setToolTip(Texto(QStringLiteral("Plan_Find")));
    B_Find->setAccessibleName(B_Find->toolTip());
    // Return on a type button searches too.
    B_Find->setDefault(true);
    connect(B_Find, &QPushButton::clicked, this, Atrapa([this] { B_FindClick(); }));

    Label3 =
        Crea_Rotulo(QStringLiteral("Label3"), TEXTO_AUSENTE, 1.6, this, QStringLiteral("#c0392b"));
    I_NOT_FOUND = new QLabel(this);
    I_NOT_FOUND->setObjectName(QStringLiteral("I_NOT_FOUND"));
    I_NOT_FOUND->setPixmap(Imagen(QStringLiteral("no_encontrado.png")));
    Reserva_Sitio(Label3);
    Reserva_Sitio(I_NOT_FOUND);

    B_Close = new QPushButton(Texto(QStringLiteral("GEN_MEN09")), this);
    B_Close->setObjectName(QStringLiteral("B_Close"));
    B_Close->setIcon(QIcon(Imagen(QStringLiteral("cerrar.png"))));
    B_Close->setCursor(Qt::PointingHandCursor);
    connect(B_Close, &QPushButton::clicked, this, &QWidget::close);

    auto* arriba = new QHBoxLayout;
    arriba->addWidget(Image1);
    arriba->addSpacing(8);
    arriba->addWidget(Label1, 1);
    auto* codigo = new QHBoxLayout;
    codigo->addWidget(Label2);
    codigo->addWidget(Edit1);
    codigo->addWidget(B_Find);
    codigo->addStretch();
    auto* resultado = new QHBoxLayout;
    resultado->addStretch();
    resultado->addWidget(I_NOT_FOUND);
    resultado->addWidget(Label3);
    resultado->addStretch();
    auto* derecha = new QVBoxLayout;
    derecha->addLayout(codigo);
    derecha->addLayout(resultado);
    derecha->addStretch();
    auto* cuerpo = new QHBoxLayout;
    cuerpo->addWidget(RadioGroup1);
    cuerpo->addSpacing(8);
    cuerpo->addLayout(derecha, 1);
    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(14, 12, 14, 12);
    todo->addLayout(arriba);
    todo->addLayout(cuerpo);
    todo->addWidget(B_Close, 0, Qt::AlignRight);

    setTabOrder(RadioGroup1->findChild<QWidget*>(QStringLiteral("R4")), Edit1);
    setTabOrder(Edit1, B_Find);
    setTabOrder(B_Find, B_Close);
}

const TModelo* TF_Reprogram::Modelo_Respondido(uint8_t identificacion, const QString& codigo,
                                               const QString& numero) const {
    const std::vector<const TModelo*> modelos = Modelos_Por_Identificacion(identificacion);
    if (modelos.size() <= 1)
        return modelos.empty() ? nullptr : modelos.front();
    // Several models answer with this byte: the user says which one is on the bus.
    return Modelo_Por_Referencia(Referencia_Elegida(identificacion, codigo, numero));
}

void TF_Reprogram::setVisible(bool visible) {
    if (visible && !isVisible())
        FormShow();
    TVentana_Kalvex::setVisible(visible);
}

void TF_Reprogram::FormShow() {
    Label3->hide();
    I_NOT_FOUND->hide();
    Edit1->setFocus();
}

bool TF_Reprogram::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Edit1 || event->type() != QEvent::KeyPress)
        return TVentana_Kalvex::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (Tecla_Rechazada(key))
        return true;
    if (key->text() == QLatin1String("\r")) {
        // Through the button, so a Return typed while a search waits does not start another.
        B_Find->click();
        return true;
    }
    return false;
}

void TF_Reprogram::R2Click() {
    RadioGroup1->Ajusta_Campo(Edit1);
}

void TF_Reprogram::B_FindClick() {
    B_Find->setEnabled(false);
    Label3->hide();
    I_NOT_FOUND->hide();
    // Find is usable again however the search ends; an error then goes on to the
    // application's error box.
    struct Fin {
        QPushButton* boton;
        ~Fin() { boton->setEnabled(true); }
    } fin{B_Find};
    Busca();
}

void TF_Reprogram::Busca() {
    if (Edit1->text().isEmpty() || Avisa_Sondeo_En_Curso(this))
        return;
    Enrutado().Lectura.Reinicia();
    const TTipo_Dispositivo& tipo = RadioGroup1->Tipo();
    Edit1->setText(Rellena_Ceros_Iz(Edit1->text(), tipo.Ancho));
    const QString codigo = Codigo_Dispositivo(tipo, Valor_Numero(Edit1->text()));
    uint8_t identificacion = 0;
    if (!Interroga_Dispositivo(codigo, identificacion)) {
        Label3->show();
        I_NOT_FOUND->show();
        return;
    }
    const TModelo* modelo = Modelo_Respondido(identificacion, codigo, Edit1->text());
    if (!modelo)
        return;
    // A survey running meanwhile reads the decoders itself.
    if (Abre_Editor(*modelo))
        Solicita_Programacion(codigo);
}
