#include "UVentana_Kalvex.h"

#include "Configuracion.h"

#include <QApplication>
#include <QEvent>
#include <QList>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

bool Queda_Arriba(const QWidget* w) {
    return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// A window of the program the user sees and works in: no menu, tool tip or splash.
bool Ventana_Visible(const QWidget* w, const QWidget* excepto) {
    if (!w || w == excepto || !w->isWindow() || !w->isVisible())
        return false;
    switch (w->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Tool:
        return true;
    default:
        return false;
    }
}

// The program's windows in the order they were last active, the latest first: when another
// program has the focus, the last one the user worked in is the one a message belongs to.
QList<QPointer<QWindow>>& Activadas() {
    static QList<QPointer<QWindow>> ventanas;
    return ventanas;
}

QWidget* Widget_De(const QWindow* ventana) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowHandle() == ventana)
            return w;
    return nullptr;
}

// A modal window that closes while it has the focus gives it back to the window it belongs
// to: left to the window manager, the focus goes to whichever window is behind, often the main
// window under the editor that showed the message. Every modal window of the program passes
// here, message boxes shown by Qt's own functions too.
class TVuelta_Foco : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (!objeto->isWidgetType())
            return false;
        if (evento->type() == QEvent::Hide)
            Devuelve(static_cast<QWidget*>(objeto));
        // A window the program shows meanwhile is where the user goes next.
        else if (evento->type() == QEvent::Show && static_cast<QWidget*>(objeto)->isWindow())
            delete espera_;
        return false;
    }

private:
    void Devuelve(const QWidget* modal) {
        const QWindow* ventana = modal->windowHandle();
        // Another program's window keeps the focus the user gave it.
        if (!modal->isWindow() || !modal->isModal() || !ventana ||
            QGuiApplication::focusWindow() != ventana)
            return;
        QWidget* duena = modal->parentWidget() ? modal->parentWidget()->window()
                                               : Widget_De(ventana->transientParent());
        if (!duena || !duena->isVisible() || duena->isMinimized())
            return;
        duena->activateWindow();
        // A window manager that gives the focus to a window of its own choosing once the modal
        // window is unmapped (some skip tool windows, such as the editors) answers a few
        // milliseconds after this request and wins: a focus that lands elsewhere in that time
        // is corrected once, unless another modal window has come up or the owner has closed.
        delete espera_;
        espera_ = new QObject(duena);
        QTimer::singleShot(200, espera_, &QObject::deleteLater);
        QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, espera_,
                         [this, duena](QWindow* w) {
                             if (!w || w == duena->windowHandle())
                                 return;
                             if (duena->isVisible() && !QApplication::activeModalWidget())
                                 duena->activateWindow();
                             delete espera_;
                         });
    }

    QPointer<QObject> espera_; // the correction pending, child of the owner
};

void Sigue_Activacion() {
    static QPointer<QObject> escucha;
    if (escucha || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    escucha = new TVuelta_Foco(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(escucha);
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, escucha, [](QWindow* w) {
        if (!w)
            return;
        QList<QPointer<QWindow>>& ventanas = Activadas();
        ventanas.removeIf([w](const QPointer<QWindow>& p) { return p.isNull() || p == w; });
        ventanas.prepend(w);
    });
}

bool Alguna_Arriba(const QWidget* excepto) {
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (Ventana_Visible(w, excepto) && Queda_Arriba(w))
            return true;
    return false;
}

// The window a modal window without a parent belongs to; nullptr when the program shows none.
QWidget* Ventana_Duena(const QWidget* modal) {
    if (QWidget* activa = QApplication::activeWindow(); Ventana_Visible(activa, modal))
        return activa;
    QWidget* ultima = nullptr;
    for (const QPointer<QWindow>& ventana : Activadas()) {
        QWidget* w = ventana ? Widget_De(ventana) : nullptr;
        if (!Ventana_Visible(w, modal))
            continue;
        if (Queda_Arriba(w))
            return w;
        if (!ultima)
            ultima = w;
    }
    if (ultima)
        return ultima;
    // Shown but never active yet.
    QWidget* cualquiera = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!Ventana_Visible(w, modal))
            continue;
        if (Queda_Arriba(w))
            return w;
        cualquiera = w;
    }
    return cualquiera;
}

} // namespace

TSobre_Su_Ventana::TSobre_Su_Ventana() {
    Sigue_Activacion();
}

void TSobre_Su_Ventana::Antes_De_Mostrar(QWidget* ventana) {
    // The flags first: changing them resets the native window's transient parent.
    if (!Queda_Arriba(ventana) && Alguna_Arriba(ventana)) {
        ventana->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        arriba_anadido_ = true;
    }
    // A parent already makes it transient for the parent's window.
    if (ventana->parentWidget())
        return;
    QWidget* duena = Ventana_Duena(ventana);
    if (!duena)
        return;
    // Created now, so the window manager learns the owner when the window is mapped.
    ventana->winId();
    duena->winId();
    ventana->windowHandle()->setTransientParent(duena->windowHandle());
    duena_anadida_ = true;
}

void TSobre_Su_Ventana::Tras_Ocultar(QWidget* ventana) {
    if (duena_anadida_) {
        if (QWindow* w = ventana->windowHandle())
            w->setTransientParent(nullptr);
        duena_anadida_ = false;
    }
    if (arriba_anadido_) {
        ventana->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        arriba_anadido_ = false;
    }
}

void Sobre_Su_Ventana(QWidget* modal) {
    TSobre_Su_Ventana sobre;
    sobre.Antes_De_Mostrar(modal);
}

TVentana_Kalvex::TVentana_Kalvex(const QString& nombre, Qt::WindowFlags flags, QWidget* parent)
    : QDialog(parent, Qt::Dialog | flags) {
    setObjectName(nombre);
    setWindowTitle(Titulo_Kalvex());
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    setPalette(paleta);
    setAutoFillBackground(true);
}

// Placed before it appears, so it never shows up elsewhere first.
void TVentana_Kalvex::setVisible(bool visible) {
    if (visible && !isVisible()) {
        if (isModal())
            sobre_.Antes_De_Mostrar(this);
        Coloca();
    }
    QDialog::setVisible(visible);
    if (!visible)
        sobre_.Tras_Ocultar(this);
}

void TVentana_Kalvex::Coloca() {
    adjustSize();
    Centra();
}

void TVentana_Kalvex::Centra() {
    if (const QScreen* pantalla = QGuiApplication::primaryScreen()) {
        QRect marco = geometry();
        marco.moveCenter(pantalla->availableGeometry().center());
        move(marco.topLeft());
    }
}
