#include "F_Ayuda.h"

#include "Configuracion.h"
#include "Idiomas.h"
#include "Lanzador.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

TF_Ayuda::TF_Ayuda(QWidget* parent) : QDialog(parent, Qt::Window) {
    setObjectName(QStringLiteral("F_Ayuda"));
    setWindowTitle(Titulo_Kalvex(Texto(QStringLiteral("GEN_MEN047"))));
    Pagina = new QTextBrowser(this);
    Pagina->setObjectName(QStringLiteral("Pagina"));
    // Every link comes to Enlace, which decides between this window and the browser.
    Pagina->setOpenLinks(false);
    connect(Pagina, &QTextBrowser::anchorClicked, this, &TF_Ayuda::Enlace);

    auto* botones = new QDialogButtonBox(this);
    QPushButton* cerrar =
        botones->addButton(Texto(QStringLiteral("GEN_MEN09")), QDialogButtonBox::RejectRole);
    cerrar->setObjectName(QStringLiteral("B_Close"));
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* todo = new QVBoxLayout(this);
    todo->addWidget(Pagina, 1);
    todo->addWidget(botones);
    resize(720, 560);
}

void TF_Ayuda::Muestra(const QString& fichero) {
    Carga(fichero);
    show();
    raise();
    activateWindow();
}

bool TF_Ayuda::Carga(const QString& fichero) {
    Pagina->setSource(QUrl::fromLocalFile(QFileInfo(fichero).absoluteFilePath()));
    return !Pagina->toPlainText().trimmed().isEmpty();
}

void TF_Ayuda::Enlace(const QUrl& url) {
    // An anchor within the page or another shipped page: shown here.
    const QUrl destino = Pagina->source().resolved(url);
    if (destino.isLocalFile() || destino.scheme().isEmpty()) {
        Pagina->setSource(destino);
        return;
    }
    Abre_Direccion(destino);
}
