#include "F_Principal.h"

#include "Abre_Editor.h"
#include "Aviso_Ajustes.h"
#include "Carpetas.h"
#include "Configuracion.h"
#include "DECODER2.h"
#include "Enrutado.h"
#include "Errores.h"
#include "Estado_Linea.h"
#include "Estado_Puerto.h"
#include "F_About.h"
#include "F_Ayuda.h"
#include "F_Language.h"
#include "Idiomas.h"
#include "Instalacion_Abierta.h"
#include "Lanzador.h"
#include "Menu_Instalacion.h"
#include "Menu_Monitor.h"
#include "Modelos.h"
#include "Oferta_Editor.h"
#include "PortDiagnosis.h"
#include "PortDiscovery.h"
#include "Recursos.h"
#include "Rotulos.h"
#include "UComunicaciones.h"
#include "UF_Decoder.h"
#include "UF_Reprogram.h"
#include "UF_Sondeo.h"
#include "UF_Test.h"
#include "Ventanas.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace {

// The model list, in the order the user sees it.
// How often a close that met work under way is tried again.
constexpr int Reintento_Cierre_ms = 20;
// How often a program that holds or shares the device is looked for again: a look through
// every process's open files, too much to do more often.
constexpr int Revision_Otros_ms = 3000;

bool Mismos_Programas(const std::vector<PortHolder>& a, const std::vector<PortHolder>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const PortHolder& x, const PortHolder& y) { return x.pid == y.pid; });
}

qint64 pid_reinicio = 0;

// One of the menu's own items, COM1 to COM4.
bool Puerto_COM(const QString& puerto) {
    return puerto.size() == 4 && puerto.startsWith(QLatin1String("COM")) &&
           puerto[3] >= QLatin1Char('1') && puerto[3] <= QLatin1Char('4');
}

void Muestra_Sin_Modo(QWidget* ventana) {
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
}

} // namespace

TF_Princ::TF_Princ(TDECODER2* enlace, TInstalacion_Abierta* instalacion, bool abre_puerto,
                   QWidget* parent)
    : QMainWindow(parent), Decod1(enlace), Instalacion(instalacion) {
    setObjectName(QStringLiteral("F_Princ"));
    Decod1->OnLineStateChange = [this](QObject*) {
        // Whoever shared the device before it went away is looked for again.
        if (Decod1->LineState() == TLineState::Reopened)
            compartido_con_ = PortHolders(SerialDevice::DevicePath(Sys_Port));
        Actualiza_Estado();
    };
    cierre_pendiente_ = new QTimer(this);
    cierre_pendiente_->setInterval(Reintento_Cierre_ms);
    cierre_pendiente_->setSingleShot(true);
    connect(cierre_pendiente_, &QTimer::timeout, this, &QWidget::close);
    vigila_otros_ = new QTimer(this);
    vigila_otros_->setObjectName(QStringLiteral("Vigila_Otros"));
    vigila_otros_->setInterval(Revision_Otros_ms);
    connect(vigila_otros_, &QTimer::timeout, this, &TF_Princ::Revisa_Otros_Programas);

    Crea_Controles();
    Crea_Menus();
    Menu_Instalacion = new TMenu_Instalacion(this, File1, Close1, Instalacion, Instalacion_Actual);
    Aplica_Textos();
    Rellena_Lista_Modelos();
    // Title and version first, so a port that fails to open still leaves them right.
    setWindowTitle(Titulo_Kalvex());
    Label3->setText(QStringLiteral("v") + VERSION_APP);
    if (abre_puerto)
        Abre_Puerto();
}

TF_Princ::~TF_Princ() {
    // The link outlives this window.
    Decod1->OnLineStateChange = nullptr;
    Olvida_Estado_Linea();
}

void TF_Princ::Crea_Controles() {
    auto* fondo = new QWidget(this);
    fondo->setAutoFillBackground(true);
    QPalette paleta = fondo->palette();
    paleta.setColor(QPalette::Window, Qt::white);
    fondo->setPalette(paleta);
    setCentralWidget(fondo);

    Label1 = Crea_Rotulo(QStringLiteral("Label1"), QStringLiteral("Kalvex"), 2.4, fondo);
    Label3 = Crea_Etiqueta(QStringLiteral("Label3"), {}, fondo);
    Label3->setText(QStringLiteral("Actualizar en variable VERSION_APP"));
    Label2 = Crea_Etiqueta(QStringLiteral("Label2"), {}, fondo);
    Label4 = Crea_Etiqueta(QStringLiteral("Label4"), {}, fondo);
    Label4->setText(WEB_FABRICANTE);
    Label4->setStyleSheet(
        QStringLiteral("color: %1; text-decoration: underline;").arg(Azul_Kalvex));
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);

    Image1 = Crea_Etiqueta(QStringLiteral("Image1"), {}, fondo);
    Image1->setPixmap(
        Imagen(QStringLiteral("logo.png")).scaledToHeight(48, Qt::SmoothTransformation));
    Image2 = Crea_Etiqueta(QStringLiteral("Image2"), {}, fondo);
    Image2->setPixmap(QPixmap::fromImage(Foto(QStringLiteral("decoder.jpg")))
                          .scaledToHeight(120, Qt::SmoothTransformation));

    C1 = new QComboBox(fondo);
    C1->setObjectName(QStringLiteral("C1"));
    C1->setMaxVisibleItems(12);
    C1->setMinimumContentsLength(28);
    C1->installEventFilter(this);
    // The label above it names the list for a screen reader.
    Label2->setBuddy(C1);

    B_Go =
        new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay), QStringLiteral("Go!"), fondo);
    B_Go->setObjectName(QStringLiteral("B_Go"));
    B_Go->setDefault(true);
    B_Close = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                              QStringLiteral("Close"), fondo);
    B_Close->setObjectName(QStringLiteral("B_Close"));
    connect(B_Go, &QPushButton::clicked, this, Atrapa([this] { B_GoClick(); }));
    connect(B_Close, &QPushButton::clicked, this, &QWidget::close);

    auto* cabecera = new QHBoxLayout;
    cabecera->addWidget(Image1);
    cabecera->addWidget(Label1);
    cabecera->addWidget(Label3, 0, Qt::AlignBottom);
    cabecera->addStretch();

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Go);
    botones->addWidget(B_Close);

    auto* eleccion = new QVBoxLayout;
    eleccion->addWidget(Label2);
    eleccion->addWidget(C1);
    eleccion->addLayout(botones);
    eleccion->addStretch();
    // Which installation the read-outs and Saves are recorded in.
    Instalacion_Actual = Crea_Etiqueta(QStringLiteral("Instalacion_Actual"), {}, fondo);
    Instalacion_Actual->setWordWrap(true);
    Instalacion_Actual->setTextInteractionFlags(Qt::TextSelectableByMouse);
    eleccion->addWidget(Instalacion_Actual);

    auto* cuerpo = new QHBoxLayout;
    cuerpo->addWidget(Image2, 0, Qt::AlignTop);
    cuerpo->addSpacing(12);
    cuerpo->addLayout(eleccion, 1);

    Oferta = new TOferta_Editor([this](const TModelo& modelo) { Abre_Ofrecido(modelo); }, fondo);

    auto* todo = new QVBoxLayout(fondo);
    todo->setSizeConstraint(QLayout::SetFixedSize);
    todo->setContentsMargins(16, 12, 16, 12);
    todo->addWidget(Oferta);
    todo->addLayout(cabecera);
    todo->addSpacing(8);
    todo->addLayout(cuerpo);
    todo->addSpacing(8);
    todo->addWidget(Label4, 0, Qt::AlignRight);

    Estado_Puerto = new QLabel(this);
    Estado_Puerto->setObjectName(QStringLiteral("Estado_Puerto"));
    Estado_Puerto->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(Estado_Puerto, 1);
    statusBar()->setSizeGripEnabled(false);
}

void TF_Princ::Ofrece_Editores(uint8_t identificacion, const std::vector<const TModelo*>& modelos) {
    Oferta->Ofrece(identificacion, modelos);
}

void TF_Princ::Avisa_Sin_Editor() {
    Oferta->Avisa_Sin_Identificacion();
}

void TF_Princ::Quita_Oferta() {
    Oferta->Quita();
}

void TF_Princ::Abre_Ofrecido(const TModelo& modelo) {
    // As Go! on the model's entry: the list shows it, the editor names it.
    C1->setCurrentIndex(modelo.Posicion());
    B_GoClick();
}

void TF_Princ::Crea_Menus() {
    File1 = menuBar()->addMenu(QStringLiteral("File"));
    File1->setObjectName(QStringLiteral("File1"));
    Language1 = File1->addAction(QStringLiteral("Language"), this, &TF_Princ::Language1Click);
    Language1->setObjectName(QStringLiteral("Language1"));
    File1->addSeparator();
    SerialPort1 = File1->addMenu(QStringLiteral("Serial Port"));
    SerialPort1->setObjectName(QStringLiteral("SerialPort1"));
    for (int n = 1; n <= 4; ++n) {
        const QString nombre = QStringLiteral("COM%1").arg(n);
        QAction* item = SerialPort1->addAction(nombre);
        item->setObjectName(nombre);
        item->setCheckable(true);
        item->setChecked(n == 1);
        connect(item, &QAction::triggered, this, Atrapa([this, item] { COM1Click(item); }));
    }
    connect(SerialPort1, &QMenu::aboutToShow, this, &TF_Princ::Rellena_Puertos_Presentes);
    File1->addSeparator();
    Close1 = File1->addAction(QStringLiteral("Close"), this, &QWidget::close);
    Close1->setObjectName(QStringLiteral("Close1"));

    Reprogramming1 = menuBar()->addMenu(QStringLiteral("Re-programming"));
    Reprogramming1->setObjectName(QStringLiteral("Reprogramming1"));
    est1 = Reprogramming1->addAction(QStringLiteral("Test"), this, &TF_Princ::est1Click);
    est1->setObjectName(QStringLiteral("est1"));
    Reprogramming2 = Reprogramming1->addAction(QStringLiteral("Re-programming"), this,
                                               &TF_Princ::Reprogramming2Click);
    Reprogramming2->setObjectName(QStringLiteral("Reprogramming2"));
    Survey1 = Reprogramming1->addAction(QStringLiteral("Survey the installation..."), this,
                                        &TF_Princ::Survey1Click);
    Survey1->setObjectName(QStringLiteral("Survey1"));
    Menu_Monitor = new TMenu_Monitor(this, File1, Close1, Reprogramming1);

    About1 = menuBar()->addMenu(QStringLiteral("Help"));
    About1->setObjectName(QStringLiteral("About1"));
    Help1 = About1->addAction(QStringLiteral("Kalvex Help"), this, &TF_Princ::Help1Click);
    Help1->setObjectName(QStringLiteral("Help1"));
    About1->addSeparator();
    About2 = About1->addAction(QStringLiteral("About"), this, &TF_Princ::About2Click);
    About2->setObjectName(QStringLiteral("About2"));
}

void TF_Princ::Aplica_Textos() {
    Label2->setText(Texto(QStringLiteral("Main_Label2_caption")));
    B_Go->setText(Texto(QStringLiteral("Main_B_Go_caption")));
    B_Close->setText(Texto(QStringLiteral("GEN_MEN09")));
    File1->setTitle(Texto(QStringLiteral("Main_File1_caption")));
    Language1->setText(Texto(QStringLiteral("Main_Language1_caption")));
    SerialPort1->setTitle(Texto(QStringLiteral("Main_SerialPort1_caption")));
    Close1->setText(Texto(QStringLiteral("GEN_MEN09")));
    Reprogramming1->setTitle(Texto(QStringLiteral("Main_Reprogramming1_caption")));
    Reprogramming2->setText(Texto(QStringLiteral("Main_Reprogramming2_caption")));
    est1->setText(Texto(QStringLiteral("Main_Test1_caption")));
    Survey1->setText(Texto(QStringLiteral("Main_Survey1_caption")));
    About1->setTitle(Texto(QStringLiteral("Main_About1_caption")));
}

void TF_Princ::Rellena_Lista_Modelos() {
    C1->clear();
    for (const TModelo& modelo : Tabla_Modelos()) {
        C1->addItem(QString::number(modelo.Referencia) + QStringLiteral(" - ") +
                    Texto(modelo.Clave_Lista()));
    }
    // Nothing chosen until the installer picks an entry: Go! alone opens no editor.
    C1->setCurrentIndex(-1);
}

void TF_Princ::Abre_Puerto() {
    causa_fallo_.clear();
    compartido_con_.clear();
    retenido_ = false;
    if (Nombre_Puerto_Excesivo(Sys_Port)) {
        causa_fallo_ = Causa_Nombre_Excesivo(Sys_Port);
        Actualiza_Estado();
        Muestra_Error(std::runtime_error(Explica_Nombre_Excesivo(Sys_Port).toStdString()));
        return;
    }
    try {
        Decod1->SetPort(Sys_Port);
        Decod1->SetConnected(true);
    } catch (const ESerialLine& error) {
        // The program runs on with the port closed; the user can choose another one. The box
        // keeps the port's own first line and says what stands in the way and how to fix it.
        causa_fallo_ = Causa_Fallo_Apertura(error, Sys_Port);
        // Watched only when the holder is known: one the system hides would never be seen to
        // let go.
        retenido_ = error.Cause() == TPortCause::HeldElsewhere &&
                    !PortHolders(SerialDevice::DevicePath(Sys_Port)).empty();
        Actualiza_Estado();
        if (error.ErrorCode() == ESerialLine::CE_OpenFailed)
            Muestra_Error(
                std::runtime_error(Explica_Fallo_Apertura(error, Sys_Port).toStdString()));
        else
            Muestra_Error(error);
        return;
    } catch (const std::exception& error) {
        causa_fallo_ = QString::fromUtf8(error.what());
        Actualiza_Estado();
        Muestra_Error(error);
        return;
    }
    // A program that opened the device without taking the lock is let in by the system, and
    // every byte it reads is lost to the line: said once, here and in the status line.
    compartido_con_ = PortHolders(SerialDevice::DevicePath(Sys_Port));
    Actualiza_Estado();
    if (!compartido_con_.empty())
        QMessageBox::warning(this, Titulo_Kalvex(), Aviso_Compartido(compartido_con_));
}

void TF_Princ::Actualiza_Estado() {
    const QString texto = Linea_Estado(*Decod1, Sys_Port, causa_fallo_, compartido_con_);
    Estado_Puerto->setText(texto);
    Estado_Puerto->setToolTip(texto);
    // The editors' state lines say the same when the port is not there to use.
    Anota_Estado_Linea({Decod1->Connected() && Decod1->LineState() != TLineState::Gone, texto});
    if (!retenido_ && compartido_con_.empty())
        vigila_otros_->stop();
    else if (!vigila_otros_->isActive())
        vigila_otros_->start();
}

void TF_Princ::Revisa_Otros_Programas() {
    const std::vector<PortHolder> ahora = PortHolders(SerialDevice::DevicePath(Sys_Port));
    if (retenido_) {
        if (ahora.empty())
            Abre_Puerto();
        return;
    }
    if (!Mismos_Programas(ahora, compartido_con_)) {
        compartido_con_ = ahora;
        Actualiza_Estado();
    }
}

void TF_Princ::Rellena_Puertos_Presentes() {
    for (QAction* item : puertos_presentes_) {
        SerialPort1->removeAction(item);
        item->setObjectName(QString()); // gone from the menu: no longer found by its name
        item->deleteLater();
    }
    puertos_presentes_.clear();
    puertos_presentes_ << SerialPort1->addSeparator();
    const auto anade = [this](const QString& rotulo, const QString& ruta) {
        QAction* item = SerialPort1->addAction(rotulo);
        item->setData(ruta);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, Atrapa([this, ruta] { Elige_Puerto(ruta); }));
        puertos_presentes_ << item;
    };
    const std::vector<PresentPort> presentes = PresentPorts();
    for (const PresentPort& presente : presentes)
        anade(presente.label, presente.path);
    // The port in use is always there to be seen ticked, also one typed that is not present.
    if (!Sys_Port.isEmpty() && !Puerto_COM(Sys_Port) && !FindPresentPort(presentes, Sys_Port))
        anade(Rotulo_Puerto(Sys_Port), Sys_Port);
    QAction* otro = SerialPort1->addAction(Texto(QStringLiteral("Port_Other")));
    otro->setObjectName(QStringLiteral("Otro_Puerto"));
    connect(otro, &QAction::triggered, this, Atrapa([this] { Otro_Puerto(); }));
    puertos_presentes_ << otro;
    Inicializa_menu_puertos();
}

void TF_Princ::Elige_Puerto(const QString& puerto) {
    // Stored before the program ends: a restart would only bring back the old port if the
    // settings could not keep the new one.
    const QString anterior = Sys_Port;
    Sys_Port = puerto;
    QString causa;
    if (!Guarda_Configuracion(causa)) {
        Sys_Port = anterior;
        Inicializa_menu_puertos();
        Avisa_Ajustes(this, causa,
                      Texto(QStringLiteral("Set_PortKept")).arg(Rotulo_Puerto(anterior)));
        return;
    }
    Inicializa_menu_puertos();
    reiniciar_ = true;
    close();
}

void TF_Princ::Otro_Puerto() {
    bool aceptado = false;
#ifdef Q_OS_WIN
    const QString pregunta = Texto(QStringLiteral("Port_OtherPromptWin"));
#else
    const QString pregunta = Texto(QStringLiteral("Port_OtherPrompt"));
#endif
    // Starts with the port in use, to be corrected rather than typed again; a stored name
    // longer than any port is no start.
    const QString actual = Nombre_Puerto_Excesivo(Sys_Port) ? QString() : Sys_Port;
    const QString ruta =
        QInputDialog::getText(this, Titulo_Kalvex(), pregunta, QLineEdit::Normal, actual, &aceptado)
            .trimmed();
    if (aceptado && !ruta.isEmpty())
        Elige_Puerto(ruta);
}

qint64 TF_Princ::Pid_Reinicio() {
    return pid_reinicio;
}

void TF_Princ::Reinicia() {
    // Tests set this, so that no test ever leaves a second program running.
    if (qEnvironmentVariableIsSet("KALVEX_NO_RESTART"))
        return;
    qint64 pid = 0;
    // The environment is inherited as it stands; no argument: an ordinary start.
    if (QProcess::startDetached(QCoreApplication::applicationFilePath(), {}, QDir::currentPath(),
                                &pid))
        pid_reinicio = pid;
}

void TF_Princ::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        if (const QScreen* pantalla = screen()) {
            QRect marco = frameGeometry();
            marco.moveCenter(pantalla->availableGeometry().center());
            move(marco.topLeft());
        }
    }
    QMainWindow::showEvent(event);
    FormShow();
}

void TF_Princ::FormShow() {
    Inicializa_menu_puertos();
    // What the record has to say about its file (gone, set aside, read-only), once the window
    // is there to say it over.
    QTimer::singleShot(0, this, [this] { Menu_Instalacion->Avisa(); });
}

void TF_Princ::Inicializa_menu_puertos() {
    // One item ticked, the port in use: a COM item by its exact name (COM12 is not COM1),
    // else the item below them that leads to the same device.
    for (int n = 1; n <= 4; ++n) {
        const QString nombre = QStringLiteral("COM%1").arg(n);
        auto* item = SerialPort1->findChild<QAction*>(nombre);
        if (!item)
            item = findChild<QAction*>(nombre);
        item->setChecked(Sys_Port == nombre);
    }
    const bool com = Puerto_COM(Sys_Port);
    for (QAction* item : puertos_presentes_)
        if (item->isCheckable())
            item->setChecked(!com && SamePort(item->data().toString(), Sys_Port));
}

void TF_Princ::COM1Click(QAction* item) {
    Elige_Puerto(item->objectName());
}

void TF_Princ::closeEvent(QCloseEvent* event) {
    // Work under way (a devices test, a Save, a read) waits for the line in a nested event
    // loop below this one: closing the port now would fail it and leave the program unable
    // to end. The test and a survey are told to stop (a survey closes the decoder it is
    // reading and tells the record first), and the close comes back once the line is free.
    Ventanas().F_Test->B_STOPClick();
    Ventanas().F_Sondeo->B_StopClick();
    if (Decod1->En_Espera() || Ventanas().F_Sondeo->En_Curso()) {
        event->ignore();
        cierre_pendiente_->start();
        return;
    }
    Cierra_Editores();
    const bool primera_vez = !cerrado_;
    FormClose();
    event->accept();
    if (reiniciar_ && primera_vez)
        Reinicia();
    QApplication::quit();
}

void TF_Princ::Cierra_Editores() {
    // Each sends its closing frames while the line is still open, so no decoder is left in
    // programming mode.
    for (const TModelo& modelo : Tabla_Modelos())
        if (TF_Decoder* editor = Editor_Modelo(modelo); editor && editor->isVisible())
            editor->close();
}

void TF_Princ::FormClose() {
    if (cerrado_)
        return;
    cerrado_ = true;
    try {
        Decod1->SetConnected(false);
    } catch (const std::exception& error) {
        // The program is ending: a box would only hold the exit up. The settings are written
        // all the same.
        qWarning("%s", error.what());
    }
    Guarda_Al_Salir();
    Libera_Fichero_Idiomas();
}

void TF_Princ::Guarda_Al_Salir() {
    QString causa;
    if (Guarda_Configuracion(causa))
        return;
    qWarning("%s", qUtf8Printable(Aviso_Ajustes(causa, {})));
    // Choices are stored when they are made, so the file usually holds them already and the
    // failed write lost nothing: no box then to hold the exit up.
    if (!Configuracion_Guardada())
        Avisa_Ajustes(this, causa,
                      Texto(QStringLiteral("Set_AtExit")).arg(Rotulo_Puerto(Sys_Port), Idioma));
}

bool TF_Princ::eventFilter(QObject* watched, QEvent* event) {
    if (watched == C1 && event->type() == QEvent::KeyPress)
        return C1KeyPress(static_cast<QKeyEvent*>(event));
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease) {
        Label4Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TF_Princ::C1KeyPress(QKeyEvent* key) {
    // No text can be typed into the list (nor can letters jump through it): an entry is
    // chosen with the mouse or the arrow keys.
    const QString text = key->text();
    return !text.isEmpty() && text[0].isPrint();
}

void TF_Princ::Label4Click() {
    Abre_Web();
}

void TF_Princ::B_GoClick() {
    if (Avisa_Sondeo_En_Curso(this))
        return;
    TEnrutado& enrutado = Enrutado();
    enrutado.Modelo_Activo = 0;
    enrutado.Lectura.Reinicia();
    const QString entrada = C1->currentText();
    if (entrada.isEmpty())
        return;
    bool numero = false;
    const TModelo* modelo = Modelo_Por_Referencia(entrada.left(4).toInt(&numero));
    if (!numero || !modelo)
        return;
    Editor_Modelo(*modelo)->Label14->setText(entrada);
    Abre_Editor(*modelo);
}

void TF_Princ::Language1Click() {
    TF_Lang* ventana = Ventanas().F_Lang;
    ventana->Tag = 0;
    ventana->exec();
    if (ventana->Tag == 1) {
        reiniciar_ = true;
        close();
    }
}

QString TF_Princ::Fichero_Ayuda(const QString& idioma) {
    QString nombre = QStringLiteral("KALVEXHELPINGLES.html");
    if (idioma == QStringLiteral("ESPA\u00D1OL"))
        nombre = QStringLiteral("KALVEXHELP.html");
    else if (idioma == QStringLiteral("FRAN\u00C7AIS"))
        nombre = QStringLiteral("KALVEXHELPFRANCES.html");
    else if (idioma == QStringLiteral("DEUTSCH"))
        nombre = QStringLiteral("KALVEXHELPALEMAN.html");
    return Carpeta_Datos() + QLatin1Char('/') + nombre;
}

void TF_Princ::Help1Click() {
    if (!ayuda_)
        ayuda_ = new TF_Ayuda(this);
    ayuda_->Muestra(Fichero_Ayuda(Idioma));
}

void TF_Princ::est1Click() {
    Muestra_Sin_Modo(Ventanas().F_Test);
}

void TF_Princ::Reprogramming2Click() {
    Muestra_Sin_Modo(Ventanas().F_Reprogram);
}

void TF_Princ::Survey1Click() {
    Muestra_Sin_Modo(Ventanas().F_Sondeo);
}

void TF_Princ::About2Click() {
    Ventanas().AboutBox->exec();
}
