#include "F_Instalacion.h"

#include "Configuracion.h"
#include "Conversion.h"
#include "Errores.h"
#include "Exporta_Csv.h"
#include "Exportacion.h"
#include "F_Entrega.h"
#include "Idiomas.h"
#include "Presenta_Registro.h"
#include "Recursos.h"
#include "Redaccion_Choque.h"
#include "Rotulos.h"

#include <QAction>
#include <QBoxLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTreeWidget>

namespace {

// The decoders list's columns.
enum { Col_Modelo, Col_Ubicacion, Col_Codigos, Col_Lectura, Col_Grabacion, Col_Resultado };

// A column's sort key where its text would sort wrongly (references, moments); the decoder's
// record id on the row.
constexpr int Rol_Orden = Qt::UserRole;
constexpr int Rol_Id = Qt::UserRole + 1;

class TFila : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& otra) const override {
        const int col = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant a = data(col, Rol_Orden);
        const QVariant b = otra.data(col, Rol_Orden);
        if (a.isValid() && b.isValid())
            return a.toLongLong() < b.toLongLong();
        return text(col).compare(otra.text(col), Qt::CaseInsensitive) < 0;
    }
};

// Never-read and never-saved decoders sort before every moment.
qint64 Orden_Momento(const QDateTime& momento) {
    return momento.isValid() ? momento.toMSecsSinceEpoch() : -1;
}

QTreeWidget* Crea_Lista(const QString& nombre, const QStringList& cabeceras, QWidget* parent) {
    auto* lista = new QTreeWidget(parent);
    lista->setObjectName(nombre);
    lista->setRootIsDecorated(false);
    lista->setItemsExpandable(false);
    lista->setUniformRowHeights(true);
    lista->setSelectionMode(QAbstractItemView::SingleSelection);
    lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista->setHeaderLabels(cabeceras);
    return lista;
}

QStringList Textos(std::initializer_list<const char*> claves) {
    QStringList textos;
    for (const char* clave : claves)
        textos << Texto(QString::fromLatin1(clave));
    return textos;
}

QPushButton* Boton(const QString& nombre, const QString& texto, QWidget* parent) {
    auto* b = new QPushButton(texto, parent);
    b->setObjectName(nombre);
    b->setCursor(Qt::PointingHandCursor);
    // Return in the filter or in a field finishes that field; it must not start an export.
    b->setAutoDefault(false);
    return b;
}

QLineEdit* Campo(const QString& nombre, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(nombre);
    e->setMaxLength(200);
    return e;
}

// Every code, a few to a line: a clash is never hidden behind "…", and the column stays narrow
// enough for the outcome to show beside it.
QString Codigos_En_Lineas(const QList<TCodigo_Registro>& codigos) {
    constexpr int Por_Linea = 4;
    QString texto;
    for (qsizetype i = 0; i < codigos.size(); ++i) {
        if (i > 0)
            texto += i % Por_Linea == 0 ? QStringLiteral(",\n") : QStringLiteral(", ");
        texto += codigos[i].Texto;
    }
    return texto;
}

QString Suceso(const TEvento_Registro& e, const TTextos_Registro& textos) {
    const QString tipo = textos.Tipo(e.Tipo);
    const QString detalle =
        e.Tipo == TEvento_Registro::TTipo::Grabacion ? textos.Frase(e.Resultado) : e.Puerto;
    return detalle.isEmpty() ? tipo : tipo + QStringLiteral(" \u2014 ") + detalle;
}

} // namespace

TF_Instalacion::TF_Instalacion(QWidget* parent)
    : TVentana_Kalvex(QStringLiteral("F_Instalacion"), Qt::Tool | Qt::WindowStaysOnTopHint,
                      parent) {
    const QString titulo = Texto(QStringLiteral("GEN_MEN070"));
    setWindowTitle(Titulo_Kalvex(titulo));
    Label1 = Crea_Rotulo(QStringLiteral("Label1"), titulo, 1.6, this);

    Label_Filtro =
        Crea_Etiqueta(QStringLiteral("Label_Filtro"), Texto(QStringLiteral("GEN_MEN079")), this);
    Filtro = new QLineEdit(this);
    Filtro->setObjectName(QStringLiteral("Filtro"));
    Filtro->setClearButtonEnabled(true);
    // Qt's clear button has no text of its own: a screen reader would find it nameless.
    if (auto* vaciar = Filtro->findChild<QAction*>(QStringLiteral("_q_qlineeditclearaction")))
        vaciar->setText(Texto(QStringLiteral("Mon_Clear")));
    Label_Filtro->setBuddy(Filtro);
    connect(Filtro, &QLineEdit::textChanged, this, &TF_Instalacion::Aplica_Filtro);

    Lista = Crea_Lista(QStringLiteral("Lista"),
                       Textos({"GEN_MEN071", "GEN_MEN072", "GEN_MEN074", "GEN_MEN075", "GEN_MEN076",
                               "GEN_MEN077"}),
                       this);
    Lista->setAccessibleName(titulo);
    // A row is as high as its codes' lines.
    Lista->setUniformRowHeights(false);
    Lista->setSortingEnabled(true);
    Lista->sortByColumn(Col_Ubicacion, Qt::AscendingOrder);
    connect(Lista, &QTreeWidget::itemSelectionChanged, this,
            Atrapa([this] { Seleccion_Cambiada(); }));

    Label_Ubicacion =
        Crea_Etiqueta(QStringLiteral("Label_Ubicacion"), Texto(QStringLiteral("GEN_MEN072")), this);
    Ubicacion = Campo(QStringLiteral("Ubicacion"), this);
    Label_Ubicacion->setBuddy(Ubicacion);
    Label_Nota =
        Crea_Etiqueta(QStringLiteral("Label_Nota"), Texto(QStringLiteral("GEN_MEN073")), this);
    Nota = Campo(QStringLiteral("Nota"), this);
    Label_Nota->setBuddy(Nota);
    for (QLineEdit* campo : {Ubicacion, Nota})
        connect(campo, &QLineEdit::editingFinished, this,
                Atrapa([this, campo] { Guarda_Campo(campo); }));

    Label_Historia =
        Crea_Etiqueta(QStringLiteral("Label_Historia"), Texto(QStringLiteral("GEN_MEN080")), this);
    auto* partes = new QSplitter(Qt::Horizontal, this);
    Historia = Crea_Lista(QStringLiteral("Historia"),
                          Textos({"GEN_MEN081", "GEN_MEN082", "GEN_MEN083"}), partes);
    Valores = Crea_Lista(QStringLiteral("Valores"), Textos({"GEN_MEN092", "GEN_MEN093"}), partes);
    Valores->setIconSize(QSize(16, 16));
    // A screen reader names each list by its heading.
    Historia->setAccessibleName(Label_Historia->text());
    Valores->setAccessibleName(Texto(QStringLiteral("GEN_MEN083")));
    partes->addWidget(Historia);
    partes->addWidget(Valores);
    partes->setStretchFactor(0, 3);
    partes->setStretchFactor(1, 2);
    connect(Historia, &QTreeWidget::itemSelectionChanged, this, &TF_Instalacion::Muestra_Valores);

    Label_Choques =
        Crea_Etiqueta(QStringLiteral("Label_Choques"), Texto(QStringLiteral("GEN_MEN086")), this);
    Choques = new QListWidget(this);
    Choques->setObjectName(QStringLiteral("Choques"));
    Choques->setAccessibleName(Label_Choques->text());
    Choques->setMaximumHeight(Choques->fontMetrics().height() * 6);

    Label_Problemas = Crea_Etiqueta(QStringLiteral("Label_Problemas"),
                                    Texto(QStringLiteral("Reg_Problems")), this);
    Problemas = Crea_Lista(
        QStringLiteral("Problemas"),
        Textos({"GEN_MEN081", "Plan_ColCode", "Reg_IdByte", "Reg_Cause", "Reg_Port"}), this);
    Problemas->setMaximumHeight(Problemas->fontMetrics().height() * 6);
    Label_Problemas->setBuddy(Problemas);

    B_Modelo = Boton(QStringLiteral("B_Modelo"), Texto(QStringLiteral("Reg_Settle")), this);
    connect(B_Modelo, &QPushButton::clicked, this, Atrapa([this] { Pregunta_Modelo(); }));
    B_Csv = Boton(QStringLiteral("B_Csv"), Texto(QStringLiteral("GEN_MEN087")), this);
    B_Informe = Boton(QStringLiteral("B_Informe"), Texto(QStringLiteral("GEN_MEN088")), this);
    B_Close = Boton(QStringLiteral("B_Close"), Texto(QStringLiteral("GEN_MEN09")), this);
    B_Close->setIcon(QIcon(Imagen(QStringLiteral("cerrar.png"))));
    B_Close->setIconSize(QSize(20, 20));
    connect(B_Csv, &QPushButton::clicked, this, Atrapa([this] {
                Pide_Fichero(Titulo_Kalvex(Texto(QStringLiteral("GEN_MEN070"))),
                             QStringLiteral("csv"), &TF_Instalacion::Guarda_Csv);
            }));
    connect(B_Informe, &QPushButton::clicked, this, Atrapa([this] {
                TF_Entrega dialogo(this);
                dialogo.Pon_Fuente(fuente_);
                dialogo.exec();
            }));
    connect(B_Close, &QPushButton::clicked, this, &QWidget::close);

    auto* filtro = new QHBoxLayout;
    filtro->addWidget(Label_Filtro);
    filtro->addWidget(Filtro, 1);
    auto* campos = new QHBoxLayout;
    campos->addWidget(Label_Ubicacion);
    campos->addWidget(Ubicacion, 1);
    campos->addSpacing(12);
    campos->addWidget(Label_Nota);
    campos->addWidget(Nota, 1);
    campos->addWidget(B_Modelo);
    auto* botones = new QHBoxLayout;
    botones->addWidget(B_Csv);
    botones->addWidget(B_Informe);
    botones->addStretch();
    botones->addWidget(B_Close);
    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(14, 12, 14, 12);
    todo->addWidget(Label1);
    todo->addLayout(filtro);
    todo->addWidget(Lista, 3);
    todo->addLayout(campos);
    todo->addWidget(Label_Historia);
    todo->addWidget(partes, 2);
    todo->addWidget(Label_Choques);
    todo->addWidget(Choques);
    todo->addWidget(Label_Problemas);
    todo->addWidget(Problemas);
    todo->addLayout(botones);

    Actualiza();
}

TF_Instalacion::~TF_Instalacion() {
    // The child widgets outlive this class's members: a field losing its focus as it is
    // destroyed must not reach the snapshot that is already gone.
    for (QObject* emisor :
         std::initializer_list<QObject*>{Filtro, Lista, Ubicacion, Nota, Historia})
        emisor->disconnect(this);
}

// Wide enough for every column of the list at its content's width, the outcome's included,
// in whichever language; room for a read-out's values beside the history.
QSize TF_Instalacion::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const QHeaderView* cabecera = Lista->header();
    int columnas = 0;
    for (int col = 0; col < Lista->columnCount(); ++col)
        columnas += qMax(cabecera->sectionSizeHint(col),
                         static_cast<const QAbstractItemView*>(Lista)->sizeHintForColumn(col));
    const QMargins margenes = layout()->contentsMargins();
    const int lista = columnas + 2 * Lista->frameWidth() +
                      style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Lista) +
                      margenes.left() + margenes.right();
    return QSize(qMax(fm.averageCharWidth() * 140, lista), fm.height() * 42)
        .expandedTo(TVentana_Kalvex::sizeHint());
}

// At its hint, as far as the screen allows: the base's adjustSize would keep it to two thirds
// of a laptop's screen, too narrow for the list.
void TF_Instalacion::Coloca() {
    QSize tamano = sizeHint();
    if (const QScreen* pantalla = QGuiApplication::primaryScreen())
        tamano = tamano.boundedTo(pantalla->availableGeometry().size() * 19 / 20);
    resize(tamano);
    Centra();
}

void TF_Instalacion::Pon_Fuente(TFuente_Instalacion* fuente) {
    fuente_ = fuente;
    seleccionado_ = -1;
    Actualiza();
}

void TF_Instalacion::Actualiza() {
    instantanea_ = fuente_ ? fuente_->Instantanea() : TInstantanea{};
    const QString titulo = Texto(QStringLiteral("GEN_MEN070"));
    Label1->setText(instantanea_.Sitio.isEmpty()
                        ? titulo
                        : titulo + QStringLiteral(" \u2014 ") + instantanea_.Sitio);
    Llena_Lista();
    Llena_Choques();
    Llena_Problemas();
    B_Csv->setEnabled(fuente_ != nullptr);
    B_Informe->setEnabled(fuente_ != nullptr);
    Seleccion_Cambiada();
}

void TF_Instalacion::Llena_Lista() {
    const QSignalBlocker quieta(Lista);
    Lista->setSortingEnabled(false);
    Lista->clear();
    QList<QTreeWidgetItem*> filas;
    filas.reserve(instantanea_.Decoders.size());
    TTextos_Registro textos;
    for (const TDecoder_Registro& d : instantanea_.Decoders) {
        auto* fila = new TFila;
        fila->setText(Col_Modelo, textos.Modelo(d));
        fila->setData(Col_Modelo, Rol_Orden, d.Referencia);
        fila->setData(Col_Modelo, Rol_Id, d.Id);
        fila->setText(Col_Ubicacion, d.Ubicacion);
        fila->setToolTip(Col_Ubicacion, d.Ubicacion);
        fila->setText(Col_Codigos, Codigos_En_Lineas(d.Codigos));
        QStringList codigos;
        for (const TCodigo_Registro& c : d.Codigos)
            codigos << textos.Frase(c.Lugar) + QStringLiteral(": ") + c.Texto;
        fila->setToolTip(Col_Codigos, codigos.join(QLatin1Char('\n')));
        fila->setText(Col_Lectura, textos.Momento(d.Ultima_Lectura));
        fila->setData(Col_Lectura, Rol_Orden, Orden_Momento(d.Ultima_Lectura));
        fila->setText(Col_Grabacion, textos.Momento(d.Ultima_Grabacion));
        fila->setData(Col_Grabacion, Rol_Orden, Orden_Momento(d.Ultima_Grabacion));
        const QString resultado = textos.Frase(d.Resultado);
        fila->setText(Col_Resultado, resultado);
        fila->setToolTip(Col_Resultado, resultado);
        filas << fila;
    }
    Lista->addTopLevelItems(filas);
    Lista->setSortingEnabled(true);
    for (int col = Col_Modelo; col < Col_Resultado; ++col)
        Lista->resizeColumnToContents(col);
    if (QTreeWidgetItem* fila = Fila_De(seleccionado_))
        fila->setSelected(true);
    Aplica_Filtro();
}

void TF_Instalacion::Llena_Choques() {
    Choques->clear();
    // Worded now, from the decoders as the window holds them: a location just given shows.
    const TRedaccion_Choque redaccion;
    const QDate hoy = QDate::currentDate();
    for (const TChoque_Registro& c : instantanea_.Choques)
        Choques->addItem(redaccion.Par(c, instantanea_, hoy));
}

void TF_Instalacion::Llena_Problemas() {
    Problemas->clear();
    const TTextos_Registro textos;
    for (const TProblema_Registro& p : instantanea_.Problemas) {
        const TProblema_Sondeo& s = p.Problema;
        new QTreeWidgetItem(Problemas, {textos.Momento(p.Momento), s.Codigo,
                                        s.Identificacion < 0 ? QString() : Hex2(s.Identificacion),
                                        textos.Fallo(s.Fallo), s.Puerto});
    }
    // Only a survey that met codes without a read-out has anything to show here.
    Label_Problemas->setVisible(!instantanea_.Problemas.isEmpty());
    Problemas->setVisible(!instantanea_.Problemas.isEmpty());
}

void TF_Instalacion::Aplica_Filtro() {
    const QString filtro = Filtro->text().trimmed();
    for (int i = 0; i < Lista->topLevelItemCount(); ++i) {
        QTreeWidgetItem* fila = Lista->topLevelItem(i);
        bool visible = filtro.isEmpty();
        for (int col = 0; !visible && col < Lista->columnCount(); ++col)
            visible = fila->text(col).contains(filtro, Qt::CaseInsensitive);
        fila->setHidden(!visible);
        // A decoder the filter hides is not the one the fields below edit.
        if (!visible && fila->isSelected())
            fila->setSelected(false);
    }
}

TDecoder_Registro* TF_Instalacion::Seleccionado() {
    for (TDecoder_Registro& d : instantanea_.Decoders)
        if (d.Id == seleccionado_)
            return &d;
    return nullptr;
}

QTreeWidgetItem* TF_Instalacion::Fila_De(qint64 id) const {
    for (int i = 0; i < Lista->topLevelItemCount(); ++i)
        if (Lista->topLevelItem(i)->data(Col_Modelo, Rol_Id).toLongLong() == id)
            return Lista->topLevelItem(i);
    return nullptr;
}

void TF_Instalacion::Seleccion_Cambiada() {
    const QList<QTreeWidgetItem*> elegidas = Lista->selectedItems();
    const qint64 id =
        elegidas.isEmpty() ? -1 : elegidas.first()->data(Col_Modelo, Rol_Id).toLongLong();
    const bool mismo = id == seleccionado_;
    // What was typed for the decoder being left is stored before its fields are refilled.
    if (!mismo) {
        Guarda_Campo(Ubicacion);
        Guarda_Campo(Nota);
    }
    seleccionado_ = id;
    const TDecoder_Registro* d = Seleccionado();
    historia_ = d && fuente_ ? fuente_->Historia(d->Id) : QList<TEvento_Registro>();
    Historia->clear();
    const TTextos_Registro textos;
    // Newest first: the last read-out or Save is the one the installer looks for.
    for (qsizetype i = historia_.size() - 1; i >= 0; --i) {
        const TEvento_Registro& e = historia_[i];
        auto* fila = new QTreeWidgetItem(Historia, {textos.Momento(e.Momento), Suceso(e, textos),
                                                    Valores_En_Corto(e.Valores, textos)});
        fila->setData(0, Rol_Orden, qlonglong(i));
    }
    Historia->resizeColumnToContents(0);
    Historia->resizeColumnToContents(1);
    Valores->clear();
    const bool solo_lectura = !fuente_ || fuente_->Solo_Lectura();
    for (QLineEdit* campo : {Ubicacion, Nota}) {
        // Text being typed for this decoder survives a refresh.
        if (!(mismo && campo->isModified()))
            campo->setText(d ? (campo == Ubicacion ? d->Ubicacion : d->Nota) : QString());
        campo->setEnabled(d != nullptr);
        campo->setReadOnly(solo_lectura);
    }
    B_Modelo->setVisible(d && d->Referencia == 0 && !d->Posibles.isEmpty());
    B_Modelo->setEnabled(!solo_lectura);
}

void TF_Instalacion::Muestra_Valores() {
    Valores->clear();
    const QList<QTreeWidgetItem*> elegidas = Historia->selectedItems();
    if (elegidas.isEmpty())
        return;
    const TEvento_Registro& e = historia_.at(elegidas.first()->data(0, Rol_Orden).toLongLong());
    const bool grabacion = e.Tipo == TEvento_Registro::TTipo::Grabacion;
    const TTextos_Registro textos;
    for (qsizetype i = 0; i < e.Valores.size(); ++i) {
        auto* fila = new QTreeWidgetItem(
            Valores, {textos.Frase(e.Valores[i].Lugar), textos.Frase(e.Valores[i].Texto)});
        // A Save's values carry whether the decoder acknowledged each write.
        if (grabacion && i < e.Aceptadas.size())
            fila->setIcon(1, QIcon(Imagen(e.Aceptadas[i] ? QStringLiteral("respondido.png")
                                                         : QStringLiteral("sin_respuesta.png"))));
    }
    Valores->resizeColumnToContents(0);
}

void TF_Instalacion::Guarda_Campo(QLineEdit* campo) {
    TDecoder_Registro* d = Seleccionado();
    if (!d || !fuente_ || !campo->isModified())
        return;
    const bool es_ubicacion = campo == Ubicacion;
    QString& guardado = es_ubicacion ? d->Ubicacion : d->Nota;
    const QString texto = campo->text().trimmed();
    // Cleared first: the box below takes the focus, which finishes the editing again.
    campo->setModified(false);
    if (texto == guardado) {
        campo->setText(guardado);
        return;
    }
    const bool hecho =
        es_ubicacion ? fuente_->Pon_Ubicacion(d->Id, texto) : fuente_->Pon_Nota(d->Id, texto);
    if (!hecho) {
        campo->setText(guardado);
        Avisa_Sobre(this, Texto(QStringLiteral("GEN_MEN097")));
        return;
    }
    guardado = texto;
    campo->setText(texto);
    if (es_ubicacion) {
        if (QTreeWidgetItem* fila = Fila_De(d->Id)) {
            fila->setText(Col_Ubicacion, texto);
            fila->setToolTip(Col_Ubicacion, texto);
        }
        // A longer location widens its column, as a refill would.
        Lista->resizeColumnToContents(Col_Ubicacion);
        Aplica_Filtro();
        Llena_Choques();
    }
}

void TF_Instalacion::Pregunta_Modelo() {
    const TDecoder_Registro* d = Seleccionado();
    if (!d)
        return;
    TTextos_Registro textos;
    QStringList modelos;
    for (int referencia : d->Posibles)
        modelos << textos.Modelo(referencia);
    bool elegido = false;
    const QString modelo = QInputDialog::getItem(
        this, Titulo_Kalvex(), Texto(QStringLiteral("Reg_SettleAsk")), modelos, 0, false, &elegido);
    if (elegido && modelos.contains(modelo))
        Decide_Modelo(d->Posibles.at(modelos.indexOf(modelo)));
}

bool TF_Instalacion::Decide_Modelo(int referencia) {
    const TDecoder_Registro* d = Seleccionado();
    if (!d || !fuente_ || !d->Posibles.contains(referencia))
        return false;
    if (!fuente_->Decide_Modelo(d->Id, referencia)) {
        Avisa_Sobre(this, Texto(QStringLiteral("GEN_MEN097")));
        return false;
    }
    Actualiza();
    return true;
}

void TF_Instalacion::Pide_Fichero(const QString& titulo, const QString& extension,
                                  bool (TF_Instalacion::*guarda)(const QString&)) {
    const QString fichero = Pide_Fichero_Exportacion(this, titulo, instantanea_.Sitio, extension);
    if (!fichero.isEmpty())
        (this->*guarda)(fichero);
}

bool TF_Instalacion::Guarda_Csv(const QString& fichero) {
    return Exporta(this, fichero, [this](const QString& f, QString& causa) {
        return Exporta_Csv(instantanea_, f, causa);
    });
}
