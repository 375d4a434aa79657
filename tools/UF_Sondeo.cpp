#include "UF_Sondeo.h"

#include "Configuracion.h"
#include "Csv.h"
#include "DECODER2.h"
#include "Enrutado.h"
#include "Errores.h"
#include "Estado_Linea.h"
#include "Exportacion.h"
#include "Guarda_Fichero.h"
#include "Idiomas.h"
#include "Rangos_Sondeo.h"
#include "Recursos.h"
#include "Rotulos.h"
#include "UComunicaciones.h"
#include "UF_Test.h"
#include "Ventanas.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

// "1 decoder found", "6 decoders found".
QString Encontrados(int decoders) {
    return decoders == 1 ? Texto(QStringLiteral("Srv_Found1"))
                         : Texto(QStringLiteral("Srv_FoundN")).arg(decoders);
}

QPushButton* Boton(const QString& nombre, const QString& clave, QWidget* parent) {
    auto* b = new QPushButton(Texto(clave), parent);
    b->setObjectName(nombre);
    b->setCursor(Qt::PointingHandCursor);
    b->setAutoDefault(false);
    return b;
}

// The models a decoder may be, as the summary and the CSV file name them: "6746",
// "6713/6734/6745" for one the record has to settle.
QString Modelos(const QList<int>& referencias) {
    QStringList textos;
    for (int r : referencias)
        textos << QString::number(r);
    return textos.join(QLatin1Char('/'));
}

QString Fallo(TFallo_Sondeo fallo) {
    switch (fallo) {
    case TFallo_Sondeo::Sin_Lectura:
        return Texto(QStringLiteral("Srv_NoReadOut"));
    case TFallo_Sondeo::Incompleta:
        return Texto(QStringLiteral("Srv_Incomplete"));
    case TFallo_Sondeo::Otra_Identificacion:
        return Texto(QStringLiteral("Srv_OtherModel"));
    }
    return {};
}

// What one code gave, as a line of the CSV file says it.
QString Resultado(const TFila_Sondeo& f) {
    switch (f.Clase) {
    case TFila_Sondeo::TClase::Silencioso:
        return Texto(QStringLiteral("Srv_Silent"));
    case TFila_Sondeo::TClase::Leido:
        return Texto(QStringLiteral("Srv_Read")).arg(Modelos(f.Referencias));
    case TFila_Sondeo::TClase::Servido:
        return Texto(QStringLiteral("Srv_Served")).arg(f.Por);
    case TFila_Sondeo::TClase::Problema:
        return Fallo(f.Fallo);
    case TFila_Sondeo::TClase::Desconocido:
        return Texto(QStringLiteral("Srv_Unknown"))
            .arg(Nombre_Referencia(uint8_t(f.Identificacion)));
    }
    return {};
}

void Informa(QWidget* ventana, const char* clave, const char* nombre) {
    QMessageBox caja(QMessageBox::Information, Titulo_Kalvex(), Texto(QString::fromLatin1(clave)),
                     QMessageBox::Ok, ventana);
    caja.setObjectName(QString::fromLatin1(nombre));
    Sobre_Su_Ventana(&caja);
    caja.exec();
}

constexpr TTipo_Codigo Tipos[4] = {TTipo_Codigo::Audio, TTipo_Codigo::D, TTipo_Codigo::A,
                                   TTipo_Codigo::B};
constexpr const char* Claves_Tipo[4] = {"GEN_MEN028", "GEN_MEN029", "GEN_MEN030", "GEN_MEN031"};

} // namespace

TF_Sondeo::TF_Sondeo(QWidget* parent)
    : TVentana_Kalvex(QStringLiteral("F_Sondeo"), Qt::Tool | Qt::WindowStaysOnTopHint, parent) {
    Label1 = Crea_Rotulo(QStringLiteral("Label1"), Texto(QStringLiteral("Srv_Title")), 1.6, this);
    setWindowTitle(Titulo_Kalvex(Label1->text()));
    auto* Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Imagen(QStringLiteral("bus.png")));

    auto* GroupBox1 = new QGroupBox(Texto(QStringLiteral("Srv_Ranges")), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* rejilla = new QGridLayout(GroupBox1);
    const QString desde = Texto(QStringLiteral("Srv_From"));
    const QString hasta = Texto(QStringLiteral("Srv_To"));
    for (int i = 0; i < 4; ++i) {
        const QString tipo = Texto(QString::fromLatin1(Claves_Tipo[i]));
        auto* elegido = new QCheckBox(tipo, GroupBox1);
        elegido->setObjectName(QStringLiteral("CB_Tipo%1").arg(i + 1));
        auto campo = [&](const QString& nombre, const QString& texto) {
            auto* e = new QLineEdit(GroupBox1);
            e->setObjectName(nombre.arg(i + 1));
            // Wider than any type's numbers, so that a number too long is refused by name
            // rather than cut.
            e->setMaxLength(5);
            e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
            e->setAccessibleName(tipo + QStringLiteral(", ") + texto);
            // Typing a range chooses its type.
            connect(e, &QLineEdit::textEdited, elegido, [elegido] { elegido->setChecked(true); });
            return e;
        };
        tipos_[i] = {Tipos[i], elegido, campo(QStringLiteral("Edit_Desde%1"), desde),
                     campo(QStringLiteral("Edit_Hasta%1"), hasta)};
        auto* l_desde = new QLabel(desde, GroupBox1);
        auto* l_hasta = new QLabel(hasta, GroupBox1);
        l_desde->setBuddy(tipos_[i].Desde);
        l_hasta->setBuddy(tipos_[i].Hasta);
        rejilla->addWidget(elegido, i, 0);
        rejilla->addWidget(l_desde, i, 1);
        rejilla->addWidget(tipos_[i].Desde, i, 2);
        rejilla->addWidget(l_hasta, i, 3);
        rejilla->addWidget(tipos_[i].Hasta, i, 4);
    }
    rejilla->setColumnStretch(5, 1);

    auto* GroupBox2 = new QGroupBox(Texto(QStringLiteral("Srv_Pace")), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    R_Rapido = new QRadioButton(Texto(QStringLiteral("Srv_Quick")), GroupBox2);
    R_Rapido->setObjectName(QStringLiteral("R_Rapido"));
    R_Minucioso = new QRadioButton(Texto(QStringLiteral("Srv_Thorough")), GroupBox2);
    R_Minucioso->setObjectName(QStringLiteral("R_Minucioso"));
    R_Minucioso->setChecked(true);
    auto* ritmos = new QButtonGroup(GroupBox2);
    ritmos->addButton(R_Rapido);
    ritmos->addButton(R_Minucioso);
    auto* ritmo = new QVBoxLayout(GroupBox2);
    ritmo->addWidget(R_Rapido);
    ritmo->addWidget(R_Minucioso);

    B_Start = Boton(QStringLiteral("B_Start"), QStringLiteral("Srv_Start"), this);
    B_Stop = Boton(QStringLiteral("B_Stop"), QStringLiteral("Srv_Stop"), this);
    B_Resume = Boton(QStringLiteral("B_Resume"), QStringLiteral("Srv_Resume"), this);
    B_Again = Boton(QStringLiteral("B_Again"), QStringLiteral("Srv_Again"), this);
    B_Show = Boton(QStringLiteral("B_Show"), QStringLiteral("Srv_Show"), this);
    B_Export = Boton(QStringLiteral("B_Export"), QStringLiteral("GEN_MEN126"), this);
    B_Export->setToolTip(Texto(QStringLiteral("Srv_ExportTip")));
    B_Close = Boton(QStringLiteral("B_Close"), QStringLiteral("GEN_MEN09"), this);
    // Return in a range field starts the survey.
    B_Start->setDefault(true);
    connect(B_Start, &QPushButton::clicked, this, Atrapa([this] { B_StartClick(); }));
    connect(B_Stop, &QPushButton::clicked, this, [this] { B_StopClick(); });
    connect(B_Resume, &QPushButton::clicked, this, Atrapa([this] { B_ResumeClick(); }));
    connect(B_Again, &QPushButton::clicked, this, Atrapa([this] { B_AgainClick(); }));
    connect(B_Show, &QPushButton::clicked, this, [this] {
        if (Muestra_Instalacion)
            Muestra_Instalacion();
    });
    connect(B_Export, &QPushButton::clicked, this, Atrapa([this] { B_ExportClick(); }));
    connect(B_Close, &QPushButton::clicked, this, &QWidget::close);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    // The numbers are in the line below it; the bar shows how far at a glance.
    ProgressBar1->setMaximumHeight(ProgressBar1->fontMetrics().height() / 2 + 4);
    ProgressBar1->setAccessibleName(Texto(QStringLiteral("Srv_ProgressName")));
    Label_Progreso = new QLabel(this);
    Label_Progreso->setObjectName(QStringLiteral("Label_Progreso"));
    Label_Progreso->setWordWrap(true);
    Label_Progreso->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label_Progreso->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label_Progreso->setMinimumHeight(3 * Label_Progreso->fontMetrics().lineSpacing());
    Label_Progreso->setAccessibleName(Texto(QStringLiteral("Srv_ProgressName")));

    connect(&sondeo_, &TSondeo::Codigo_Hecho, this, &TF_Sondeo::Muestra_Progreso);
    connect(&sondeo_, &TSondeo::Pausa, this, [this] {
        Label_Progreso->setText(Texto(QStringLiteral("Srv_Paused")).arg(sondeo_.Codigo_Actual()));
    });
    // Stop during a pause for the port ends the survey at once.
    connect(&sondeo_, &TSondeo::Fin, this, [this] {
        if (!B_Start->isEnabled())
            Termina();
    });
    connect(&Avisos_Linea(), &TAvisos_Linea::Cambiada, this, &TF_Sondeo::Al_Volver_Puerto);

    auto* arriba = new QHBoxLayout;
    arriba->addWidget(Image1);
    arriba->addSpacing(8);
    arriba->addWidget(Label1, 1);
    auto* botones = new QHBoxLayout;
    for (QPushButton* b : {B_Start, B_Stop, B_Resume, B_Again})
        botones->addWidget(b);
    botones->addStretch();
    auto* fin = new QHBoxLayout;
    fin->addWidget(B_Show);
    fin->addWidget(B_Export);
    fin->addStretch();
    fin->addWidget(B_Close);
    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(14, 12, 14, 12);
    todo->addLayout(arriba);
    todo->addWidget(GroupBox1);
    todo->addWidget(GroupBox2);
    todo->addLayout(botones);
    todo->addWidget(ProgressBar1);
    todo->addWidget(Label_Progreso);
    todo->addLayout(fin);
    setMinimumWidth(GroupBox1->sizeHint().width() + 60);
    Termina();
}

void TF_Sondeo::setVisible(bool visible) {
    if (visible && !isVisible())
        FormShow();
    TVentana_Kalvex::setVisible(visible);
}

void TF_Sondeo::FormShow() {
    cerrar_al_terminar_ = false;
    if (sondeo_.Activo())
        return;
    // No editor takes the decoders' own frames while the survey window is open.
    Enrutado().Modelo_Activo = 0;
    Pon_Rangos_Conocidos();
    Termina();
    tipos_[0].Elegido->setFocus();
}

void TF_Sondeo::Pon_Rangos_Conocidos() {
    const QList<TRango_Sondeo> conocidos = Rangos_Conocidos(Registro().Codigos_Conocidos());
    for (TFila_Tipo& t : tipos_) {
        t.Elegido->setChecked(false);
        t.Desde->clear();
        t.Hasta->clear();
        for (const TRango_Sondeo& r : conocidos)
            if (r.Tipo == t.Tipo) {
                const int ancho = t.Tipo == TTipo_Codigo::Audio ? 4 : 3;
                t.Elegido->setChecked(true);
                t.Desde->setText(Rellena_Ceros_Iz(QString::number(r.Desde), ancho));
                t.Hasta->setText(Rellena_Ceros_Iz(QString::number(r.Hasta), ancho));
            }
    }
}

void TF_Sondeo::reject() {
    if (!sondeo_.Activo()) {
        TVentana_Kalvex::reject();
        return;
    }
    // The decoder being read is closed first; the window goes once the survey has ended.
    cerrar_al_terminar_ = true;
    B_StopClick();
}

void TF_Sondeo::B_StopClick() {
    sondeo_.Para();
}

bool TF_Sondeo::Ocupado() {
    const auto* enlace = dynamic_cast<const TDECODER2*>(&Enlace());
    const bool ocupado =
        (enlace && enlace->En_Espera()) || (Ventanas().F_Test && Ventanas().F_Test->En_Curso());
    if (ocupado)
        Informa(this, "Srv_Busy", "Ocupado");
    return ocupado;
}

bool Avisa_Sondeo_En_Curso(QWidget* ventana) {
    if (!Enrutado().Sondeo)
        return false;
    Informa(ventana, "Srv_Running", "Sondeo_En_Curso");
    return true;
}

void TF_Sondeo::B_StartClick() {
    QList<TRango_Sondeo> rangos;
    for (const TFila_Tipo& t : tipos_) {
        if (!t.Elegido->isChecked())
            continue;
        TRango_Sondeo rango;
        const QString rechazo =
            Comprueba_Rango(t.Tipo, t.Desde->text(), t.Hasta->text(), t.Desde->accessibleName(),
                            t.Hasta->accessibleName(), rango);
        if (!rechazo.isEmpty()) {
            QLineEdit* campo = rechazo.startsWith(t.Desde->accessibleName()) ? t.Desde : t.Hasta;
            campo->setFocus();
            campo->selectAll();
            QMessageBox caja(QMessageBox::Warning, Titulo_Kalvex(), rechazo, QMessageBox::Ok, this);
            caja.setObjectName(QStringLiteral("Rango_Rechazado"));
            Sobre_Su_Ventana(&caja);
            caja.exec();
            return;
        }
        rangos.append(rango);
    }
    if (rangos.isEmpty()) {
        QMessageBox caja(QMessageBox::Warning, Titulo_Kalvex(),
                         Texto(QStringLiteral("Srv_NoRange")), QMessageBox::Ok, this);
        caja.setObjectName(QStringLiteral("Rango_Rechazado"));
        Sobre_Su_Ventana(&caja);
        caja.exec();
        return;
    }
    if (Ocupado())
        return;
    const TRitmo_Sondeo ritmo =
        R_Rapido->isChecked() ? TRitmo_Sondeo::Rapido : TRitmo_Sondeo::Minucioso;
    Ejecuta([&] { sondeo_.Empieza(rangos, ritmo); });
}

void TF_Sondeo::B_ResumeClick() {
    if (Ocupado())
        return;
    // A survey paused or stopped in this session goes on as it stands; else the record's.
    if (sondeo_.Hechos() < sondeo_.Total())
        Ejecuta([this] { sondeo_.Sigue(); });
    else
        Ejecuta([this] { sondeo_.Reanuda(); });
}

void TF_Sondeo::B_AgainClick() {
    if (!Ocupado())
        Ejecuta([this] { sondeo_.Repite_Silenciosos(); });
}

void TF_Sondeo::Ejecuta(const std::function<void()>& que) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{B_Start, B_Resume, B_Again, B_Show, B_Export, B_Close})
        w->setEnabled(false);
    B_Stop->setEnabled(true);
    // Stop takes the focus, so Space or Return stops the survey.
    B_Stop->setFocus();
    base_ = -1;
    reloj_.start();
    Label_Progreso->setText(Texto(QStringLiteral("Srv_Starting")));
    // The window returns to idle however the survey ends; an error then goes on to the
    // application's error box.
    struct Fin {
        TF_Sondeo& v;
        ~Fin() {
            if (!v.sondeo_.Pausado())
                v.Termina();
        }
    } fin{*this};
    que();
}

void TF_Sondeo::Al_Volver_Puerto() {
    if (!sondeo_.Pausado() || !Estado_Linea().Abierta)
        return;
    // Not from inside the port's own notice: the survey waits for replies in a loop of its own.
    QTimer::singleShot(0, this, Atrapa([this] {
                           if (sondeo_.Pausado() && Estado_Linea().Abierta)
                               Ejecuta([this] { sondeo_.Sigue(); });
                       }));
}

void TF_Sondeo::Muestra_Progreso() {
    if (base_ < 0) {
        // The pace is measured from the first code this run did.
        base_ = sondeo_.Hechos() - 1;
        queda_.Empieza(sondeo_.Total() - base_);
    }
    queda_.Cuenta(sondeo_.Hechos() - base_, reloj_.elapsed());
    ProgressBar1->setRange(0, std::max(1, sondeo_.Total()));
    ProgressBar1->setValue(sondeo_.Hechos());
    if (sondeo_.Hechos() >= sondeo_.Total())
        return;
    const TTiempo_Restante::TQueda queda = queda_.Queda();
    Label_Progreso->setText(
        Texto(queda.Minutos ? QStringLiteral("Srv_LineMin") : QStringLiteral("Srv_LineS"))
            .arg(sondeo_.Codigo_Actual())
            .arg(sondeo_.Hechos())
            .arg(sondeo_.Total())
            .arg(Encontrados(sondeo_.Decoders()))
            .arg(queda.Valor));
}

void TF_Sondeo::Termina() {
    const bool hay = sondeo_.Total() > 0;
    const bool parado = hay && sondeo_.Hechos() < sondeo_.Total();
    B_Start->setEnabled(true);
    B_Stop->setEnabled(false);
    B_Resume->setEnabled(parado || !Registro().Avance_Sondeo().isEmpty());
    B_Again->setEnabled(hay && !parado && sondeo_.Ritmo() == TRitmo_Sondeo::Rapido &&
                        sondeo_.Silenciosos() > 0);
    B_Show->setEnabled(sondeo_.Decoders() > 0 || sondeo_.Problemas() > 0);
    B_Export->setEnabled(!sondeo_.Filas().isEmpty());
    B_Close->setEnabled(true);
    ProgressBar1->setRange(0, std::max(1, sondeo_.Total()));
    ProgressBar1->setValue(sondeo_.Hechos());
    Label_Progreso->setText(hay ? Resumen() : QString());
    if (B_Stop->hasFocus() || !focusWidget())
        B_Start->setFocus();
    if (std::exchange(cerrar_al_terminar_, false))
        TVentana_Kalvex::reject();
}

QString TF_Sondeo::Resumen() const {
    QStringList modelos;
    for (auto i = sondeo_.Por_Modelo().cbegin(); i != sondeo_.Por_Modelo().cend(); ++i)
        modelos << QStringLiteral("%1: %2")
                       .arg(i.key() == 0 ? Texto(QStringLiteral("Srv_Unsettled"))
                                         : QString::number(i.key()))
                       .arg(i.value());
    QString texto =
        Texto(QStringLiteral("Srv_Summary"))
            .arg(sondeo_.Hechos())
            .arg(sondeo_.Total())
            .arg(Encontrados(sondeo_.Decoders()))
            .arg(modelos.isEmpty() ? QStringLiteral("–") : modelos.join(QStringLiteral(", ")))
            .arg(sondeo_.Servidos())
            .arg(sondeo_.Problemas())
            .arg(sondeo_.Silenciosos())
            .arg(sondeo_.Choques().size());
    for (const QString& choque : sondeo_.Choques())
        texto += QLatin1Char('\n') + choque;
    return texto;
}

void TF_Sondeo::B_ExportClick() {
    const QString fichero =
        Pide_Fichero_En(this, windowTitle(), Fichero_Fechado(Label1->text(), QStringLiteral("csv")),
                        QStringLiteral("csv"));
    if (!fichero.isEmpty())
        Exporta(fichero);
}

bool TF_Sondeo::Exporta(const QString& fichero) {
    QList<QStringList> filas{
        {Texto(QStringLiteral("Srv_CsvCode")), Texto(QStringLiteral("Srv_CsvResult"))}};
    for (const TFila_Sondeo& f : sondeo_.Filas())
        filas.append({f.Codigo, Resultado(f)});
    const QByteArray texto = Fichero_Csv(filas);
    return ::Exporta(this, fichero, [&texto](const QString& f, QString& causa) {
        return Guarda_Fichero(f, texto, causa);
    });
}
