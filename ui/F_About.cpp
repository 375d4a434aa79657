#include "F_About.h"

#include "Configuracion.h"
#include "Lanzador.h"
#include "Recursos.h"
#include "Rotulos.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QPushButton* Boton(const QString& nombre, const QString& texto) {
    auto* boton = new QPushButton(texto);
    boton->setObjectName(nombre);
    return boton;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : TVentana_Kalvex(QStringLiteral("AboutBox"), Qt::Tool | Qt::WindowStaysOnTopHint, parent) {
    auto* foto = Crea_Etiqueta(QStringLiteral("Image3"), QString(), this);
    foto->setPixmap(QPixmap::fromImage(Foto(QStringLiteral("entrada.jpg"))));

    QLabel* producto =
        Crea_Rotulo(QStringLiteral("ProductName"), QStringLiteral("Kalvex"), 1.8, this, {});
    QLabel* comentarios = Crea_Etiqueta(QStringLiteral("Comments"), QString(), this);
    comentarios->setWordWrap(true);

    QLabel* logo = Crea_Etiqueta(QStringLiteral("Image2"), QString(), this);
    logo->setPixmap(Imagen(QStringLiteral("logo.png")));
    logo->setScaledContents(true);
    logo->setFixedSize(logo->pixmap().size());
    logo->setCursor(Qt::PointingHandCursor);
    logo->setToolTip(QStringLiteral("Visit our web site\n") + WEB_FABRICANTE);

    auto* datos = new QVBoxLayout;
    datos->addWidget(producto);
    datos->addWidget(Crea_Etiqueta(QStringLiteral("Version"), VERSION_APP, this));
    datos->addWidget(Crea_Etiqueta(QStringLiteral("Copyright"), EMPRESA_FABRICANTE, this));
    datos->addWidget(Crea_Etiqueta(QStringLiteral("Label1"), QStringLiteral("June 2004"), this));
    datos->addWidget(comentarios);
    datos->addStretch();
    datos->addWidget(logo);

    QPushButton* ok = Boton(QStringLiteral("OKButton"), QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* web = Boton(QStringLiteral("Button1"), QStringLiteral("Web"));
    connect(web, &QPushButton::clicked, this, &TAboutBox::Button1Click);
    QPushButton* pc = Boton(QStringLiteral("Button2"), QStringLiteral("This PC"));
    pc->hide();
    connect(pc, &QPushButton::clicked, this, &TAboutBox::Button2Click);
    QPushButton* glifo = Boton(QStringLiteral("BitBtn1"), QString());
    glifo->setIcon(Imagen(QStringLiteral("pc.png")));
    glifo->setIconSize(QSize(32, 32));
    glifo->setToolTip(QStringLiteral("This PC"));
    // A glyph says nothing to a screen reader: it reads what the tool-tip says.
    glifo->setAccessibleName(glifo->toolTip());
    connect(glifo, &QPushButton::clicked, this, &TAboutBox::Button2Click);

    auto* botones = new QHBoxLayout;
    botones->addWidget(glifo);
    botones->addWidget(pc);
    botones->addStretch();
    botones->addWidget(web);
    botones->addWidget(ok);

    auto* cuerpo = new QHBoxLayout;
    cuerpo->setSpacing(16);
    cuerpo->addWidget(foto, 0, Qt::AlignTop);
    cuerpo->addLayout(datos);

    auto* principal = new QVBoxLayout(this);
    principal->setSizeConstraint(QLayout::SetFixedSize);
    principal->setContentsMargins(16, 16, 16, 12);
    principal->addLayout(cuerpo);
    principal->addLayout(botones);
}

void TAboutBox::Button1Click() {
    Abre_Web();
}

void TAboutBox::Button2Click() {
    Lanza_Info_Sistema();
}
