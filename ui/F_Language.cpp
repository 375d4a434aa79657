#include "F_Language.h"

#include "Aviso_Ajustes.h"
#include "Configuracion.h"
#include "Idiomas.h"
#include "Recursos.h"
#include "Rotulos.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>

namespace {

// The original list kept its counter in one signed byte.
constexpr int kIdiomasMaximos = 128;

} // namespace

TF_Lang::TF_Lang(QWidget* parent)
    : QDialog(parent), L_IDIOMA(new QLabel), Lista(new QTreeWidget), ListBox1(new QListWidget) {
    setObjectName(QStringLiteral("F_Lang"));
    setWindowTitle(QStringLiteral("Select language"));

    auto* cabecera = Crea_Rotulo(QStringLiteral("Label1"), QStringLiteral("Kalvex 3.0"), 1.6, this);

    auto* actual = new QLabel(Texto(QStringLiteral("GEN_MEN017")));
    actual->setObjectName(QStringLiteral("Label2"));
    L_IDIOMA->setObjectName(QStringLiteral("L_IDIOMA"));
    QFont negrita = L_IDIOMA->font();
    negrita.setBold(true);
    L_IDIOMA->setFont(negrita);

    Lista->setObjectName(QStringLiteral("Lista"));
    Lista->setRootIsDecorated(false);
    Lista->setColumnCount(1);
    Lista->setHeaderLabels({Texto(QStringLiteral("GEN_MEN020"))});
    // A screen reader names a list by its heading.
    Lista->setAccessibleName(Lista->headerItem()->text(0));
    Lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lista->setMinimumSize(260, 150);
    connect(Lista, &QTreeWidget::itemDoubleClicked, this, &TF_Lang::B_OKClick);

    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->hide();

    auto* ok = new QPushButton(Texto(QStringLiteral("GEN_MEN018")));
    ok->setObjectName(QStringLiteral("B_OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TF_Lang::B_OKClick);
    auto* cancelar = new QPushButton(Texto(QStringLiteral("GEN_MEN019")));
    cancelar->setObjectName(QStringLiteral("B_CANCEL"));
    connect(cancelar, &QPushButton::clicked, this, &TF_Lang::reject);

    auto* idioma = new QHBoxLayout;
    idioma->addWidget(actual);
    idioma->addWidget(L_IDIOMA, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(ok);
    botones->addWidget(cancelar);

    auto* principal = new QVBoxLayout(this);
    principal->addWidget(cabecera);
    principal->addLayout(idioma);
    principal->addWidget(Lista, 1);
    principal->addWidget(ListBox1);
    principal->addLayout(botones);
}

// Opened from the main window's menu while an editor may stay on top.
void TF_Lang::setVisible(bool visible) {
    if (visible && !isVisible() && isModal())
        sobre_.Antes_De_Mostrar(this);
    QDialog::setVisible(visible);
    if (!visible)
        sobre_.Tras_Ocultar(this);
}

void TF_Lang::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window brought back from the task bar is not a new showing.
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TF_Lang::FormShow() {
    L_IDIOMA->setText(Idioma);
    Lista->clear();
    ListBox1->clear();
    ListBox1->addItems(Secciones_Idiomas());
    const QIcon icono(Imagen(QStringLiteral("idioma.png")));
    for (int i = 0; i < ListBox1->count() && i < kIdiomasMaximos; ++i) {
        auto* item = new QTreeWidgetItem(Lista, {ListBox1->item(i)->text()});
        item->setIcon(0, icono);
    }
}

void TF_Lang::B_OKClick() {
    const QList<QTreeWidgetItem*> elegidos = Lista->selectedItems();
    // Exact comparison: a name differing only in case is another section, another language.
    if (elegidos.isEmpty() || elegidos.first()->text(0) == Idioma) {
        return;
    }
    // The new language only takes effect at the next start, which reads it from the settings:
    // one they cannot keep is not chosen at all.
    const QString anterior = Idioma;
    Idioma = elegidos.first()->text(0);
    QString causa;
    if (!Guarda_Configuracion(causa)) {
        Idioma = anterior;
        Avisa_Ajustes(this, causa, Texto(QStringLiteral("Set_LanguageKept")).arg(anterior));
        return;
    }
    Tag = 1;
    accept();
}

void TF_Lang::reject() {
    Tag = 0;
    QDialog::reject();
}
