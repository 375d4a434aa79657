#include "Oferta_Editor.h"

#include "Conversion.h"
#include "Datos_Modelos.h"
#include "Errores.h"
#include "Idiomas.h"
#include "Rotulos.h"

#include <QAccessible>
#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace {

// As the main window's list shows the model: "6746 - Audio Decoder 8".
QString Entrada(const TModelo& modelo) {
    return QString::number(modelo.Referencia) + QStringLiteral(" - ") + Texto(modelo.Clave_Lista());
}

} // namespace

TOferta_Editor::TOferta_Editor(std::function<void(const TModelo&)> abre, QWidget* parent)
    : QFrame(parent), abre_(std::move(abre)) {
    setObjectName(QStringLiteral("Oferta"));
    setAccessibleName(Texto(QStringLiteral("Offer_Region")));
    setFrameShape(QFrame::StyledPanel);
    setStyleSheet(QStringLiteral("QFrame#Oferta { background: #eef2fb; border: 1px solid %1; "
                                 "border-radius: 4px; }")
                      .arg(Azul_Kalvex));
    Texto_ = Crea_Etiqueta(QStringLiteral("Oferta_Texto"), {}, this);
    Texto_->setWordWrap(true);
    Texto_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Wide enough for the text to wrap into a few lines rather than a narrow column.
    Texto_->setMinimumWidth(Texto_->fontMetrics().averageCharWidth() * 60);
    Cerrar_ = new QToolButton(this);
    Cerrar_->setObjectName(QStringLiteral("Oferta_Cerrar"));
    Cerrar_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    Cerrar_->setAutoRaise(true);
    Cerrar_->setToolTip(Texto(QStringLiteral("Offer_Dismiss")));
    Cerrar_->setAccessibleName(Cerrar_->toolTip());
    connect(Cerrar_, &QToolButton::clicked, this, &TOferta_Editor::Quita);

    auto* arriba = new QHBoxLayout;
    arriba->addWidget(Texto_, 1);
    arriba->addWidget(Cerrar_, 0, Qt::AlignTop);
    Botones_ = new QHBoxLayout;
    Botones_->addStretch();
    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(10, 8, 6, 8);
    columna->addLayout(arriba);
    columna->addLayout(Botones_);
    hide();
}

void TOferta_Editor::Ofrece(uint8_t identificacion, const std::vector<const TModelo*>& modelos) {
    QString texto;
    if (modelos.empty()) {
        // The byte as the line monitor shows it: 0x7A.
        texto =
            Texto(QStringLiteral("Offer_Unknown")).arg(QStringLiteral("0x") + Hex2(identificacion));
    } else if (modelos.size() == 1) {
        texto = Texto(QStringLiteral("Offer_One")).arg(Entrada(*modelos.front()));
    } else {
        QStringList referencias;
        for (const TModelo* modelo : modelos)
            referencias << QString::number(modelo->Referencia);
        texto = Texto(QStringLiteral("Offer_Several")).arg(referencias.join(QStringLiteral(", ")));
    }
    Muestra(texto, modelos);
}

void TOferta_Editor::Avisa_Sin_Identificacion() {
    // Go! by the caption the button has in this language.
    const QString texto =
        Texto(QStringLiteral("Offer_Data"))
            .arg(Texto(QStringLiteral("Main_B_Go_caption")).remove(QLatin1Char('&')));
    // Each value of the read-out says the same: told once.
    if (isVisible() && Texto_->text() == texto)
        return;
    Muestra(texto, {});
}

void TOferta_Editor::Muestra(const QString& texto, const std::vector<const TModelo*>& modelos) {
    // The buttons before go; the stretch after them stays.
    while (Botones_->count() > 1) {
        QLayoutItem* item = Botones_->takeAt(0);
        delete item->widget();
        delete item;
    }
    Texto_->setText(texto);
    Texto_->setAccessibleName(Texto_->text());
    // Tab goes through the offered editors in order, then to the close button.
    QWidget* anterior = nullptr;
    for (const TModelo* modelo : modelos) {
        auto* boton =
            new QPushButton(Texto(QStringLiteral("Offer_Open")).arg(Entrada(*modelo)), this);
        boton->setObjectName(QStringLiteral("Oferta_%1").arg(modelo->Referencia));
        boton->setAccessibleName(boton->text());
        boton->setAutoDefault(false);
        connect(boton, &QPushButton::clicked, this, Atrapa([this, modelo] { abre_(*modelo); }));
        Botones_->insertWidget(Botones_->count() - 1, boton);
        if (anterior)
            setTabOrder(anterior, boton);
        anterior = boton;
    }
    if (anterior)
        setTabOrder(anterior, Cerrar_);
    show();
    Ajusta_Ventana();
    // Heard by screen readers as a message box would be, and the taskbar entry of a window
    // that is not in front asks for attention, without taking the focus from anything.
    QAccessibleEvent aviso(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&aviso);
    QApplication::alert(window());
}

void TOferta_Editor::Quita() {
    if (isHidden())
        return;
    hide();
    Ajusta_Ventana();
}

void TOferta_Editor::Ajusta_Ventana() {
    if (QLayout* contenido = parentWidget()->layout())
        contenido->activate();
    window()->adjustSize();
}
