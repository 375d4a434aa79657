#include "Comprobacion.h"

#include "Carpetas.h"
#include "Configuracion.h"
#include "Creacion_Ventanas.h"
#include "F_Ayuda.h"
#include "F_Principal.h"
#include "Idiomas.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTextStream>
#include <QTreeWidget>

namespace {

// Every text a control puts before the user: its own, its window title and tool-tip, its
// list entries, column titles, tabs and menu items.
QStringList Textos_Control(const QWidget* w) {
    QStringList textos{w->windowTitle(), w->toolTip()};
    if (const auto* l = qobject_cast<const QLabel*>(w))
        textos << l->text();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        textos << b->text();
    if (const auto* g = qobject_cast<const QGroupBox*>(w))
        textos << g->title();
    if (const auto* m = qobject_cast<const QMenu*>(w))
        textos << m->title();
    if (const auto* c = qobject_cast<const QComboBox*>(w))
        for (int i = 0; i < c->count(); ++i)
            textos << c->itemText(i);
    if (const auto* t = qobject_cast<const QTabWidget*>(w))
        for (int i = 0; i < t->count(); ++i)
            textos << t->tabText(i);
    if (const auto* a = qobject_cast<const QTreeWidget*>(w))
        if (const QTreeWidgetItem* cabecera = a->headerItem())
            for (int i = 0; i < cabecera->columnCount(); ++i)
                textos << cabecera->text(i);
    for (const QAction* accion : w->actions())
        textos << accion->text() << accion->toolTip();
    return textos;
}

// "window.control" for every control one of whose texts the language file lacks.
QStringList Controles_Sin_Texto() {
    QStringList sin_texto;
    for (const QWidget* w : QApplication::allWidgets()) {
        for (const QString& texto : Textos_Control(w)) {
            if (texto.contains(TEXTO_AUSENTE)) {
                sin_texto << w->window()->objectName() + QLatin1Char('.') + w->objectName();
                break;
            }
        }
    }
    sin_texto.removeDuplicates();
    sin_texto.sort();
    return sin_texto;
}

} // namespace

int Comprueba_Instalacion(QTextStream& salida) {
    Crea_Ventanas(false);
    const QString idiomas = Busca_Fichero(QStringLiteral("KALVEX_LANG.INI"));
    const QStringList sin_texto = Controles_Sin_Texto();
    const QString ayuda = TF_Princ::Fichero_Ayuda(Idioma);
    const bool hay_ayuda = TF_Ayuda().Carga(ayuda);

    salida << Titulo_Kalvex() << '\n'
           << Texto(QStringLiteral("CHK_Idiomas")) << ' ' << idiomas << " (" << Idioma << ")\n"
           << Texto(QStringLiteral("CHK_Ayuda")) << ' ' << ayuda << '\n';
    if (!sin_texto.isEmpty())
        salida << Texto(QStringLiteral("CHK_Sin_Texto")) << ' '
               << sin_texto.join(QStringLiteral(", ")) << '\n';
    if (!hay_ayuda)
        salida << Texto(QStringLiteral("CHK_Sin_Ayuda")) << '\n';
    const bool correcta = sin_texto.isEmpty() && hay_ayuda;
    if (correcta)
        salida << Texto(QStringLiteral("CHK_Correcta")) << '\n';
    salida.flush();
    Destruye_Ventanas();
    Libera_Fichero_Idiomas();
    return correcta ? 0 : 1;
}
