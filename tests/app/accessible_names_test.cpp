// What a screen reader finds in every window of the program: each control the user can work
// (button, check box, field, list, menu item…) has a name in the user's language. The tree is
// the one assistive technology reads, walked in-process through QAccessible.

#include "Creacion_Ventanas.h"
#include "F_Entrega.h"
#include "Idiomas.h"
#include "ModalWatcher.h"
#include "TIniFile.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace kalvex::test;

namespace {

// The windows made only when the user asks for them, one line each; the program's other
// windows are all found among the application's top-level widgets.
const std::vector<std::pair<const char*, std::function<QWidget*()>>>& Ventanas_A_Pedido() {
    static const std::vector<std::pair<const char*, std::function<QWidget*()>>> ventanas = {
        {"F_Entrega", [] { return new TF_Entrega; }},
    };
    return ventanas;
}

bool Interactivo(QAccessible::Role rol) {
    switch (rol) {
    case QAccessible::PushButton:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::MenuItem:
    case QAccessible::Slider:
    case QAccessible::PageTab:
        return true;
    default:
        return false;
    }
}

QString Describe(const QAccessibleInterface* i) {
    const QObject* o = i->object();
    if (!o)
        return QStringLiteral("(role %1)").arg(i->role());
    QString nombre = QString::fromLatin1(o->metaObject()->className());
    if (!o->objectName().isEmpty())
        nombre += QLatin1Char(' ') + o->objectName();
    return nombre;
}

// Every interactive control below `i` without a name, by its path from the window. A widget
// hidden in its window is not read, nor is what it holds.
void Sin_Nombre(QAccessibleInterface* i, const QString& camino, QStringList& faltan) {
    if (const QWidget* w = qobject_cast<const QWidget*>(i->object());
        w && !w->isWindow() && !w->isVisibleTo(w->window()))
        return;
    if (Interactivo(i->role()) && i->text(QAccessible::Name).trimmed().isEmpty())
        faltan << camino + QStringLiteral(" > ") + Describe(i);
    // A list's rows are the user's data, not controls; a combo box's list is the combo box's.
    if (i->role() == QAccessible::List || i->role() == QAccessible::Table ||
        i->role() == QAccessible::Tree || i->role() == QAccessible::ComboBox)
        return;
    const QString aqui = camino + QStringLiteral(" > ") + Describe(i);
    for (int n = 0; n < i->childCount(); ++n)
        if (QAccessibleInterface* hijo = i->child(n))
            Sin_Nombre(hijo, aqui, faltan);
}

class AccessibleNamesTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid());
        qputenv("KALVEX_CONFIG_DIR", config_.path().toLocal8Bit());
        TIniFile settings(config_.filePath(QStringLiteral("KALVEX.INI")));
        settings.WriteString(QStringLiteral("General"), QStringLiteral("Sys_Port"), QString());
        settings.WriteString(QStringLiteral("General"), QStringLiteral("Idioma"),
                             QString::fromUtf8(GetParam()));
    }
    void TearDown() override {
        Destruye_Ventanas();
        Libera_Fichero_Idiomas();
        qunsetenv("KALVEX_CONFIG_DIR");
    }

    QTemporaryDir config_;
};

TEST_P(AccessibleNamesTest, EveryControlOfEveryWindowHasAName) {
    ModalWatcher boxes; // the port that cannot be opened
    Crea_Ventanas();
    std::vector<std::pair<QString, QWidget*>> ventanas;
    for (QWidget* w : QApplication::topLevelWidgets())
        // Menus are windows of their own; a combo box's list is its box's.
        if (w->windowType() != Qt::Popup || qobject_cast<QMenu*>(w))
            ventanas.emplace_back(w->objectName(), w);
    std::vector<std::unique_ptr<QWidget>> a_pedido;
    for (const auto& [nombre, crea] : Ventanas_A_Pedido()) {
        a_pedido.emplace_back(crea());
        ventanas.emplace_back(QString::fromLatin1(nombre), a_pedido.back().get());
    }
    EXPECT_GT(ventanas.size(), 20u);
    for (const auto& [nombre, ventana] : ventanas) {
        SCOPED_TRACE(nombre.toStdString());
        QAccessibleInterface* raiz = QAccessible::queryAccessibleInterface(ventana);
        ASSERT_NE(raiz, nullptr);
        QStringList faltan;
        Sin_Nombre(raiz, nombre, faltan);
        EXPECT_EQ(faltan.join(QLatin1Char('\n')).toStdString(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, AccessibleNamesTest,
                         ::testing::Values("ENGLISH", "FRAN\xC3\x87"
                                                      "AIS"));

} // namespace
