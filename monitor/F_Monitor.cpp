#include "F_Monitor.h"

#include "Configuracion.h"
#include "Csv.h"
#include "Dialogo_Fichero.h"
#include "Filtro_Filas.h"
#include "Formato_Fila.h"
#include "Guarda_Fichero.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>

#include <algorithm>

using T = TTexto_Monitor;

namespace {

QPushButton* Boton(const QString& nombre, const QString& texto, QWidget* padre) {
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(nombre);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TF_Monitor::TF_Monitor(TDECODER2* enlace, int capacidad, const QString& carpeta_registro)
    : TVentana_Kalvex(QStringLiteral("F_Monitor"),
                      Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint, nullptr),
      textos_(TTextos_Monitor::Del_Idioma()),
      monitor_(enlace, textos_, capacidad, carpeta_registro) {
    setWindowTitle(Titulo_Kalvex(textos_[T::Title]));
    setSizeGripEnabled(true);

    Filtro = new QComboBox(this);
    Filtro->setObjectName(QStringLiteral("Filtro"));
    Filtro->addItems({textos_[T::FilterAll], textos_[T::FilterRequests], textos_[T::FilterDecoder],
                      textos_[T::FilterProblems]});
    B_Pausa = Boton(QStringLiteral("B_Pausa"), textos_[T::Pause], this);
    B_Pausa->setCheckable(true);
    B_Borrar = Boton(QStringLiteral("B_Borrar"), textos_[T::Clear], this);
    E_Buscar = new QLineEdit(this);
    E_Buscar->setObjectName(QStringLiteral("E_Buscar"));
    // Named for a screen reader by the button beside it.
    E_Buscar->setAccessibleName(textos_[T::Find]);
    B_Buscar = Boton(QStringLiteral("B_Buscar"), textos_[T::Find], this);
    B_Copiar = Boton(QStringLiteral("B_Copiar"), textos_[T::Copy], this);
    B_Guardar = Boton(QStringLiteral("B_Guardar"), textos_[T::Save], this);

    filtro_ = new TFiltro_Filas(&monitor_.Filas(), this);
    Vista = new QTableView(this);
    Vista->setObjectName(QStringLiteral("Vista"));
    Vista->setAccessibleName(textos_[T::Title]);
    Vista->setModel(filtro_);
    Vista->setSelectionBehavior(QAbstractItemView::SelectRows);
    Vista->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Vista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Vista->setWordWrap(false);
    Vista->setShowGrid(false);
    Vista->setAlternatingRowColors(true);
    // Fixed row heights and column widths: measuring 100,000 rows would stall every insertion.
    Vista->verticalHeader()->hide();
    Vista->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Vista->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* cabecera = Vista->horizontalHeader();
    cabecera->setSectionResizeMode(QHeaderView::Interactive);
    cabecera->setStretchLastSection(true);
    // Wide enough for the widest text each column shows, in the font it shows it in.
    const QFontMetrics letra(Vista->font());
    QFont fija;
    fija.setFamily(QStringLiteral("monospace"));
    const int margen = 3 * letra.averageCharWidth();
    cabecera->resizeSection(int(TColumna::Hora),
                            letra.horizontalAdvance(QStringLiteral("00:00:00.000")) + margen);
    cabecera->resizeSection(int(TColumna::Intervalo),
                            letra.horizontalAdvance(QStringLiteral("000000")) + margen);
    cabecera->resizeSection(int(TColumna::Sentido),
                            qMax(letra.horizontalAdvance(textos_[T::ToLine]),
                                 letra.horizontalAdvance(textos_[T::FromLine])) +
                                margen);
    cabecera->resizeSection(int(TColumna::Bytes),
                            QFontMetrics(fija).horizontalAdvance(QStringLiteral("00 00 00 00")) +
                                margen);
    E_Buscar->setMinimumWidth(14 * letra.averageCharWidth());

    auto* barra = new QHBoxLayout;
    barra->addWidget(Filtro);
    barra->addWidget(B_Pausa);
    barra->addWidget(B_Borrar);
    barra->addSpacing(12);
    barra->addWidget(E_Buscar, 1);
    barra->addWidget(B_Buscar);
    barra->addSpacing(12);
    barra->addWidget(B_Copiar);
    barra->addWidget(B_Guardar);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(barra);
    todo->addWidget(Vista, 1);

    connect(Filtro, &QComboBox::currentIndexChanged, filtro_, &TFiltro_Filas::Pon_Modo);
    connect(B_Pausa, &QPushButton::toggled, this, [this](bool on) { monitor_.Pausa(on); });
    connect(B_Borrar, &QPushButton::clicked, this, [this] { monitor_.Filas().Vacia(); });
    auto buscar = [this] {
        if (!E_Buscar->text().isEmpty() && !Busca(E_Buscar->text()))
            QMessageBox::information(this, windowTitle(),
                                     textos_[T::NotFound].arg(E_Buscar->text()));
    };
    connect(B_Buscar, &QPushButton::clicked, this, buscar);
    connect(E_Buscar, &QLineEdit::returnPressed, this, buscar);
    connect(B_Copiar, &QPushButton::clicked, this, &TF_Monitor::Copia);
    connect(new QShortcut(QKeySequence::Copy, Vista), &QShortcut::activated, this,
            &TF_Monitor::Copia);
    connect(B_Guardar, &QPushButton::clicked, this, &TF_Monitor::Pide_Fichero);

    // New rows scroll into view only while the view is at its end, so reading older rows is
    // not disturbed.
    connect(filtro_, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        const QScrollBar* b = Vista->verticalScrollBar();
        al_final_ = b->value() >= b->maximum();
    });
    connect(filtro_, &QAbstractItemModel::rowsInserted, this, [this] {
        if (al_final_ && Vista->isVisible())
            Vista->scrollToBottom();
    });

    monitor_.Registro().OnFallo = [this](const QString& fichero) { Registro_Fallido(fichero); };
    monitor_.Registro().Activa(Lee_Registro_Linea());
}

bool TF_Monitor::Registro_Linea(bool activo, QString& causa) {
    monitor_.Registro().Activa(activo);
    return Guarda_Registro_Linea(activo, causa);
}

bool TF_Monitor::Registro_Linea() const {
    return monitor_.Registro().Activo();
}

void TF_Monitor::Registro_Fallido(const QString& fichero) {
    // Most likely the same full disk: then the next start tries the log again and says so.
    QString causa;
    Guarda_Registro_Linea(false, causa);
    // Said after the write that failed has returned: a message box runs its own event loop.
    QMetaObject::invokeMethod(
        this,
        [this, fichero] {
            QMessageBox::warning(isVisible() ? this : nullptr, Titulo_Kalvex(),
                                 textos_[T::LogFailed].arg(fichero));
        },
        Qt::QueuedConnection);
}

bool TF_Monitor::Guarda(const QString& fichero, bool csv) {
    monitor_.Vuelca();
    // The formula guard leaves these cells alone: times, directions, hex bytes and meanings
    // never start with = + - @. Only an interval after the clock was set back would, and
    // then reads as text.
    const auto linea = csv ? Linea_Csv : Linea_Texto;
    QStringList titulos;
    for (int c = 0; c < int(TColumna::Cuantas); ++c)
        titulos << Titulo_Columna(static_cast<TColumna>(c), textos_);
    QString texto = linea(titulos) + QLatin1Char('\n');
    for (int r = 0; r < filtro_->rowCount(); ++r)
        texto += linea(filtro_->Textos(r)) + QLatin1Char('\n');
    QString causa;
    return Guarda_Fichero(fichero, texto.toUtf8(), causa);
}

void TF_Monitor::Pide_Fichero() {
    TDialogo_Fichero dialogo(this, windowTitle(), QString(), textos_[T::SaveFilter]);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return;
    const QString fichero = dialogo.selectedFiles().constFirst();
    const QString tipo = dialogo.selectedNameFilter();
    const bool csv = fichero.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ||
                     tipo.contains(QStringLiteral("*.csv"));
    if (!Guarda(fichero, csv))
        QMessageBox::warning(this, windowTitle(), textos_[T::SaveFailed].arg(fichero));
}

bool TF_Monitor::Busca(const QString& texto) {
    const QModelIndex actual = Vista->currentIndex();
    for (int r = actual.isValid() ? actual.row() + 1 : 0; r < filtro_->rowCount(); ++r) {
        for (const QString& celda : filtro_->Textos(r)) {
            if (celda.contains(texto, Qt::CaseInsensitive)) {
                Vista->selectRow(r);
                Vista->scrollTo(filtro_->index(r, 0));
                return true;
            }
        }
    }
    return false;
}

void TF_Monitor::Copia() {
    QModelIndexList elegidas = Vista->selectionModel()->selectedRows();
    std::sort(elegidas.begin(), elegidas.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lineas;
    for (const QModelIndex& i : elegidas)
        lineas << Linea_Texto(filtro_->Textos(i.row()));
    if (!lineas.isEmpty())
        QApplication::clipboard()->setText(lineas.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void TF_Monitor::setVisible(bool visible) {
    if (!visible && isVisible())
        lugar_ = geometry();
    TVentana_Kalvex::setVisible(visible);
}

void TF_Monitor::Coloca() {
    // Centred the first time only; afterwards where the user left it, for the run.
    if (lugar_.isValid())
        setGeometry(lugar_);
    else
        TVentana_Kalvex::Coloca();
}

QSize TF_Monitor::sizeHint() const {
    return {fontMetrics().averageCharWidth() * 120, fontMetrics().height() * 30};
}
