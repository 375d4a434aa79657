#include "Menu_Instalacion.h"

#include "Base_Instalacion.h"
#include "Carpetas.h"
#include "Configuracion.h"
#include "Dialogo_Fichero.h"
#include "Errores.h"
#include "F_Instalacion.h"
#include "F_Plan_Codigos.h"
#include "Idiomas.h"
#include "Instalacion_Abierta.h"
#include "Instalacion_Por_Defecto.h"
#include "UVentana_Kalvex.h"
#include "Ventanas.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int Relectura_ms = 150;

QString Filtro_Ficheros() {
    return Texto(QStringLiteral("GEN_MEN114")) + QStringLiteral(" (*") + EXTENSION_INSTALACION +
           QLatin1Char(')');
}

// Does `hace` with each window that shows the record.
template <typename Hace> void Cada_Ventana(Hace hace) {
    if (TF_Instalacion* ventana = Ventanas().F_Instalacion)
        hace(ventana);
    if (TF_Plan_Codigos* ventana = Ventanas().F_Plan_Codigos)
        hace(ventana);
}

// Shows the window on the open record, in front.
template <typename Ventana> void Muestra_En(Ventana* ventana, TFuente_Instalacion* fuente) {
    if (!ventana)
        return;
    ventana->Pon_Fuente(fuente);
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
}

QString Con_Extension(QString fichero) {
    if (!fichero.isEmpty() && QFileInfo(fichero).suffix().isEmpty())
        fichero += EXTENSION_INSTALACION;
    return fichero;
}

} // namespace

TMenu_Instalacion::TMenu_Instalacion(QMainWindow* principal, QMenu* archivo, QAction* antes,
                                     TInstalacion_Abierta* instalacion, QLabel* rotulo)
    : QObject(principal), Instalacion_Actual(rotulo), principal_(principal),
      instalacion_(instalacion), relectura_(new QTimer(this)) {
    Installation1 = new QMenu(Texto(QStringLiteral("GEN_MEN105")), archivo);
    Installation1->setObjectName(QStringLiteral("Installation1"));
    archivo->insertMenu(antes, Installation1);
    archivo->insertSeparator(antes);
    Nueva1 = Installation1->addAction(Texto(QStringLiteral("GEN_MEN106")), this,
                                      Atrapa([this] { Pide_Nueva(); }));
    Nueva1->setObjectName(QStringLiteral("Nueva1"));
    Abrir1 = Installation1->addAction(Texto(QStringLiteral("GEN_MEN107")), this,
                                      Atrapa([this] { Pide_Abrir(); }));
    Abrir1->setObjectName(QStringLiteral("Abrir1"));
    Abrir1->setShortcut(QKeySequence::Open);
    Installation1->addSeparator();
    fin_recientes_ = Installation1->addSeparator();
    Sitio1 = Installation1->addAction(Texto(QStringLiteral("GEN_MEN108")), this,
                                      Atrapa([this] { Pide_Sitio(); }));
    Sitio1->setObjectName(QStringLiteral("Sitio1"));
    Mostrar1 = Installation1->addAction(Texto(QStringLiteral("GEN_MEN109")), this,
                                        Atrapa([this] { Muestra(); }));
    Mostrar1->setObjectName(QStringLiteral("Mostrar1"));
    Plan1 = Installation1->addAction(Texto(QStringLiteral("Plan_Title")), this,
                                     Atrapa([this] { Muestra_Plan(); }));
    Plan1->setObjectName(QStringLiteral("Plan1"));
    connect(Installation1, &QMenu::aboutToShow, this, [this] { Rellena_Recientes(); });

    relectura_->setSingleShot(true);
    relectura_->setInterval(Relectura_ms);
    connect(relectura_, &QTimer::timeout, this, [this] { Actualiza_Ventanas(); });
    connect(instalacion_, &TInstalacion_Abierta::Cambiado, this, [this] { Cambiado(); });
    // Rows recorded one after another (a devices test) still show at this pace.
    connect(instalacion_, &TInstalacion_Abierta::Registrado, this, [this] {
        bool vista = false;
        Cada_Ventana([&vista](const auto* ventana) { vista = vista || ventana->isVisible(); });
        if (vista && !relectura_->isActive())
            relectura_->start();
    });
    connect(instalacion_, &TInstalacion_Abierta::Se_Cierra, this,
            [] { Cada_Ventana([](auto* ventana) { ventana->Pon_Fuente(nullptr); }); });
    Cambiado();
}

void TMenu_Instalacion::Cambiado() {
    const TBase_Instalacion* base = instalacion_->Base();
    Sitio1->setEnabled(base);
    if (!base) {
        const QString ausente = QDir::toNativeSeparators(instalacion_->Ausente());
        Instalacion_Actual->setText(Texto(QStringLiteral("GEN_MEN163")).arg(ausente));
        Instalacion_Actual->setToolTip(ausente);
        return;
    }
    const QString sitio =
        base->Sitio().isEmpty() ? QFileInfo(base->Fichero()).fileName() : base->Sitio();
    QString texto = Texto(QStringLiteral("GEN_MEN110")).arg(sitio);
    if (base->Solo_Lectura())
        texto = Texto(QStringLiteral("GEN_MEN111")).arg(texto);
    Instalacion_Actual->setText(texto);
    Instalacion_Actual->setToolTip(QDir::toNativeSeparators(base->Fichero()));
    // The windows must never read a record that was replaced.
    Cada_Ventana([this](auto* ventana) { ventana->Pon_Fuente(instalacion_->Base()); });
}

void TMenu_Instalacion::Actualiza_Ventanas() {
    Cada_Ventana([](auto* ventana) {
        if (ventana->isVisible())
            ventana->Actualiza();
    });
}

void TMenu_Instalacion::Rellena_Recientes() {
    qDeleteAll(recientes_);
    recientes_.clear();
    const QStringList recientes = instalacion_->Recientes();
    for (const QString& fichero : recientes) {
        auto* item = new QAction(QDir::toNativeSeparators(fichero), Installation1);
        connect(item, &QAction::triggered, this, Atrapa([this, fichero] { Abre(fichero); }));
        Installation1->insertAction(fin_recientes_, item);
        recientes_.append(item);
    }
}

void TMenu_Instalacion::Pide_Nueva() {
    TDialogo_Fichero dialogo(principal_, Texto(QStringLiteral("GEN_MEN112")),
                             Carpeta_Instalaciones(), Filtro_Ficheros());
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialogo.exec() == QDialog::Accepted && !dialogo.selectedFiles().isEmpty())
        Nueva(Con_Extension(dialogo.selectedFiles().constFirst()));
}

void TMenu_Instalacion::Nueva(const QString& fichero) {
    // An existing file is another installation's record: New never empties it.
    if (QFileInfo::exists(fichero)) {
        Muestra_Error(std::runtime_error(Texto(QStringLiteral("GEN_MEN115"))
                                             .arg(QDir::toNativeSeparators(fichero))
                                             .toStdString()));
        return;
    }
    instalacion_->Abre(fichero, principal_);
}

void TMenu_Instalacion::Pide_Abrir() {
    TDialogo_Fichero dialogo(principal_, Texto(QStringLiteral("GEN_MEN113")),
                             Carpeta_Instalaciones(), Filtro_Ficheros());
    dialogo.setFileMode(QFileDialog::ExistingFile);
    if (dialogo.exec() == QDialog::Accepted && !dialogo.selectedFiles().isEmpty())
        Abre(dialogo.selectedFiles().constFirst());
}

void TMenu_Instalacion::Abre(const QString& fichero) {
    // A recent file on a drive that is not plugged in is not created again, empty.
    if (!QFileInfo::exists(fichero)) {
        Muestra_Error(std::runtime_error(Texto(QStringLiteral("GEN_MEN164"))
                                             .arg(QDir::toNativeSeparators(fichero))
                                             .toStdString()));
        return;
    }
    instalacion_->Abre(fichero, principal_);
}

void TMenu_Instalacion::Avisa() {
    if (instalacion_->Ausente().isEmpty())
        instalacion_->Avisa(principal_);
    else
        Pregunta_Ausente();
}

void TMenu_Instalacion::Pregunta_Ausente() {
    const QString ausente = instalacion_->Ausente();
    QMessageBox caja(QMessageBox::Warning, Titulo_Kalvex(),
                     Texto(QStringLiteral("GEN_MEN165")).arg(QDir::toNativeSeparators(ausente)),
                     QMessageBox::NoButton, principal_);
    caja.setObjectName(QStringLiteral("Instalacion_Ausente"));
    QPushButton* otra_vez =
        caja.addButton(Texto(QStringLiteral("GEN_MEN166")), QMessageBox::AcceptRole);
    QPushButton* abrir =
        caja.addButton(Texto(QStringLiteral("GEN_MEN107")), QMessageBox::ActionRole);
    QPushButton* nueva =
        caja.addButton(Texto(QStringLiteral("GEN_MEN106")), QMessageBox::ActionRole);
    QPushButton* ahora_no =
        caja.addButton(Texto(QStringLiteral("GEN_MEN167")), QMessageBox::RejectRole);
    caja.setDefaultButton(otra_vez);
    caja.setEscapeButton(ahora_no);
    Sobre_Su_Ventana(&caja);
    // Asked again for as long as "Look again" finds nothing.
    do {
        caja.exec();
    } while (caja.clickedButton() == otra_vez && !QFileInfo::exists(ausente));
    if (caja.clickedButton() == otra_vez) {
        instalacion_->Abre(ausente, principal_);
    } else if (caja.clickedButton() == abrir) {
        Pide_Abrir();
    } else if (caja.clickedButton() == nueva) {
        Pide_Nueva();
    }
}

void TMenu_Instalacion::Pide_Sitio() {
    TBase_Instalacion* base = instalacion_->Base();
    QInputDialog pregunta(principal_);
    pregunta.setObjectName(QStringLiteral("Pide_Sitio"));
    pregunta.setWindowTitle(Titulo_Kalvex());
    pregunta.setLabelText(Texto(QStringLiteral("GEN_MEN116")));
    pregunta.setTextValue(base ? base->Sitio() : QString());
    pregunta.setOkButtonText(Texto(QStringLiteral("GEN_MEN018")));
    pregunta.setCancelButtonText(Texto(QStringLiteral("GEN_MEN019")));
    Sobre_Su_Ventana(&pregunta);
    if (pregunta.exec() == QDialog::Accepted)
        Pon_Sitio(pregunta.textValue().trimmed());
}

bool TMenu_Instalacion::Pon_Sitio(const QString& sitio) {
    TBase_Instalacion* base = instalacion_->Base();
    if (!base || !base->Pon_Sitio(sitio)) {
        Muestra_Error(std::runtime_error(Texto(QStringLiteral("GEN_MEN117")).toStdString()));
        return false;
    }
    Cambiado();
    return true;
}

void TMenu_Instalacion::Muestra() {
    Muestra_En(Ventanas().F_Instalacion, instalacion_->Base());
}

void TMenu_Instalacion::Muestra_Plan() {
    Muestra_En(Ventanas().F_Plan_Codigos, instalacion_->Base());
}
