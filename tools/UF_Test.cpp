#include "UF_Test.h"

#include "Configuracion.h"
#include "Dispositivos.h"
#include "Enrutado.h"
#include "Errores.h"
#include "Exporta_Prueba.h"
#include "Exportacion.h"
#include "Guarda_Fichero.h"
#include "Idiomas.h"
#include "Recursos.h"
#include "Registro.h"
#include "Rotulos.h"
#include "Teclas.h"
#include "UComunicaciones.h"
#include "UF_Sondeo.h"
#include "Ventanas.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <utility>

namespace {

// What each row keeps beside its columns, for the filter and the export.
constexpr int Rol_Respondido = Qt::UserRole;
constexpr int Rol_Momento = Qt::UserRole + 1;

QPushButton* Boton(const QString& nombre, const QString& texto, QWidget* parent) {
    auto* b = new QPushButton(texto, parent);
    b->setObjectName(nombre);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QPushButton* Boton_Glifo(const QString& nombre, const QString& glifo, QWidget* parent) {
    QPushButton* b = Boton(nombre, QString(), parent);
    b->setIcon(QIcon(Imagen(glifo)));
    b->setIconSize(QSize(20, 20));
    return b;
}

QLineEdit* Campo(const QString& nombre, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(nombre);
    e->setMaxLength(4);
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    return e;
}

} // namespace

TF_Test::TF_Test(QWidget* parent)
    : TVentana_Kalvex(QStringLiteral("F_Test"), Qt::Tool | Qt::WindowStaysOnTopHint, parent) {
    ImageList1 = {QIcon(Imagen(QStringLiteral("respondido.png"))),
                  QIcon(Imagen(QStringLiteral("sin_respuesta.png")))};

    Label1 = Crea_Rotulo(QStringLiteral("Label1"), Texto(QStringLiteral("GEN_MEN025")), 1.6, this);
    setWindowTitle(Titulo_Kalvex(Label1->text()));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Imagen(QStringLiteral("bus.png")));

    RadioGroup1 = new TGrupo_Tipos(this);
    connect(RadioGroup1, &TGrupo_Tipos::Cambiado, this, &TF_Test::R2Click);

    auto* GroupBox1 = new QGroupBox(Texto(QStringLiteral("GEN_MEN027")), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label2 = new QLabel(Texto(QStringLiteral("GEN_MEN032")), GroupBox1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit1 = Campo(QStringLiteral("Edit1"), GroupBox1);
    Label3 = new QLabel(Texto(QStringLiteral("GEN_MEN033")), GroupBox1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Edit2 = Campo(QStringLiteral("Edit2"), GroupBox1);
    Label2->setBuddy(Edit1);
    Label3->setBuddy(Edit2);
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    auto* rango = new QGridLayout(GroupBox1);
    rango->addWidget(Label2, 0, 0);
    rango->addWidget(Edit1, 0, 1);
    rango->addWidget(Label3, 1, 0);
    rango->addWidget(Edit2, 1, 1);
    rango->setColumnStretch(2, 1);

    // The captions Start and Stop are the same in every language.
    B_START = Boton(QStringLiteral("B_START"), QStringLiteral("Start"), this);
    B_STOP = Boton(QStringLiteral("B_STOP"), QStringLiteral("Stop"), this);
    B_Clear = Boton_Glifo(QStringLiteral("B_Clear"), QStringLiteral("borrar.png"), this);
    B_Close = Boton_Glifo(QStringLiteral("B_Close"), QStringLiteral("cerrar.png"), this);
    // A glyph says nothing to a screen reader, nor to everyone at first sight.
    for (auto [boton, clave] :
         {std::pair{B_Clear, "Test_Clear"}, std::pair{B_Close, "GEN_MEN09"}}) {
        boton->setToolTip(Texto(QString::fromLatin1(clave)));
        boton->setAccessibleName(boton->toolTip());
    }
    B_Export = Boton(QStringLiteral("B_Export"), Texto(QStringLiteral("GEN_MEN126")), this);
    B_Export->setToolTip(Texto(QStringLiteral("GEN_MEN127")));
    CheckBox1 = new QCheckBox(Texto(QStringLiteral("GEN_MEN128")), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    // Return in a number field starts the test.
    B_START->setDefault(true);
    connect(B_START, &QPushButton::clicked, this, Atrapa([this] { B_STARTClick(); }));
    connect(B_STOP, &QPushButton::clicked, this, Atrapa([this] { B_STOPClick(); }));
    connect(B_Clear, &QPushButton::clicked, this, &TF_Test::B_ClearClick);
    connect(B_Close, &QPushButton::clicked, this, &QWidget::close);
    connect(B_Export, &QPushButton::clicked, this, &TF_Test::B_ExportClick);
    connect(CheckBox1, &QCheckBox::toggled, this, &TF_Test::CheckBox1Click);

    Lista = new QTreeWidget(this);
    Lista->setObjectName(QStringLiteral("Lista"));
    // A screen reader names the results by the window's heading.
    Lista->setAccessibleName(Label1->text());
    Lista->setRootIsDecorated(false);
    Lista->setItemsExpandable(false);
    Lista->setUniformRowHeights(true);
    Lista->setSelectionMode(QAbstractItemView::SingleSelection);
    Lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lista->setIconSize(QSize(16, 16));
    Lista->setHeaderLabels(
        {QString(), QStringLiteral("Device"), QStringLiteral("Type"), QStringLiteral("Decoder")});
    const QFontMetrics fm = Lista->fontMetrics();
    QHeaderView* cabecera = Lista->header();
    cabecera->setSectionResizeMode(0, QHeaderView::Fixed);
    cabecera->resizeSection(0, 28);
    cabecera->resizeSection(1, fm.horizontalAdvance(QStringLiteral("Device")) + 24);
    int tipo = fm.horizontalAdvance(QStringLiteral("Type"));
    for (const char* clave : {"GEN_MEN028", "GEN_MEN029", "GEN_MEN030", "GEN_MEN031"})
        tipo = std::max(tipo, fm.horizontalAdvance(Texto(QString::fromLatin1(clave))));
    cabecera->resizeSection(2, tipo + 24);
    cabecera->setStretchLastSection(true);
    int decoder = 0;
    for (const TNombre_Referencia& r : Nombres_Referencia())
        decoder = std::max(decoder, fm.horizontalAdvance(r.Nombre));
    Lista->setMinimumWidth(28 + cabecera->sectionSize(1) + cabecera->sectionSize(2) + decoder + 32);
    Lista->setMinimumHeight(fm.height() * 12);

    // The numbers are in the line below it; the bar shows how far at a glance.
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumHeight(fm.height() / 2 + 4);
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    // Two lines high whatever it shows, so the window does not jump when a line comes or
    // wraps; its width taken from the list, so a long summary wraps instead of widening the
    // window or being cut.
    Label4->setWordWrap(true);
    Label4->setFixedHeight(2 * fm.lineSpacing());
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    Progreso_Pendiente = new QTimer(this);
    Progreso_Pendiente->setSingleShot(true);
    connect(Progreso_Pendiente, &QTimer::timeout, this, &TF_Test::Muestra_Progreso);
    Muestra_Progreso();

    auto* arriba = new QHBoxLayout;
    arriba->addWidget(Image1);
    arriba->addSpacing(8);
    arriba->addWidget(Label1, 1);
    auto* eleccion = new QHBoxLayout;
    eleccion->addWidget(RadioGroup1);
    eleccion->addWidget(GroupBox1, 1);
    auto* botones = new QHBoxLayout;
    botones->addWidget(B_START);
    botones->addWidget(B_STOP);
    botones->addStretch();
    botones->addWidget(B_Export);
    botones->addWidget(B_Clear);
    botones->addWidget(B_Close);
    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(14, 12, 14, 12);
    todo->addLayout(arriba);
    todo->addLayout(eleccion);
    todo->addLayout(botones);
    todo->addWidget(CheckBox1);
    todo->addWidget(Lista, 1);
    todo->addWidget(ProgressBar1);
    todo->addWidget(Label4);

    setTabOrder(RadioGroup1->findChild<QWidget*>(QStringLiteral("R4")), Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, B_START);
    setTabOrder(B_START, B_STOP);
    setTabOrder(B_STOP, B_Export);
    setTabOrder(B_Export, B_Clear);
    setTabOrder(B_Clear, B_Close);
    setTabOrder(B_Close, CheckBox1);
    setTabOrder(CheckBox1, Lista);
    B_STOP->setEnabled(false);
    B_Export->setEnabled(false);
}

void TF_Test::setVisible(bool visible) {
    if (visible && !isVisible())
        FormShow();
    TVentana_Kalvex::setVisible(visible);
}

void TF_Test::FormShow() {
    // No editor takes the decoders' own frames while the test window is open.
    Enrutado().Modelo_Activo = 0;
    Edit1->clear();
    Edit2->clear();
    B_START->setEnabled(true);
    B_STOP->setEnabled(false);
    B_Close->setEnabled(true);
    Parar = false;
    Inactivo = true;
    Ajusta_Exportar();
    Edit1->setFocus();
}

void TF_Test::reject() {
    if (Inactivo)
        TVentana_Kalvex::reject();
}

bool TF_Test::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Edit1 || watched == Edit2) && event->type() == QEvent::KeyPress)
        return Tecla_Rechazada(static_cast<QKeyEvent*>(event));
    return TVentana_Kalvex::eventFilter(watched, event);
}

void TF_Test::R2Click() {
    RadioGroup1->Ajusta_Campo(Edit1);
    RadioGroup1->Ajusta_Campo(Edit2);
}

void TF_Test::B_STARTClick() {
    if (Avisa_Sondeo_En_Curso(this))
        return;
    Inactivo = false;
    Parar = false;
    Progreso = TProgreso_Prueba();
    // Stop takes the focus for the test, so Space or Return stops it; the focus goes back
    // afterwards.
    const QPointer<QWidget> foco = focusWidget();
    B_STOP->setEnabled(true);
    B_STOP->setFocus();
    B_START->setEnabled(false);
    B_Close->setEnabled(false);
    B_Export->setEnabled(false);
    // The window returns to idle however the test ends; an error then goes on to the
    // application's error box.
    struct Fin {
        TF_Test& v;
        const QPointer<QWidget>& foco;
        ~Fin() { v.Termina_Prueba(foco); }
    } fin{*this, foco};
    Prueba();
}

void TF_Test::Prueba() {
    if (Edit1->text().isEmpty())
        return;
    const TTipo_Dispositivo& tipo = RadioGroup1->Tipo();
    const QString rotulo = RadioGroup1->Rotulo();
    Edit1->setText(Rellena_Ceros_Iz(Edit1->text(), tipo.Ancho));
    int desde = 0;
    int hasta = 0;
    if (Edit2->text().isEmpty()) {
        desde = hasta = Valor_Numero(Edit1->text());
    } else {
        Edit2->setText(Rellena_Ceros_Iz(Edit2->text(), tipo.Ancho));
        desde = Valor_Numero(Edit1->text());
        hasta = Valor_Numero(Edit2->text());
    }
    Progreso.Empieza(std::max(0, hasta - desde + 1));
    Reloj.start();
    Muestra_Progreso();
    for (int n = desde; n <= hasta && !Parar; ++n)
        Consulta(rotulo, Codigo_Dispositivo(tipo, n),
                 Rellena_Ceros_Iz(QString::number(n), tipo.Ancho));
}

void TF_Test::Consulta(const QString& rotulo, const QString& codigo, const QString& numero) {
    uint8_t dato = 0;
    const QDateTime momento = QDateTime::currentDateTime();
    const bool respondido = Interroga_Dispositivo(codigo, dato);
    auto* fila = new QTreeWidgetItem;
    fila->setIcon(0, ImageList1[respondido ? 0 : 1]);
    fila->setText(1, numero);
    fila->setText(2, rotulo);
    fila->setText(3, respondido ? Nombre_Referencia(dato) : TEXTO_AUSENTE);
    fila->setData(0, Rol_Respondido, respondido);
    fila->setData(0, Rol_Momento, momento);
    Lista->insertTopLevelItem(0, fila);
    // Hidden only once it is in the list: an item outside a tree has no row to hide.
    fila->setHidden(!respondido && CheckBox1->isChecked());
    Registro().Prueba({numero.toInt(), rotulo, respondido, respondido ? dato : -1});
    Progreso.Cuenta(respondido, Reloj.elapsed());
    // The row, the bar and the line are painted at the start of the next query's wait, a
    // millisecond after its request left and long before its reply can come: painting them
    // here, before the request, would add that millisecond to every answered code. Each row
    // is still on the screen before the next one.
    Progreso_Pendiente->start();
}

void TF_Test::Muestra_Progreso() {
    // An empty bar while there is nothing to show; a range of 0…0 would animate as busy.
    ProgressBar1->setRange(0, std::max(1, Progreso.Total()));
    ProgressBar1->setValue(Progreso.Probados());
    Label4->setText(Progreso.Total() > 0 ? Progreso.Linea() : QString());
}

void TF_Test::Termina_Prueba(QWidget* foco) {
    Inactivo = true;
    B_START->setEnabled(true);
    B_Close->setEnabled(true);
    Progreso_Pendiente->stop();
    Muestra_Progreso();
    // The summary counts the codes actually tested: a stopped range, or one that an error
    // ended, says after how many.
    Label4->setText(Progreso.Resumen());
    Ajusta_Exportar();
    if (B_STOP->hasFocus())
        (foco && foco != B_STOP ? foco : B_START)->setFocus();
    B_STOP->setEnabled(false);
}

void TF_Test::B_STOPClick() {
    Parar = true;
}

void TF_Test::B_ClearClick() {
    // One result is soon made again; more are asked for first.
    if (const int filas = Lista->topLevelItemCount(); filas > 1) {
        QMessageBox caja(QMessageBox::Question, Titulo_Kalvex(),
                         Texto(QStringLiteral("Test_ClearAsk")).arg(filas), QMessageBox::NoButton,
                         this);
        QPushButton* vaciar =
            caja.addButton(Texto(QStringLiteral("Test_Clear")), QMessageBox::AcceptRole);
        caja.setDefaultButton(
            caja.addButton(Texto(QStringLiteral("GEN_MEN046")), QMessageBox::RejectRole));
        Sobre_Su_Ventana(&caja);
        caja.exec();
        if (caja.clickedButton() != vaciar)
            return;
    }
    Lista->clear();
    // The summary went with the rows; a running test keeps its count.
    if (Inactivo) {
        Progreso = TProgreso_Prueba();
        Muestra_Progreso();
    }
    Ajusta_Exportar();
}

void TF_Test::CheckBox1Click() {
    // Hidden, not removed: unchecking shows every row again in its place.
    const bool solo_respondidos = CheckBox1->isChecked();
    for (int i = 0; i < Lista->topLevelItemCount(); ++i) {
        QTreeWidgetItem* fila = Lista->topLevelItem(i);
        fila->setHidden(solo_respondidos && !fila->data(0, Rol_Respondido).toBool());
    }
    Ajusta_Exportar();
}

void TF_Test::Ajusta_Exportar() {
    bool alguna = false;
    for (int i = 0; i < Lista->topLevelItemCount() && !alguna; ++i)
        alguna = !Lista->topLevelItem(i)->isHidden();
    // Not during a test: its file dialog would wait while rows keep coming.
    B_Export->setEnabled(Inactivo && alguna);
}

void TF_Test::B_ExportClick() {
    const QString fichero =
        Pide_Fichero_En(this, windowTitle(), Fichero_Fechado(Label1->text(), QStringLiteral("csv")),
                        QStringLiteral("csv"));
    if (!fichero.isEmpty())
        Exporta(fichero);
}

bool TF_Test::Exporta(const QString& fichero) {
    QList<TFila_Prueba> filas;
    for (int i = 0; i < Lista->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* f = Lista->topLevelItem(i);
        if (f->isHidden())
            continue;
        const bool respondido = f->data(0, Rol_Respondido).toBool();
        // The list's mark for a silent code is no decoder's name: the cell stays empty.
        filas.append({f->text(1), f->text(2), respondido, respondido ? f->text(3) : QString(),
                      f->data(0, Rol_Momento).toDateTime()});
    }
    const QByteArray texto = Texto_Csv_Prueba(filas);
    return ::Exporta(this, fichero, [&texto](const QString& f, QString& causa) {
        return Guarda_Fichero(f, texto, causa);
    });
}
