#include "F_Plan_Codigos.h"

#include "Configuracion.h"
#include "Errores.h"
#include "Exporta_Plan.h"
#include "Exportacion.h"
#include "Guarda_Fichero.h"
#include "Idiomas.h"
#include "Numeracion_Codigos.h"
#include "Presenta_Registro.h"
#include "Recursos.h"
#include "Rotulos.h"
#include "Textos_Plan.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>

namespace {

enum { Col_Codigo, Col_Modelo, Col_Salida, Col_Ubicacion, Col_Choque };

QString Clave(const char* clave) {
    return Texto(QString::fromLatin1(clave));
}

// A control and the name a screen reader says for it.
template <typename T> T* Nombrado(T* control, const QString& nombre, const QString& accesible) {
    control->setObjectName(nombre);
    control->setAccessibleName(accesible);
    return control;
}

QPushButton* Boton(const QString& nombre, const QString& texto, QWidget* parent) {
    auto* b = Nombrado(new QPushButton(texto, parent), nombre, texto);
    b->setCursor(Qt::PointingHandCursor);
    // Return in a field answers that field; it must not start an export.
    b->setAutoDefault(false);
    return b;
}

QLineEdit* Campo(const QString& nombre, QLabel* rotulo, int ancho, QWidget* parent) {
    auto* e = Nombrado(new QLineEdit(parent), nombre, rotulo->text());
    e->setMaxLength(ancho);
    rotulo->setBuddy(e);
    return e;
}

void Pinta_Choque(QTreeWidgetItem* fila) {
    const QBrush rojo{QColor(Rojo_Choque)};
    for (int col = Col_Codigo; col <= Col_Choque; ++col)
        fila->setForeground(col, rojo);
    QFont negrita = fila->font(Col_Choque);
    negrita.setBold(true);
    fila->setFont(Col_Choque, negrita);
}

} // namespace

TF_Plan_Codigos::TF_Plan_Codigos(QWidget* parent)
    : TVentana_Kalvex(QStringLiteral("F_Plan_Codigos"), Qt::Tool | Qt::WindowStaysOnTopHint,
                      parent) {
    const QString titulo = Clave("Plan_Title");
    setWindowTitle(Titulo_Kalvex(titulo));
    Label1 = Crea_Rotulo(QStringLiteral("Label1"), titulo, 1.6, this);

    Label_Buscar = Crea_Etiqueta(QStringLiteral("Label_Buscar"), Clave("Plan_Find"), this);
    Buscar = Campo(QStringLiteral("Buscar"), Label_Buscar, 8, this);
    B_Buscar = Boton(QStringLiteral("B_Buscar"), Clave("Plan_FindButton"), this);

    Label_Espacio = Crea_Etiqueta(QStringLiteral("Label_Espacio"), Clave("Plan_Space"), this);
    Espacio = Nombrado(new QComboBox(this), QStringLiteral("Espacio"), Label_Espacio->text());
    const TTextos_Plan textos;
    for (int e = 0; e < Espacios_Codigo; ++e)
        Espacio->addItem(textos.Espacio(static_cast<TEspacio_Codigo>(e)), e);
    Label_Espacio->setBuddy(Espacio);
    Label_Cuantos = Crea_Etiqueta(QStringLiteral("Label_Cuantos"), Clave("Plan_HowMany"), this);
    Cuantos = Campo(QStringLiteral("Cuantos"), Label_Cuantos, 5, this);
    Cuantos->setMaximumWidth(Cuantos->fontMetrics().averageCharWidth() * 10);
    B_Libres = Boton(QStringLiteral("B_Libres"), Clave("Plan_FreeButton"), this);

    Resultado = Crea_Etiqueta(QStringLiteral("Resultado"), QString(), this);
    Resultado->setWordWrap(true);
    Resultado->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Plan = Nombrado(new QTreeWidget(this), QStringLiteral("Plan"), titulo);
    Plan->setHeaderLabels({Clave("Plan_ColCode"), Clave("GEN_MEN071"), Clave("GEN_MEN03"),
                           Clave("GEN_MEN072"), Clave("Plan_ColClash")});
    Plan->setUniformRowHeights(true);
    Plan->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Plan->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Plan->header()->setStretchLastSection(true);

    B_Csv = Boton(QStringLiteral("B_Csv"), Clave("GEN_MEN087"), this);
    B_Close = Boton(QStringLiteral("B_Close"), Clave("GEN_MEN09"), this);
    B_Close->setIcon(QIcon(Imagen(QStringLiteral("cerrar.png"))));
    B_Close->setIconSize(QSize(20, 20));

    connect(Buscar, &QLineEdit::returnPressed, this, Atrapa([this] { Busca(); }));
    connect(B_Buscar, &QPushButton::clicked, this, Atrapa([this] { Busca(); }));
    connect(Cuantos, &QLineEdit::returnPressed, this, Atrapa([this] { Busca_Libres(); }));
    connect(B_Libres, &QPushButton::clicked, this, Atrapa([this] { Busca_Libres(); }));
    connect(B_Csv, &QPushButton::clicked, this, Atrapa([this] {
                const QString fichero =
                    Pide_Fichero_Exportacion(this, windowTitle(), sitio_, QStringLiteral("csv"));
                if (!fichero.isEmpty())
                    Guarda_Csv(fichero);
            }));
    connect(B_Close, &QPushButton::clicked, this, &QWidget::close);

    auto* busqueda = new QHBoxLayout;
    busqueda->addWidget(Label_Buscar);
    busqueda->addWidget(Buscar, 1);
    busqueda->addWidget(B_Buscar);
    busqueda->addSpacing(18);
    busqueda->addWidget(Label_Espacio);
    busqueda->addWidget(Espacio, 1);
    busqueda->addWidget(Label_Cuantos);
    busqueda->addWidget(Cuantos);
    busqueda->addWidget(B_Libres);
    auto* botones = new QHBoxLayout;
    botones->addWidget(B_Csv);
    botones->addStretch();
    botones->addWidget(B_Close);
    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(14, 12, 14, 12);
    todo->addWidget(Label1);
    todo->addLayout(busqueda);
    todo->addWidget(Resultado);
    todo->addWidget(Plan, 1);
    todo->addLayout(botones);

    // In the order the eye reads them.
    QWidget* orden[] = {Buscar, B_Buscar, Espacio, Cuantos, B_Libres, Plan, B_Csv, B_Close};
    for (std::size_t i = 1; i < std::size(orden); ++i)
        setTabOrder(orden[i - 1], orden[i]);

    Actualiza();
}

// Room for a location and a clash with two decoders on one line, and a screenful of codes.
QSize TF_Plan_Codigos::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return QSize(fm.averageCharWidth() * 130, fm.height() * 38)
        .expandedTo(TVentana_Kalvex::sizeHint());
}

void TF_Plan_Codigos::Pon_Fuente(TFuente_Instalacion* fuente) {
    // Another installation's answer is no answer for this one.
    if (fuente != fuente_) {
        repite_ = nullptr;
        Di(QString());
    }
    fuente_ = fuente;
    Actualiza();
}

void TF_Plan_Codigos::Actualiza() {
    const TInstantanea instantanea = fuente_ ? fuente_->Instantanea() : TInstantanea{};
    sitio_ = instantanea.Sitio;
    const QString titulo = Clave("Plan_Title");
    Label1->setText(sitio_.isEmpty() ? titulo : titulo + QStringLiteral(" \u2014 ") + sitio_);
    plan_ = TPlan_Codigos(instantanea.Decoders);
    const int desplazado = Plan->verticalScrollBar()->value();
    Llena();
    if (repite_)
        repite_();
    Plan->verticalScrollBar()->setValue(desplazado);
    B_Csv->setEnabled(fuente_ != nullptr);
}

void TF_Plan_Codigos::Llena() {
    Plan->clear();
    espacios_.clear();
    const TTextos_Plan textos;
    TTextos_Registro registro;
    for (const TEspacio_Plan& espacio : plan_.Espacios()) {
        if (espacio.Codigos == 0) {
            espacios_.append(nullptr);
            continue;
        }
        auto* cabeza = new QTreeWidgetItem(Plan, {textos.Resumen(espacio)});
        cabeza->setFirstColumnSpanned(true);
        cabeza->setFlags(Qt::ItemIsEnabled);
        QFont negrita = cabeza->font(Col_Codigo);
        negrita.setBold(true);
        cabeza->setFont(Col_Codigo, negrita);
        espacios_.append(cabeza);
        QList<QTreeWidgetItem*> filas;
        filas.reserve(espacio.Filas.size());
        for (const TFila_Plan& f : espacio.Filas) {
            if (f.Libre) {
                auto* libre = new QTreeWidgetItem({textos.Libre(espacio, f)});
                libre->setForeground(Col_Codigo, palette().brush(QPalette::PlaceholderText));
                filas << libre;
                continue;
            }
            auto* fila = new QTreeWidgetItem(
                {f.Codigo.Texto, registro.Modelo(f.Referencia, f.Posibles),
                 registro.Frase(f.Codigo.Lugar), f.Ubicacion, textos.Choque(espacio, f)});
            if (!f.Choques.isEmpty())
                Pinta_Choque(fila);
            filas << fila;
        }
        cabeza->addChildren(filas);
        // A free run reads as one line across the columns (only an item in its tree can).
        for (int f = 0; f < espacio.Filas.size(); ++f)
            filas[f]->setFirstColumnSpanned(espacio.Filas[f].Libre);
    }
    Plan->expandAll();
    for (int col = Col_Codigo; col < Col_Choque; ++col)
        Plan->resizeColumnToContents(col);
}

QTreeWidgetItem* TF_Plan_Codigos::Fila(const TPlan_Codigos::THallazgo& hallazgo) const {
    QTreeWidgetItem* cabeza = espacios_.value(static_cast<int>(hallazgo.Espacio));
    return cabeza ? cabeza->child(hallazgo.Fila) : nullptr;
}

void TF_Plan_Codigos::Busca() {
    const QString texto = Buscar->text().trimmed();
    if (!plan_.Busca(texto))
        return Rechaza(Buscar, Clave("Plan_BadCode").arg(texto));
    Muestra_Busqueda(texto);
    repite_ = [this, texto] { Muestra_Busqueda(texto); };
    if (!Plan->selectedItems().isEmpty())
        Plan->scrollToItem(Plan->selectedItems().constFirst());
}

void TF_Plan_Codigos::Muestra_Busqueda(const QString& texto) {
    const QList<TPlan_Codigos::THallazgo> hallazgos =
        plan_.Busca(texto).value_or(QList<TPlan_Codigos::THallazgo>());
    const bool en_uso = std::any_of(hallazgos.begin(), hallazgos.end(), [this](const auto& h) {
        return !plan_.Espacio(h.Espacio).Filas.at(h.Fila).Libre;
    });
    Senala(hallazgos, en_uso ? Clave("Plan_InUse").arg(texto, QString::number(hallazgos.size()))
                             : Clave("Plan_IsFree").arg(texto));
}

void TF_Plan_Codigos::Busca_Libres() {
    const auto espacio = static_cast<TEspacio_Codigo>(Espacio->currentData().toInt());
    const QString texto = Cuantos->text().trimmed();
    const qint64 mayor = Tamano_Espacio(espacio);
    bool numero = !texto.isEmpty();
    for (QChar c : texto)
        numero = numero && c.isDigit() && c.unicode() < 0x80;
    const qint64 cuantos = numero ? texto.toLongLong() : 0;
    if (cuantos < 1 || cuantos > mayor)
        return Rechaza(Cuantos, Clave("Plan_BadCount").arg(texto, QString::number(mayor)));
    Muestra_Libres(espacio, cuantos);
    repite_ = [this, espacio, cuantos] { Muestra_Libres(espacio, cuantos); };
    if (!Plan->selectedItems().isEmpty())
        Plan->scrollToItem(Plan->selectedItems().constFirst());
}

void TF_Plan_Codigos::Muestra_Libres(TEspacio_Codigo espacio, qint64 cuantos) {
    const QString nombre = TTextos_Plan().Espacio(espacio);
    const auto libres = plan_.Libres_Seguidos(espacio, cuantos);
    if (!libres)
        return Senala({}, Clave("Plan_NoRun").arg(nombre, QString::number(cuantos)));
    // The run they start is the row to show.
    const QString tramo = Texto_Tramo(espacio, libres->first, libres->second);
    const QList<TFila_Plan>& filas = plan_.Espacio(espacio).Filas;
    QList<TPlan_Codigos::THallazgo> hallazgos;
    for (int f = 0; f < filas.size(); ++f)
        if (filas[f].Libre && filas[f].Desde == libres->first)
            hallazgos.append({espacio, f});
    Senala(hallazgos, Clave("Plan_FreeRun").arg(nombre, QString::number(cuantos), tramo));
}

void TF_Plan_Codigos::Senala(const QList<TPlan_Codigos::THallazgo>& hallazgos,
                             const QString& texto) {
    Plan->clearSelection();
    for (const TPlan_Codigos::THallazgo& h : hallazgos)
        if (QTreeWidgetItem* fila = Fila(h))
            fila->setSelected(true);
    Di(texto);
}

void TF_Plan_Codigos::Di(const QString& texto) {
    Resultado->setText(texto);
    Resultado->setAccessibleName(texto);
}

void TF_Plan_Codigos::Rechaza(QLineEdit* campo, const QString& mensaje) {
    // Focus first: when the box closes, the focus comes back to this field.
    campo->setFocus();
    campo->selectAll();
    Avisa_Sobre(this, mensaje);
}

bool TF_Plan_Codigos::Guarda_Csv(const QString& fichero) {
    return Exporta(this, fichero, [this](const QString& f, QString& causa) {
        return Guarda_Fichero(f, Texto_Csv_Plan(plan_), causa);
    });
}
