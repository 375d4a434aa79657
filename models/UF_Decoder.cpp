#include "UF_Decoder.h"

#include "Aviso_Ajustes.h"
#include "Configuracion.h"
#include "DECODER2.h"
#include "Enrutado.h"
#include "Errores.h"
#include "F_Mensa.h"
#include "Idiomas.h"
#include "Linea_Estado.h"
#include "Modelos.h"
#include "Progreso_Grabacion.h"
#include "Recursos.h"
#include "Registro.h"
#include "Rotulos.h"
#include "Teclas.h"
#include "UComunicaciones.h"
#include "Valor_Control.h"
#include "Valores_Leidos.h"
#include "Ventanas.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

#include <utility>

namespace {

constexpr int Espera_Vacio_ms = 200;
// A decoder sends its next frame as soon as it has the acknowledgement of the last one: the
// gap inside a read-out is two frames on the line (10 ms at 9600 baud) plus the decoder's
// turnaround and, with a USB adapter, up to two 16 ms latency timers, well under 100 ms. A
// pause of 400 ms therefore means the read-out has stopped, and it is still far shorter than
// any installer takes to press the programming button again.
constexpr int Pausa_Lectura_ms = 400;
// How often a closing frame that met a busy link is tried again.
constexpr int Reintento_Cierre_ms = 20;
constexpr int Hueco_Columnas = 28;
// After the programming request of a read-back, a decoder that serves the code starts its
// read-out within a few frame times; one that has not begun within a second will not.
constexpr int Espera_Relectura_ms = 1000;

QPixmap Dibujo(const QString& nombre) {
    if (nombre.endsWith(QStringLiteral(".jpg")))
        return QPixmap::fromImage(Foto(nombre));
    return Imagen(nombre);
}

} // namespace

TF_Decoder::TF_Decoder(const QString& nombre, const TModelo_Editor& modelo, QWidget* parent)
    : TVentana_Kalvex(nombre, Qt::Tool | Qt::WindowStaysOnTopHint, parent), modelo_(modelo),
      cuerpo_(new QGridLayout) {
    Image1 = Crea_Etiqueta(QStringLiteral("Image1"), {}, this);
    const QPixmap dibujo = Dibujo(modelo.Imagen);
    Image1->setPixmap(dibujo.height() > 220 ? dibujo.scaledToHeight(220, Qt::SmoothTransformation)
                                            : dibujo);
    Label14 = Crea_Rotulo(QStringLiteral("Label14"), QStringLiteral("Ref. ") + modelo.Referencia,
                          1.25, this);
    Label28 = Crea_Etiqueta(QStringLiteral("Label28"), {}, this);
    Label28->setText(QStringLiteral("*Press programming button"));
    Label10 = Crea_Etiqueta(QStringLiteral("Label10"), {}, this);
    Label10->setText(QStringLiteral(" to get values"));

    B_Close = Crea_Boton(QStringLiteral("B_Close"), QStringLiteral("cerrar.png"), {});
    B_Close->setText(QStringLiteral("Close"));
    B_Save = Crea_Boton(QStringLiteral("B_Save"), QStringLiteral("guardar.png"), {});
    B_Save->setText(QStringLiteral("Save"));
    connect(B_Close, &QPushButton::clicked, this, &QWidget::close);
    connect(B_Save, &QPushButton::clicked, this, Atrapa([this] { B_SaveClick(); }));
    B_Guarda_Config =
        Crea_Boton(QStringLiteral("B_Guarda_Config"), QStringLiteral("fichero_guarda.png"),
                   QStringLiteral("Cfg_SaveFile"));
    B_Carga_Config =
        Crea_Boton(QStringLiteral("B_Carga_Config"), QStringLiteral("fichero_carga.png"),
                   QStringLiteral("Cfg_LoadFile"));
    B_Actuales = Crea_Boton(QStringLiteral("B_Actuales"), QStringLiteral("actuales.png"),
                            QStringLiteral("Cfg_Revert"));
    connect(B_Guarda_Config, &QPushButton::clicked, this, Atrapa([this] { Pide_Fichero(true); }));
    connect(B_Carga_Config, &QPushButton::clicked, this, Atrapa([this] { Pide_Fichero(false); }));
    connect(B_Actuales, &QPushButton::clicked, this, Atrapa([this] { B_ActualesClick(); }));

    T_Estado_TiempoInicial = new QTimer(this);
    T_Estado_TiempoInicial->setObjectName(QStringLiteral("T_Estado_TiempoInicial"));
    T_Estado_TiempoInicial->setInterval(Espera_Vacio_ms);
    T_Estado_TiempoInicial->setSingleShot(true);
    connect(T_Estado_TiempoInicial, &QTimer::timeout, this, Atrapa([this] {
                T_Estado_TiempoInicialTimer();
                // The reads this timer makes (times, settings) complete the Current column.
                if (std::exchange(lectura_completa_, false))
                    Anota_Lectura();
            }));

    fin_lectura_ = new QTimer(this);
    fin_lectura_->setInterval(Pausa_Lectura_ms);
    fin_lectura_->setSingleShot(true);
    connect(fin_lectura_, &QTimer::timeout, this,
            Atrapa([this] { Sigue_Lectura(Lectura().Pausa(), {}); }));

    Estado_Editor = Crea_Etiqueta(QStringLiteral("Estado_Editor"), {}, this);
    Estado_Editor->setWordWrap(true);
    Estado_Editor->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for two lines whatever it says, and no say in the width: the window keeps its size
    // while the text changes.
    Estado_Editor->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    Estado_Editor->setFixedHeight(2 * Estado_Editor->fontMetrics().lineSpacing());
    linea_estado_ = std::make_unique<TLinea_Estado>(Estado_Editor);

    CB_ReadBack = new QCheckBox(this);
    CB_ReadBack->setObjectName(QStringLiteral("CB_ReadBack"));
    CB_ReadBack->setChecked(true);
    connect(CB_ReadBack, &QCheckBox::toggled, this, Atrapa([this] {
                QString causa;
                if (!Guarda_Relectura(CB_ReadBack->isChecked(), causa))
                    Avisa_Ajustes(this, causa, {});
            }));

    espera_relectura_ = new QTimer(this);
    espera_relectura_->setInterval(Espera_Relectura_ms);
    espera_relectura_->setSingleShot(true);
    connect(espera_relectura_, &QTimer::timeout, this, Atrapa([this] { Sin_Relectura(); }));

    cierre_pendiente_ = new QTimer(this);
    cierre_pendiente_->setInterval(Reintento_Cierre_ms);
    cierre_pendiente_->setSingleShot(true);
    connect(cierre_pendiente_, &QTimer::timeout, this, Atrapa([this] { Cierra_Decoder(); }));

    auto* derecha = new QVBoxLayout;
    derecha->setSpacing(2);
    derecha->addWidget(Label14);
    derecha->addSpacing(6);
    derecha->addWidget(Label28);
    derecha->addWidget(Label10);
    derecha->addSpacing(12);
    derecha->addLayout(cuerpo_);
    derecha->addStretch();

    auto* principal = new QHBoxLayout(this);
    principal->setSizeConstraint(QLayout::SetFixedSize);
    principal->setContentsMargins(16, 14, 18, 14);
    principal->setSpacing(18);
    principal->addWidget(Image1, 0, Qt::AlignTop);
    principal->addLayout(derecha);
}

int TF_Decoder::Referencia() const {
    return modelo_.Referencia.toInt();
}

const TModelo& TF_Decoder::Fila() const {
    return *Modelo_Por_Referencia(Referencia());
}

QPushButton* TF_Decoder::Crea_Boton(const QString& nombre, const QString& glifo,
                                    const QString& clave_ayuda) {
    auto* boton = new QPushButton(this);
    boton->setObjectName(nombre);
    boton->setIcon(QIcon(Imagen(glifo)));
    boton->setCursor(Qt::PointingHandCursor);
    // Return in a New field must not press a button, as none is the window's default.
    boton->setAutoDefault(false);
    boton->setProperty("clave_ayuda", clave_ayuda);
    return boton;
}

QWidget* TF_Decoder::Crea_Celda(const TCelda& celda, bool nuevo) {
    QWidget* control = nullptr;
    switch (celda.Tipo) {
    case TTipo_Celda::Edit: {
        auto* edit = new QLineEdit(this);
        if (celda.Ancho > 0)
            edit->setMaxLength(celda.Ancho);
        const int caracteres = celda.Ancho > 0 ? celda.Ancho : 4;
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(caracteres + 2, u'0')) +
                            12);
        edit->setAlignment(Qt::AlignCenter);
        if (nuevo) {
            edit->installEventFilter(this);
        } else {
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::NoFocus);
            QPalette gris = edit->palette();
            gris.setColor(QPalette::Base, gris.color(QPalette::Button));
            edit->setPalette(gris);
        }
        control = edit;
        break;
    }
    case TTipo_Celda::Combo:
        control = new QComboBox(this);
        break;
    case TTipo_Celda::Check:
        control = new QCheckBox(this);
        break;
    }
    control->setObjectName(celda.Nombre);
    if (!nuevo && celda.Tipo != TTipo_Celda::Edit) {
        control->setEnabled(false);
        control->setFocusPolicy(Qt::NoFocus);
    }
    return control;
}

void TF_Decoder::Construye_Rejilla(const TRejilla& rejilla, QList<QPushButton*> botones_nuevos) {
    rejilla_ = rejilla;
    botones_nuevos << B_Guarda_Config << B_Carga_Config << B_Actuales;
    cuerpo_->setHorizontalSpacing(8);
    cuerpo_->setVerticalSpacing(4);
    const int columnas =
        1 + static_cast<int>(qMax(rejilla.Columnas.size(), rejilla.Filas.value(0).Nuevo.size()));
    const int inicio[2] = {0, columnas + 1}; // Current block, New block
    cuerpo_->setColumnMinimumWidth(columnas, Hueco_Columnas);

    QFont negrita = font();
    negrita.setBold(true);
    int fila = 0;
    const QString titulos[2] = {rejilla.Nombre_Actual, rejilla.Nombre_Nuevo};
    for (int lado = 0; lado < 2; ++lado) {
        QLabel* titulo = Crea_Etiqueta(titulos[lado], {}, this);
        titulo->setFont(negrita);
        cuerpo_->addWidget(titulo, fila, inicio[lado], 1, columnas, Qt::AlignHCenter);
    }
    ++fila;

    if (!rejilla.Rotulos.Clave.isEmpty() || !rejilla.Columnas.isEmpty()) {
        for (int lado = 0; lado < 2; ++lado) {
            const QString nombre =
                lado == 0 ? rejilla.Rotulos.Nombre_Actual : rejilla.Rotulos.Nombre_Nuevo;
            if (!rejilla.Rotulos.Clave.isEmpty())
                cuerpo_->addWidget(Crea_Etiqueta(nombre, {}, this), fila, inicio[lado],
                                   Qt::AlignHCenter);
            for (int c = 0; c < rejilla.Columnas.size(); ++c) {
                const TCabecera& cab = rejilla.Columnas[c];
                cuerpo_->addWidget(
                    Crea_Etiqueta(lado == 0 ? cab.Nombre_Actual : cab.Nombre_Nuevo, {}, this), fila,
                    inicio[lado] + 1 + c, Qt::AlignHCenter);
            }
        }
        ++fila;
    }

    // Current before New in each row would put the Current controls first in the tab order;
    // they take no focus, so the New fields follow each other from the first to the last.
    for (const TFila& f : rejilla.Filas) {
        for (int lado = 0; lado < 2; ++lado) {
            QLabel* rotulo = Crea_Etiqueta(lado == 0 ? f.Nombre_Actual : f.Nombre_Nuevo, {}, this);
            rotulo->setText(f.Rotulo);
            if (rejilla.Numeros)
                rotulo->setStyleSheet(QStringLiteral("color: %1;").arg(Azul_Kalvex));
            cuerpo_->addWidget(rotulo, fila, inicio[lado],
                               rejilla.Numeros ? Qt::AlignCenter
                                               : Qt::AlignLeft | Qt::AlignVCenter);
            const QList<TCelda>& celdas = lado == 0 ? f.Actual : f.Nuevo;
            for (int c = 0; c < celdas.size(); ++c)
                cuerpo_->addWidget(Crea_Celda(celdas[c], lado == 1), fila, inicio[lado] + 1 + c,
                                   Qt::AlignCenter);
        }
        ++fila;
    }

    cuerpo_->setRowMinimumHeight(fila++, 8);
    auto* juntos = new QHBoxLayout;
    juntos->setSpacing(4);
    for (QPushButton* b : botones_nuevos)
        juntos->addWidget(b);
    cuerpo_->addLayout(juntos, fila++, inicio[1], 1, columnas, Qt::AlignHCenter);
    cuerpo_->addWidget(B_Close, fila, inicio[0], 1, columnas);
    cuerpo_->addWidget(B_Save, fila, inicio[1], 1, columnas);
    // Under Save rather than beside it: beside it, its text would widen the New column.
    cuerpo_->addWidget(CB_ReadBack, fila + 1, inicio[1], 1, columnas, Qt::AlignHCenter);
    cuerpo_->addWidget(Estado_Editor, fila + 2, 0, 1, inicio[1] + columnas);

    // Tab order: the New fields, then the New column's buttons, Save, Close.
    QWidget* anterior = nullptr;
    auto sigue = [&anterior](QWidget* w) {
        if (anterior)
            setTabOrder(anterior, w);
        anterior = w;
    };
    for (const TFila& f : rejilla.Filas)
        for (const TCelda& c : f.Nuevo)
            sigue(findChild<QWidget*>(c.Nombre));
    for (QPushButton* b : botones_nuevos)
        sigue(b);
    sigue(B_Save);
    sigue(CB_ReadBack);
    sigue(B_Close);

    for (const TValor_Rejilla& v : Valores_Rejilla()) {
        QWidget* actual = Celda(v.Fila, v.Columna, TLado::Actual);
        QWidget* nuevo = Celda(v.Fila, v.Columna, TLado::Nuevo);
        marcas_.Anade(actual, nuevo);
        Al_Cambiar(actual);
        Al_Cambiar(nuevo);
    }
}

void TF_Decoder::Al_Cambiar(QWidget* control) {
    auto actualiza = [this] { Actualiza_Marcas(); };
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        connect(edit, &QLineEdit::textChanged, this, actualiza);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        connect(combo, &QComboBox::currentTextChanged, this, actualiza);
    else if (auto* check = qobject_cast<QCheckBox*>(control))
        connect(check, &QCheckBox::toggled, this, actualiza);
}

void TF_Decoder::Actualiza_Marcas() {
    // The controls change while the family builds them; Aplica_Textos marks them once done.
    if (texto_cambios_.isEmpty())
        return;
    B_Save->setToolTip(texto_cambios_.arg(marcas_.Actualiza(leido_)));
    // Without a read-out or an acknowledged write there are no current values to go back to.
    B_Actuales->setEnabled(leido_ || marcas_.Todo_Conocido(false));
}

void TF_Decoder::Aplica_Textos() {
    auto pon = [this](const QString& nombre, const QString& texto) {
        if (QLabel* l = nombre.isEmpty() ? nullptr : findChild<QLabel*>(nombre))
            l->setText(texto);
    };
    setWindowTitle(Titulo_Kalvex(modelo_.Referencia + QStringLiteral(" - ") +
                                 Texto(QStringLiteral("List_") + modelo_.Referencia)));
    Label28->setText(Texto(QStringLiteral("GEN_MEN014")));
    Label10->setText(Texto(QStringLiteral("GEN_MEN015")));
    pon(rejilla_.Nombre_Actual, Texto(QStringLiteral("GEN_MEN01")));
    pon(rejilla_.Nombre_Nuevo, Texto(QStringLiteral("GEN_MEN02")));
    QList<TCabecera> cabeceras = rejilla_.Columnas;
    if (!rejilla_.Rotulos.Clave.isEmpty())
        cabeceras.prepend(rejilla_.Rotulos);
    for (const TCabecera& cab : cabeceras) {
        const QString texto = Texto(cab.Clave);
        pon(cab.Nombre_Actual, texto);
        pon(cab.Nombre_Nuevo, texto);
    }
    B_Close->setText(Texto(QStringLiteral("GEN_MEN09")));
    B_Save->setText(Texto(QStringLiteral("GEN_MEN010")));
    CB_ReadBack->setText(Texto(QStringLiteral("Est_ReadBack")));
    CB_ReadBack->setAccessibleName(CB_ReadBack->text());
    CB_ReadBack->setToolTip(Texto(QStringLiteral("Est_ReadBackTip")));
    Estado_Editor->setAccessibleName(Texto(QStringLiteral("Est_Name")));
    for (QPushButton* b : findChildren<QPushButton*>()) {
        const QString clave = b->property("clave_ayuda").toString();
        if (clave.isEmpty())
            continue;
        // A glyph says nothing to a screen reader: it reads what the tool-tip says.
        b->setToolTip(Texto(clave));
        b->setAccessibleName(b->toolTip());
    }
    // A screen reader tells the fields apart by their place and column: "Output 2, New".
    for (const TValor_Rejilla& v : Valores_Rejilla()) {
        const QString lugar = Lugar_Valor(v) + QStringLiteral(", ");
        Celda(v.Fila, v.Columna, TLado::Actual)
            ->setAccessibleName(lugar + Texto(QStringLiteral("GEN_MEN01")));
        Celda(v.Fila, v.Columna, TLado::Nuevo)
            ->setAccessibleName(lugar + Texto(QStringLiteral("GEN_MEN02")));
    }
    marcas_.Pon_Textos({Texto(QStringLiteral("Cfg_WillChange")), Texto(QStringLiteral("Cfg_Empty")),
                        Texto(QStringLiteral("Cfg_NotRead")), Texto(QStringLiteral("GEN_MEN103")),
                        Texto(QStringLiteral("GEN_MEN104")), Texto(QStringLiteral("GEN_MEN148"))});
    texto_cambios_ = Texto(QStringLiteral("Cfg_Changes"));
    Actualiza_Marcas();
}

void TF_Decoder::setVisible(bool visible) {
    const bool antes = isVisible();
    TVentana_Kalvex::setVisible(visible);
    if (visible && !antes)
        FormShow();
    else if (!visible && antes)
        FormClose();
}

void TF_Decoder::FormShow() {
    leido_ = false;
    relectura_pendiente_ = releyendo_ = false;
    {
        const QSignalBlocker sin_guardar(CB_ReadBack);
        CB_ReadBack->setChecked(Lee_Relectura());
    }
    marcas_.Olvida_Escritos();
    Inicializa_Valores();
    // A new session: what an earlier one could not write is no longer on show.
    Marca_Sin_Acuse({});
    linea_estado_->Pon(Texto(QStringLiteral("Est_Waiting")));
}

void TF_Decoder::FormClose() {
    // A check left pending would report an empty decoder for a window already gone.
    T_Estado_TiempoInicial->stop();
    fin_lectura_->stop();
    espera_relectura_->stop();
    relectura_pendiente_ = releyendo_ = false;
    Enrutado().Modelo_Activo = 0;
    Enrutado().Lectura.Cierra();
    // A read-out whose own reads were still to come is recorded as it stands.
    if (std::exchange(lectura_completa_, false))
        Anota_Lectura();
    Registro().Editor_Cerrado(Referencia());
    Cierra_Decoder();
}

void TF_Decoder::Cierra_Decoder() {
    if (isVisible())
        return; // opened again meanwhile: its own closing will end that session
    try {
        Envia_Cierre();
    } catch (const EDecoderBusy&) {
        // Another window's request is waiting for its reply. Without its closing frame the
        // decoder would stay in programming mode, so the frame goes out once the link is free.
        cierre_pendiente_->start();
    }
}

void TF_Decoder::Envia_Cierre() {
    const Trama_Dec& c = Fila().Cierre;
    Enlace().Transact(c[0], c[1], c[3], c[2], false);
}

TLectura_Decoder& TF_Decoder::Lectura() const {
    TLectura_Decoder& lectura = Enrutado().Lectura;
    const TForma_Lectura forma = Forma_Lectura(*Modelo_Por_Referencia(Referencia()));
    if (lectura.Forma() != forma)
        lectura.Empieza(forma);
    return lectura;
}

void TF_Decoder::Lee_Decoder(const Trama_Dec& FTResul) {
    Sigue_Lectura(Lectura().Recibe(FTResul), FTResul);
}

void TF_Decoder::Sigue_Lectura(const TLectura_Decoder::TPaso& paso, const Trama_Dec& trama) {
    if (paso.Acuse)
        Enlace().Envia_Trama(*paso.Acuse);
    if (paso.Valor >= 0) {
        if (paso.Empieza) {
            // The read-out after the programming request of a read-back is that read-back.
            if (std::exchange(relectura_pendiente_, false))
                releyendo_ = true;
            Inicializa_Valores();
            Lectura_Empezada();
        }
        // A read-back that stops before its identification frame is no read-back either.
        if (releyendo_)
            espera_relectura_->start();
        Pon_Valor(paso.Valor, trama);
        linea_estado_->Pon(Texto(QStringLiteral("Est_Reading")).arg(paso.Valor + 1).arg(Valores()));
        if (paso.Todos) {
            leido_ = true;
            Actualiza_Marcas();
        }
        if (paso.Vigilar)
            fin_lectura_->start();
        else
            fin_lectura_->stop();
    }
    if (paso.Fin)
        fin_lectura_->stop();
    if (paso.Cortada_Tras >= 0) {
        if (releyendo_)
            Relectura_Cortada();
        linea_estado_->Pon(
            Texto(QStringLiteral("GEN_MEN037")).arg(paso.Cortada_Tras).arg(Valores()), true);
    }
    if (!paso.Con_Identificacion)
        return;
    lectura_completa_ = paso.Completa;
    // What is left of a whole read-out are the editor's own reads, which end in Anota_Lectura.
    if (paso.Completa)
        espera_relectura_->stop();
    if (paso.Otro_Modelo) {
        Decoder_Erroneo(*paso.Otro_Modelo);
        return;
    }
    T_Estado_TiempoInicial->start();
}

void TF_Decoder::Decoder_Erroneo(uint8_t identificacion) {
    TF_Mensa00* aviso = Ventanas().F_Mensa00;
    aviso->Pon_Decoders(modelo_.Referencia, Nombre_Referencia(identificacion));
    aviso->exec();
    close();
}

void TF_Decoder::T_Estado_TiempoInicialTimer() {
    T_Estado_TiempoInicial->stop();
    if (Decoder_Vacio())
        Ventanas().F_Mensa02->exec();
}

void TF_Decoder::B_SaveClick() {
    const TEspera espera(B_Save, Reloj_Al_Grabar());
    if (!Exige_Puerto())
        return;
    if (!Comienza_Grabacion()) {
        Ventanas().F_Mensa04->exec();
        return;
    }
    Comprueba_Nuevos();
    // A Save pressed before the read-out's own reads are done belongs to the decoder read: the
    // record learns of the read-out first.
    if (std::exchange(lectura_completa_, false))
        Anota_Lectura();
    if (!Confirma_Choques() || !Confirma_Grabacion())
        return;
    Rellena_TODOS_CEROS_IZ();
    // A read-back of an earlier Save still awaited is overtaken by this one.
    espera_relectura_->stop();
    relectura_pendiente_ = releyendo_ = false;
    filas_aceptadas_ = QList<std::optional<bool>>(rejilla_.Filas.size());
    Marca_Sin_Acuse({});
    Registro().Intencion(Configuracion(TLado::Nuevo));
    bool todo_aceptado = false;
    {
        // A stand-in link (tests) has no attempts to follow.
        TProgreso_Grabacion progreso(Estado_Editor, dynamic_cast<TDECODER2*>(&Enlace()));
        const QScopedValueRollback<TProgreso_Grabacion*> activo(progreso_, &progreso);
        todo_aceptado = Graba();
    }
    // What the decoder acknowledged, it holds: the marks and "back" go by it from now on.
    marcas_.Anota_Escritos(Nuevos_De_Filas(Filas_Aceptadas()));
    Marca_Sin_Acuse(todo_aceptado ? QList<int>() : Filas_Sin_Acuse());
    linea_estado_->Pon(Texto_Grabada(todo_aceptado), !todo_aceptado);
    Anota_Grabacion(todo_aceptado);
    Informa_Grabacion(todo_aceptado);
    // Only after the Save's own frames and its result.
    if (CB_ReadBack->isChecked() && !Filas_Aceptadas().isEmpty())
        Relee();
}

QList<int> TF_Decoder::Filas_Aceptadas() const {
    QList<int> filas;
    for (int fila = 0; fila < filas_aceptadas_.size(); ++fila)
        if (filas_aceptadas_[fila].value_or(false))
            filas.append(fila);
    return filas;
}

QList<QWidget*> TF_Decoder::Nuevos_De_Filas(const QList<int>& filas) const {
    QList<QWidget*> nuevos;
    for (const TValor_Rejilla& v : Valores_Rejilla())
        if (filas.contains(v.Fila))
            nuevos.append(Celda(v.Fila, v.Columna, TLado::Nuevo));
    return nuevos;
}

QString TF_Decoder::Texto_Grabada(bool todo_aceptado) const {
    if (todo_aceptado)
        return Texto(QStringLiteral("Est_Saved")).arg(TLinea_Estado::Hora());
    return Texto(QStringLiteral("Est_SavedPart")).arg(TLinea_Estado::Hora(), Texto_Sin_Acuse());
}

bool TF_Decoder::Exige_Puerto() {
    if (TLinea_Estado::Puerto_Abierto())
        return true;
    const QString menu = Texto(QStringLiteral("Main_File1_caption")) + QStringLiteral(" \u25B8 ") +
                         Texto(QStringLiteral("Main_SerialPort1_caption"));
    QMessageBox caja(QMessageBox::Warning, Titulo_Kalvex(), Texto(QStringLiteral("Est_SaveNoPort")),
                     QMessageBox::Ok, this);
    caja.setObjectName(QStringLiteral("Sin_Puerto"));
    // The port and its cause as the main window's status line words them, then the way out.
    caja.setInformativeText(TLinea_Estado::Texto_Puerto() + QLatin1Char('\n') +
                            Texto(QStringLiteral("Est_ChoosePort")).arg(menu));
    Sobre_Su_Ventana(&caja);
    caja.exec();
    return false;
}

TFila Fila_De_Clave(const QString& clave, const QString& nombre_actual, const QString& nombre_nuevo,
                    const QList<TCelda>& actual, const QList<TCelda>& nuevo) {
    return {Texto(clave), nombre_actual, nombre_nuevo, actual, nuevo, clave};
}

bool TF_Decoder::Graba_Fila(int fila, const std::function<bool()>& escribe) {
    Muestra_Progreso(Texto_Escritura(fila));
    const bool aceptada = escribe();
    Fila_Aceptada(fila, aceptada);
    return aceptada;
}

void TF_Decoder::Fila_Aceptada(int fila, bool aceptada) {
    if (fila < 0 || fila >= filas_aceptadas_.size())
        return;
    std::optional<bool>& fila_aceptada = filas_aceptadas_[fila];
    fila_aceptada = fila_aceptada.value_or(true) && aceptada;
}

void TF_Decoder::Muestra_Progreso(const QString& que) {
    if (progreso_)
        progreso_->Muestra(que);
}

QString TF_Decoder::Texto_Escritura(int fila) const {
    const QString filas = QString::number(rejilla_.Filas.size());
    if (rejilla_.Numeros)
        return Texto(QStringLiteral("GEN_MEN140")).arg(rejilla_.Filas.at(fila).Rotulo, filas);
    if (rejilla_.Filas.size() == 1)
        return Texto(QStringLiteral("GEN_MEN142")).arg(Lugar_Fila(fila));
    return Texto(QStringLiteral("GEN_MEN141"))
        .arg(QString::number(fila + 1), filas, Lugar_Fila(fila));
}

QList<int> TF_Decoder::Filas_Sin_Acuse() const {
    QList<int> filas;
    for (int fila = 0; fila < filas_aceptadas_.size(); ++fila)
        if (!filas_aceptadas_[fila].value_or(false))
            filas.append(fila);
    return filas;
}

QString TF_Decoder::Texto_Sin_Acuse() const {
    const QList<int> filas = Filas_Sin_Acuse();
    if (filas.isEmpty())
        return {};
    QStringList nombres;
    for (int fila : filas)
        nombres << (rejilla_.Numeros ? rejilla_.Filas.at(fila).Rotulo : Lugar_Fila(fila));
    const QString lista = nombres.join(QStringLiteral(", "));
    if (!rejilla_.Numeros)
        return Texto(QStringLiteral("GEN_MEN147")).arg(lista);
    return Texto(filas.size() == 1 ? QStringLiteral("GEN_MEN145") : QStringLiteral("GEN_MEN146"))
        .arg(lista);
}

void TF_Decoder::Marca_Sin_Acuse(const QList<int>& filas) {
    QList<QWidget*> nuevos;
    for (const TValor_Rejilla& v : Valores_Rejilla())
        if (filas.contains(v.Fila))
            nuevos.append(Celda(v.Fila, v.Columna, TLado::Nuevo));
    marcas_.Pon_Sin_Acuse(nuevos);
    Actualiza_Marcas();
}

void TF_Decoder::Lectura_Empezada() {
    leido_ = false;
    marcas_.Olvida_Escritos();
    // The fields take what the decoder holds now.
    Marca_Sin_Acuse({});
}

void TF_Decoder::Informa_Grabacion(bool todo_aceptado) {
    if (todo_aceptado) {
        Ventanas().F_Mensa05->exec();
        return;
    }
    TF_Mensa01* fallo = Ventanas().F_Mensa01;
    fallo->Pon_Detalle(Texto_Sin_Acuse());
    fallo->exec();
}

void TF_Decoder::keyPressEvent(QKeyEvent* event) {
    // An editor is closed with its Close button or close box, which send the closing frame
    // knowingly; Escape would close it by accident.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    TVentana_Kalvex::keyPressEvent(event);
}

bool TF_Decoder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched))
        return Edit1KeyPress(static_cast<QKeyEvent*>(event));
    return TVentana_Kalvex::eventFilter(watched, event);
}

bool TF_Decoder::Edit1KeyPress(QKeyEvent* key) {
    return Tecla_Rechazada(key);
}

QLineEdit* TF_Decoder::Edit(int n) const {
    return findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
}

QWidget* TF_Decoder::Celda(int fila, int columna, TLado lado) const {
    const TFila& f = rejilla_.Filas.at(fila);
    const QList<TCelda>& celdas = lado == TLado::Actual ? f.Actual : f.Nuevo;
    return findChild<QWidget*>(celdas.at(columna).Nombre);
}

void TF_Decoder::Rechaza(QWidget* campo, const QString& mensaje) const {
    // Focus first: when the message box closes, the focus comes back to this field.
    campo->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(campo))
        edit->selectAll();
    throw ERechazo(mensaje);
}

void TF_Decoder::Exige_Digitos(QLineEdit* campo, const QString& lugar) const {
    const QString texto = campo->text();
    for (QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            Rechaza(campo, Texto(QStringLiteral("GEN_MEN040")).arg(lugar, texto));
}

void TF_Decoder::Exige_Maximo(QLineEdit* campo, const QString& lugar, int mayor,
                              const QString& clave) const {
    Exige_Digitos(campo, lugar);
    const QString texto = campo->text();
    if (!texto.isEmpty() && texto.toInt() > mayor)
        Rechaza(campo, Texto(clave).arg(lugar, texto).arg(mayor));
}

QString TF_Decoder::Lugar_Codigo(int n) {
    return Texto(QStringLiteral("GEN_MEN038")).arg(n);
}

QString TF_Decoder::Lugar_Tiempo(int n) {
    return Texto(QStringLiteral("GEN_MEN039")).arg(n);
}

QString TF_Decoder::Lugar_Fila(int fila) const {
    const QLabel* rotulo = findChild<QLabel*>(rejilla_.Filas.at(fila).Nombre_Nuevo);
    QString texto = rotulo ? rotulo->text() : rejilla_.Filas.at(fila).Rotulo;
    // Labels end in ":" or " :" in some languages; the message adds its own colon. A question
    // keeps its mark, as Spanish opens it too.
    while (texto.endsWith(QLatin1Char(':')) || texto.endsWith(QLatin1Char(' ')))
        texto.chop(1);
    return texto;
}

QString TF_Decoder::Palabra(const Trama_Dec& FTResul) {
    return Palabra_Leida(FTResul);
}

TEspera::TEspera(QPushButton* boton, bool reloj) : boton_(boton), reloj_(reloj) {
    if (reloj_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    boton_->setEnabled(false);
}

TEspera::~TEspera() {
    boton_->setEnabled(true);
    if (reloj_)
        QApplication::restoreOverrideCursor();
}
