#include "UF_Decoder_6775.h"

#include "Configuracion.h"
#include "Conversion.h"
#include "Enrutado.h"
#include "Errores.h"
#include "Idiomas.h"
#include "UComunicaciones.h"
#include "UF_Decoder_6775_Help.h"
#include "Ventanas.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr uint8_t Registro_Panel = 0x21;
constexpr uint8_t Registro_Bloque = 0x22;
constexpr uint8_t Registro_Apertura = 0x23;
constexpr uint8_t Registro_Minimo = 0x24;
constexpr int Espera_Lectura_ms = 250;
// The panel number travels in the low nibble of the command byte.
constexpr int Mayor_Panel = 15;
constexpr int Mayor_Byte = 255;

const QString Nuevo_Bloque = QStringLiteral("Edit5");

QString Cero_Si_Vacio(const QString& texto) {
    return texto.isEmpty() ? QStringLiteral("0") : texto;
}

// The block is typed as two decimal digits and sent as the two nibbles of its byte.
constexpr int Mayor_Bloque = 99;

// The list holds "1", "2" and "3"; a value read from the device stands as it is, in the list
// or not, so that Save writes back what the device holds.
void Pon_Texto(QComboBox* combo, const QString& texto) {
    combo->setCurrentIndex(combo->findText(texto));
    combo->setEditText(texto);
}

void Prepara_Lista(QComboBox* combo) {
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Picked from the list, never typed: no typing, pasting or cutting reaches the text.
    combo->lineEdit()->setReadOnly(true);
    combo->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    combo->setCurrentIndex(-1);
}

} // namespace

TF_Decoder_6775::TF_Decoder_6775(QWidget* parent)
    : TF_Decoder(QStringLiteral("F_Decoder_6775"),
                 {QStringLiteral("6775"), QStringLiteral("digitalizador.jpg")}, parent) {
    // This window's layout names its picture Image2.
    Image1->setObjectName(QStringLiteral("Image2"));

    TRejilla rejilla;
    rejilla.Nombre_Nuevo = QStringLiteral("Label3");
    rejilla.Numeros = false;
    const auto fila = [](const char* clave, const char* actual, const char* nuevo, TCelda a,
                         TCelda n) {
        return Fila_De_Clave(QString::fromLatin1(clave), QString::fromLatin1(actual),
                             QString::fromLatin1(nuevo), {a}, {n});
    };
    // The New edits take no width limit of the field itself: it would cut a longer value read
    // from the device (panel 12, opening time 30) down to its first digit. Edit4KeyPress
    // bounds what is typed instead.
    rejilla.Filas = {
        fila("GEN_MEN021", "Label1", "Label6", {TTipo_Celda::Edit, QStringLiteral("Edit1"), 4},
             {TTipo_Celda::Edit, QStringLiteral("Edit4"), 0}),
        fila("GEN_MEN022", "Label2", "Label7", {TTipo_Celda::Edit, QStringLiteral("Edit2"), 4},
             {TTipo_Celda::Edit, Nuevo_Bloque, 0}),
        fila("GEN_MEN023", "Label4", "Label8", {TTipo_Celda::Edit, QStringLiteral("Edit3"), 4},
             {TTipo_Celda::Edit, QStringLiteral("Edit6"), 0}),
        // A minimum time is one byte: three digits at most.
        fila("GEN_MEN024", "Label5", "Label9", {TTipo_Celda::Combo, QStringLiteral("C1"), 3},
             {TTipo_Celda::Combo, QStringLiteral("C2"), 3}),
    };
    Construye_Rejilla(rejilla);
    for (const TFila& f : rejilla.Filas)
        findChild<QLabel*>(f.Nombre_Actual)->setEnabled(false);

    C1 = findChild<QComboBox*>(QStringLiteral("C1"));
    C2 = findChild<QComboBox*>(QStringLiteral("C2"));
    for (QComboBox* c : {C1, C2}) {
        Prepara_Lista(c);
        c->installEventFilter(this);
    }
    Label9 = findChild<QLabel*>(QStringLiteral("Label9"));
    Label9->setCursor(Qt::PointingHandCursor);
    Label9->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(Espera_Lectura_ms);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, Atrapa([this] { Timer1Timer(); }));

    Aplica_Textos();
}

void TF_Decoder_6775::setVisible(bool visible) {
    // A poll still pending would address a device already sent its closing frame.
    if (!visible)
        Timer1->stop();
    TF_Decoder::setVisible(visible);
}

void TF_Decoder_6775::Lee_Decoder(const Trama_Dec& FTResul) {
    if (!Lectura().Recibe(FTResul).Anunciado)
        return;
    panel_ = FTResul[0] & 0x0F;
    bloque_ = FTResul[3];
    Lectura_Empezada();
    Inicializa_Valores();
    Timer1->start();
}

void TF_Decoder_6775::Inicializa_Valores() {
    for (int k = 1; k <= 6; ++k)
        Edit(k)->clear();
    Pon_Texto(C1, {});
    Pon_Texto(C2, {});
    Edit(4)->setFocus();
}

void TF_Decoder_6775::Timer1Timer() {
    Timer1->stop();
    Averigua_Valores();
}

void TF_Decoder_6775::Averigua_Valores() {
    const QString panel = QString::number(panel_);
    Edit(1)->setText(panel);
    Edit(4)->setText(panel);
    const QString bloque = QStringLiteral("%1").arg(bloque_, 2, 16, QLatin1Char('0')).toUpper();
    Edit(2)->setText(bloque);
    Edit(5)->setText(bloque);
    const QString apertura = QString::number(Lee_Registro(Registro_Apertura, panel_, bloque_));
    Edit(3)->setText(apertura);
    Edit(6)->setText(apertura);
    const QString minimo = QString::number(Lee_Registro(Registro_Minimo, panel_, bloque_));
    Pon_Texto(C1, minimo);
    Pon_Texto(C2, minimo);
    Anota_Lectura();
}

TF_Decoder_6775::TNuevos TF_Decoder_6775::Nuevos() const {
    TNuevos n{};
    n.Panel = static_cast<uint8_t>(Cero_Si_Vacio(Edit(4)->text()).toInt());
    n.Bloque = Hex_A_Byte(Rellena_Ceros_Iz(Cero_Si_Vacio(Edit(5)->text()), 2));
    n.Apertura = static_cast<uint8_t>(Cero_Si_Vacio(Edit(6)->text()).toInt());
    n.Minimo = static_cast<uint8_t>(C2->currentText().toInt());
    return n;
}

// Every value is judged before the first write: the panel and block writes move the device,
// so a refusal half way through would leave it at a new address with its old times. Only the
// low byte (or nibble) of a larger number would reach the device: 300 would arrive as 44.
void TF_Decoder_6775::Comprueba_Nuevos() {
    const QString mayor = QStringLiteral("GEN_MEN042");
    Exige_Maximo(Edit(4), Lugar_Fila(0), Mayor_Panel, mayor);
    Exige_Maximo(Edit(5), Lugar_Fila(1), Mayor_Bloque, mayor);
    Exige_Maximo(Edit(6), Lugar_Fila(2), Mayor_Byte, mayor);
    // Empty until a poll or the installer has chosen one.
    const QString minimo = C2->currentText();
    if (minimo.isEmpty())
        Rechaza(C2, Texto(QStringLiteral("GEN_MEN043")).arg(Lugar_Fila(3)));
    for (QChar c : minimo)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            Rechaza(C2, Texto(QStringLiteral("GEN_MEN040")).arg(Lugar_Fila(3), minimo));
    if (minimo.toInt() > Mayor_Byte)
        Rechaza(C2, Texto(mayor).arg(Lugar_Fila(3), minimo).arg(Mayor_Byte));
}

void TF_Decoder_6775::Rellena_TODOS_CEROS_IZ() {
    Edit(4)->setText(Cero_Si_Vacio(Edit(4)->text()));
    Edit(5)->setText(Rellena_Ceros_Iz(Cero_Si_Vacio(Edit(5)->text()), 2));
    Edit(6)->setText(Cero_Si_Vacio(Edit(6)->text()));
}

bool TF_Decoder_6775::Confirma_Grabacion() {
    const TNuevos n = Nuevos();
    if (n.Panel == panel_ && n.Bloque == bloque_)
        return true;
    // A new panel or block moves the device to another address on the bus: the installer
    // says so knowingly.
    QMessageBox pregunta(QMessageBox::Question, Titulo_Kalvex(),
                         Texto(QStringLiteral("GEN_MEN044"))
                             .arg(panel_)
                             .arg(bloque_, 2, 16, QLatin1Char('0'))
                             .arg(n.Panel)
                             .arg(n.Bloque, 2, 16, QLatin1Char('0')),
                         QMessageBox::NoButton, this);
    pregunta.setObjectName(QStringLiteral("Confirma_Direccion"));
    QPushButton* mover =
        pregunta.addButton(Texto(QStringLiteral("GEN_MEN045")), QMessageBox::AcceptRole);
    mover->setObjectName(QStringLiteral("B_Mover"));
    pregunta.setDefaultButton(
        pregunta.addButton(Texto(QStringLiteral("GEN_MEN046")), QMessageBox::RejectRole));
    pregunta.exec();
    return pregunta.clickedButton() == mover;
}

bool TF_Decoder_6775::Graba() {
    const TNuevos n = Nuevos();
    bool todo_aceptado = true;
    const auto escribe = [&](int fila, uint8_t registro, uint8_t valor) {
        const bool aceptado =
            Graba_Fila(fila, [&] { return Escribe_Registro(registro, valor, panel_, bloque_); });
        todo_aceptado = todo_aceptado && aceptado;
    };
    // The device answers at its new address as soon as it has taken it; the editor follows
    // it there whatever the reply, and the remaining writes go to the new address.
    escribe(0, Registro_Panel, n.Panel);
    panel_ = n.Panel;
    escribe(1, Registro_Bloque, n.Bloque);
    bloque_ = n.Bloque;
    escribe(2, Registro_Apertura, n.Apertura);
    escribe(3, Registro_Minimo, n.Minimo);
    return todo_aceptado;
}

QList<TCodigo_Registro> TF_Decoder_6775::Codigos_Registro(TLado lado) const {
    // A digitizer is reached by its panel and block together.
    const bool nuevo = lado == TLado::Nuevo;
    const QString panel = Edit(nuevo ? 4 : 1)->text();
    const QString bloque = Edit(nuevo ? 5 : 2)->text();
    bool panel_valido = false;
    bool bloque_valido = false;
    const qint64 p = panel.toLongLong(&panel_valido);
    const qint64 b = bloque.toLongLong(&bloque_valido, 16);
    if (!panel_valido || !bloque_valido)
        return {};
    const qint64 direccion = p * 256 + b;
    return {{Fila().Espacio, direccion, direccion, panel + QStringLiteral("/") + bloque.toUpper(),
             Lugar_Registro(0) + QStringLiteral(" / ") + Lugar_Registro(1)}};
}

bool TF_Decoder_6775::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == C1 || watched == C2)
            return C2KeyPress(key);
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            return Edit4KeyPress(edit, key);
    }
    if (watched == Label9 && event->type() == QEvent::MouseButtonRelease) {
        Label9Click();
        return true;
    }
    return TF_Decoder::eventFilter(watched, event);
}

bool TF_Decoder_6775::Edit4KeyPress(QLineEdit* edit, QKeyEvent* key) {
    if (Edit1KeyPress(key))
        return true;
    // The width limit bounds typing only, as the field keeps a longer value read from the
    // device whole.
    const int ancho = edit->objectName() == Nuevo_Bloque ? 2 : 1;
    const QString texto = key->text();
    const bool escribe = !texto.isEmpty() && texto[0].unicode() >= u' ';
    return escribe && edit->text().size() - edit->selectedText().size() >= ancho;
}

bool TF_Decoder_6775::C2KeyPress(QKeyEvent* key) {
    // Tab still moves on; the arrows and the list choose, as they type nothing.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    return !key->text().isEmpty();
}

void TF_Decoder_6775::Label9Click() {
    TF_Decoder_6775_Help* ayuda = Ventanas().F_Decoder_6775_Help;
    ayuda->Label14->setText(Label14->text());
    ayuda->exec();
}
