#include "F_Entrega.h"

#include "Aviso_Escritura.h"
#include "Configuracion.h"
#include "Errores.h"
#include "Exportacion.h"
#include "Idiomas.h"
#include "Informe_Entrega.h"
#include "Lanzador.h"
#include "Rotulos.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include <tuple>

namespace {

QLineEdit* Linea(const QString& nombre, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(nombre);
    e->setMaxLength(200);
    return e;
}

QPushButton* Boton(const QString& nombre, const QString& clave, QWidget* parent) {
    auto* b = new QPushButton(Texto(clave), parent);
    b->setObjectName(nombre);
    b->setAutoDefault(false);
    return b;
}

bool Iguales(const TDatos_Entrega& a, const TDatos_Entrega& b) {
    return std::tie(a.Instalador, a.Cliente, a.Direccion, a.Notas) ==
           std::tie(b.Instalador, b.Cliente, b.Direccion, b.Notas);
}

} // namespace

TF_Entrega::TF_Entrega(QWidget* parent)
    : TVentana_Kalvex(QStringLiteral("F_Entrega"), Qt::Tool, parent),
      Instalador(Linea(QStringLiteral("Instalador"), this)),
      Cliente(Linea(QStringLiteral("Cliente"), this)),
      Direccion(Linea(QStringLiteral("Direccion"), this)), Notas(new QPlainTextEdit(this)),
      Idioma_Informe(new QComboBox(this)), Fichero(new QLineEdit(this)),
      B_Fichero(Boton(QStringLiteral("B_Fichero"), QStringLiteral("Ent_Choose"), this)),
      B_Hacer(Boton(QStringLiteral("B_Hacer"), QStringLiteral("Ent_Make"), this)),
      B_Cancel(Boton(QStringLiteral("B_Cancel"), QStringLiteral("GEN_MEN019"), this)) {
    const QString titulo = Texto(QStringLiteral("GEN_MEN089"));
    setWindowTitle(Titulo_Kalvex(titulo));
    Notas->setObjectName(QStringLiteral("Notas"));
    // Tab moves on to the next field, as in the line fields above.
    Notas->setTabChangesFocus(true);
    Notas->setFixedHeight(Notas->fontMetrics().height() * 5);
    Idioma_Informe->setObjectName(QStringLiteral("Idioma_Informe"));
    Fichero->setObjectName(QStringLiteral("Fichero"));
    Fichero->setMinimumWidth(Fichero->fontMetrics().averageCharWidth() * 50);
    B_Hacer->setDefault(true);

    auto* campos = new QFormLayout;
    const std::pair<const char*, QWidget*> filas[] = {
        {"Ent_Installer", Instalador}, {"Ent_Customer", Cliente},        {"Ent_Address", Direccion},
        {"Ent_Notes", Notas},          {"Ent_Language", Idioma_Informe},
    };
    int n = 0;
    for (const auto& [clave, campo] : filas) {
        // The label is the field's buddy: a screen reader names the field by it.
        QLabel* etiqueta = Crea_Etiqueta(QStringLiteral("Label%1").arg(++n),
                                         Texto(QString::fromLatin1(clave)), this);
        etiqueta->setBuddy(campo);
        campos->addRow(etiqueta, campo);
    }
    QLabel* etiqueta_fichero =
        Crea_Etiqueta(QStringLiteral("Label%1").arg(++n), Texto(QStringLiteral("Ent_File")), this);
    etiqueta_fichero->setBuddy(Fichero);
    auto* fichero = new QHBoxLayout;
    fichero->addWidget(Fichero, 1);
    fichero->addWidget(B_Fichero);
    campos->addRow(etiqueta_fichero, fichero);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Hacer);
    botones->addWidget(B_Cancel);
    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(16, 12, 16, 12);
    todo->addWidget(Crea_Rotulo(QStringLiteral("Label_Titulo"), titulo, 1.4, this));
    todo->addLayout(campos);
    todo->addLayout(botones);

    connect(Fichero, &QLineEdit::textChanged, this,
            [this](const QString& texto) { B_Hacer->setEnabled(!texto.trimmed().isEmpty()); });
    connect(B_Fichero, &QPushButton::clicked, this, Atrapa([this] { Elige_Fichero(); }));
    connect(B_Hacer, &QPushButton::clicked, this, Atrapa([this] { Haz_Informe(); }));
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    Pon_Fuente(nullptr);
}

void TF_Entrega::Pon_Fuente(TFuente_Instalacion* fuente) {
    fuente_ = fuente;
    const TInstantanea instantanea = fuente_ ? fuente_->Instantanea() : TInstantanea{};
    recordados_ = instantanea.Entrega;
    Instalador->setText(recordados_.Instalador);
    Cliente->setText(recordados_.Cliente);
    Direccion->setText(recordados_.Direccion);
    Notas->setPlainText(recordados_.Notas);
    Idioma_Informe->clear();
    Idioma_Informe->addItems(Secciones_Idiomas());
    Idioma_Informe->setCurrentIndex(qMax(0, Idioma_Informe->findText(Idioma)));
    Fichero->setText(
        QDir::toNativeSeparators(Fichero_Propuesto(instantanea.Sitio, QStringLiteral("pdf"))));
    B_Hacer->setEnabled(fuente_ != nullptr);
}

TDatos_Entrega TF_Entrega::Datos() const {
    return {Instalador->text().trimmed(), Cliente->text().trimmed(), Direccion->text().trimmed(),
            Notas->toPlainText().trimmed()};
}

// As typed, ".pdf" added to a name without an extension.
QString TF_Entrega::Fichero_Informe() const {
    QString fichero = QDir::fromNativeSeparators(Fichero->text().trimmed());
    if (!fichero.isEmpty() && QFileInfo(fichero).suffix().isEmpty())
        fichero += QStringLiteral(".pdf");
    return fichero;
}

void TF_Entrega::Elige_Fichero() {
    const QString fichero =
        Pide_Fichero_En(this, windowTitle(), Fichero_Informe(), QStringLiteral("pdf"));
    if (!fichero.isEmpty())
        Fichero->setText(QDir::toNativeSeparators(fichero));
}

bool TF_Entrega::Haz_Informe() {
    const QString fichero = Fichero_Informe();
    if (!fuente_ || fichero.isEmpty())
        return false;
    const TDatos_Entrega datos = Datos();
    // Stored before the PDF is tried: what was typed is kept even when the file cannot be
    // written.
    const bool recordados = Iguales(datos, recordados_) || fuente_->Pon_Entrega(datos);
    if (recordados)
        recordados_ = datos;
    QString causa;
    bool escrito = false;
    {
        // Worded for its reader, the clash texts taken from the record included; the program's
        // own language is back before any box is shown.
        const TIdioma_Temporal idioma(Idioma_Informe->currentText());
        TInstantanea informe = fuente_->Instantanea();
        informe.Entrega = datos;
        escrito = Informe_Entrega(informe, fichero, causa);
    }
    if (!escrito) {
        Avisa_Sobre(this, Aviso_Escritura(fichero, causa));
        return false;
    }
    accept();
    Ofrece_Abrir(fichero, recordados);
    return true;
}

void TF_Entrega::Ofrece_Abrir(const QString& fichero, bool recordados) {
    QString texto = Texto(QStringLiteral("Ent_Written")).arg(QDir::toNativeSeparators(fichero));
    if (!recordados)
        texto += QStringLiteral("\n\n") + Texto(QStringLiteral("Ent_NotKept"));
    QMessageBox caja(QMessageBox::Information, Titulo_Kalvex(), texto, QMessageBox::NoButton,
                     parentWidget());
    caja.setObjectName(QStringLiteral("Informe_Escrito"));
    QPushButton* abrir = caja.addButton(Texto(QStringLiteral("Ent_Open")), QMessageBox::AcceptRole);
    caja.setDefaultButton(abrir);
    caja.setEscapeButton(
        caja.addButton(Texto(QStringLiteral("GEN_MEN09")), QMessageBox::RejectRole));
    Sobre_Su_Ventana(&caja);
    caja.exec();
    if (caja.clickedButton() == abrir)
        Abre_Direccion(QUrl::fromLocalFile(QFileInfo(fichero).absoluteFilePath()));
}
