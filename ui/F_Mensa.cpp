#include "F_Mensa.h"

#include "Idiomas.h"
#include "Recursos.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QString kLibro = QStringLiteral("libro.png");

QLabel* Etiqueta_Imagen(const QString& nombre, const QPixmap& imagen) {
    auto* etiqueta = new QLabel;
    etiqueta->setObjectName(nombre);
    etiqueta->setPixmap(imagen);
    etiqueta->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return etiqueta;
}

} // namespace

TF_Mensa::TF_Mensa(const QString& nombre, const TContenido_Mensa& contenido, QWidget* parent)
    : TVentana_Kalvex(nombre, Qt::Tool, parent), textos_(new QVBoxLayout) {
    textos_->setSpacing(3);
    auto* fila = new QHBoxLayout;
    fila->setSpacing(14);
    if (contenido.fotoDecoder) {
        QLabel* foto = Etiqueta_Imagen(QStringLiteral("Image2"),
                                       QPixmap::fromImage(Foto(QStringLiteral("decoder.jpg"))));
        foto->setScaledContents(true);
        foto->setFixedWidth(96);
        foto->setMinimumHeight(134);
        fila->addWidget(foto);
    }
    fila->addWidget(Etiqueta_Imagen(QStringLiteral("Image1"), Imagen(contenido.icono)));
    int n = 0;
    for (const QString& clave : contenido.claves) {
        auto* linea = new QLabel(Texto(clave));
        linea->setObjectName(QStringLiteral("Label%1").arg(++n));
        textos_->addWidget(linea);
    }
    textos_->addStretch();
    fila->addLayout(textos_, 1);

    auto* cerrar = new QPushButton(Texto(QStringLiteral("GEN_MEN09")));
    cerrar->setObjectName(QStringLiteral("B_Close"));
    cerrar->setDefault(true);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::accept);

    auto* principal = new QVBoxLayout(this);
    principal->setSizeConstraint(QLayout::SetFixedSize);
    principal->setContentsMargins(16, 16, 16, 12);
    principal->addLayout(fila);
    principal->addWidget(cerrar, 0, Qt::AlignHCenter);
    // A short message would leave a window too narrow for its own title ("Kalv… 3.3"): wide
    // enough for the title in a bold face and the title bar's buttons.
    QFont negrita = font();
    negrita.setBold(true);
    principal->addStrut(QFontMetrics(negrita).horizontalAdvance(windowTitle()) * 6 / 5 + 110);
}

TF_Mensa00::TF_Mensa00(QWidget* parent)
    : TF_Mensa(QStringLiteral("F_Mensa00"),
               {{QStringLiteral("F_MENSA00"), QStringLiteral("F_MENSA01")}, kLibro}, parent),
      Lista(new QTreeWidget) {
    Lista->setObjectName(QStringLiteral("Lista"));
    // Named for a screen reader by what it shows.
    Lista->setAccessibleName(Texto(QStringLiteral("F_MENSA00")));
    Lista->setRootIsDecorated(false);
    Lista->setSelectionMode(QAbstractItemView::NoSelection);
    Lista->setHeaderLabels(
        {Texto(QStringLiteral("F_MENSA02")), Texto(QStringLiteral("F_MENSA03"))});
    Lista->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Lista->header()->setStretchLastSection(true);
    Lista->setFixedHeight(Lista->header()->sizeHint().height() + 3 * fontMetrics().height());
    Textos()->insertWidget(Textos()->count() - 1, Lista);
    Ajusta_Lista();
}

void TF_Mensa00::Pon_Decoders(const QString& referencia, const QString& recibido) {
    Lista->clear();
    new QTreeWidgetItem(Lista, {QStringLiteral("Ref. ") + referencia, recibido});
    Ajusta_Lista();
}

// Wide enough for headings and row, so a long model text (a byte that several models share)
// is never cut off; the dialog grows with it.
void TF_Mensa00::Ajusta_Lista() {
    const QTreeWidgetItem* fila = Lista->topLevelItem(0);
    int ancho = 2 * Lista->frameWidth() + 4;
    for (int columna = 0; columna < Lista->columnCount(); ++columna) {
        const int texto = fila ? Lista->fontMetrics().horizontalAdvance(fila->text(columna)) : 0;
        ancho += qMax(Lista->header()->sectionSizeHint(columna), texto + 16);
    }
    Lista->setMinimumWidth(ancho);
}

TF_Mensa01::TF_Mensa01(QWidget* parent)
    : TF_Mensa(QStringLiteral("F_Mensa01"),
               {{QStringLiteral("F_MENSA04"), QStringLiteral("F_MENSA05")}, kLibro, true}, parent),
      Detalle(new QLabel) {
    Detalle->setObjectName(QStringLiteral("Detalle"));
    QFont negrita = Detalle->font();
    negrita.setBold(true);
    Detalle->setFont(negrita);
    Detalle->setWordWrap(true);
    Detalle->hide();
    Textos()->insertWidget(Textos()->count() - 1, Detalle);
}

void TF_Mensa01::Pon_Detalle(const QString& texto) {
    Detalle->setText(texto);
    Detalle->setVisible(!texto.isEmpty());
}

TF_Mensa02::TF_Mensa02(QWidget* parent)
    : TF_Mensa(
          QStringLiteral("F_Mensa02"),
          {{QStringLiteral("F_MENSA13"), QStringLiteral("F_MENSA14")}, QStringLiteral("info.png")},
          parent) {}

TF_Mensa03::TF_Mensa03(QWidget* parent)
    : TF_Mensa(QStringLiteral("F_Mensa03"),
               {{QStringLiteral("F_MENSA15"), QStringLiteral("F_MENSA16"),
                 QStringLiteral("F_MENSA17"), QStringLiteral("F_MENSA18")},
                kLibro},
               parent) {}

TF_Mensa04::TF_Mensa04(QWidget* parent)
    : TF_Mensa(
          QStringLiteral("F_Mensa04"),
          {{QStringLiteral("F_MENSA06"), QStringLiteral("F_MENSA07"), QStringLiteral("F_MENSA08"),
            QStringLiteral("F_MENSA09"), QStringLiteral("F_MENSA10"), QStringLiteral("F_MENSA11"),
            QStringLiteral("F_MENSA12")},
           kLibro},
          parent) {}

TF_Mensa05::TF_Mensa05(QWidget* parent)
    : TF_Mensa(QStringLiteral("F_Mensa05"),
               {{QStringLiteral("F_MENSA19")}, QStringLiteral("disquete.png")}, parent) {}
