#pragma once
// What the program's small windows share: title "Kalvex 3.3", white background, centred on
// the screen at each showing, and kept above the window they belong to when shown modally.

#include <QDialog>

// A modal window blocks every window of the program, so none of them may hide it; the editors
// stay on top, and a message the window manager stacks under one leaves the program looking
// hung. Before the window is shown it becomes transient for the window it belongs to (its
// parent; else the active window; else, when another program has the focus, the last active
// window, one that stays on top first), and it stays on top itself while any window of the
// program does. Hiding gives back what the showing added. Any modal window of the program that
// closes while it has the focus gives the focus back to the window it belongs to.
class TSobre_Su_Ventana {
public:
    TSobre_Su_Ventana();
    void Antes_De_Mostrar(QWidget* ventana);
    void Tras_Ocultar(QWidget* ventana);

private:
    bool arriba_anadido_ = false;
    bool duena_anadida_ = false;
};

// For a modal window shown once (a message box): the showing's part of TSobre_Su_Ventana.
void Sobre_Su_Ventana(QWidget* modal);

class TVentana_Kalvex : public QDialog {
    Q_OBJECT
public:
    // flags: the window kind on top of Qt::Dialog (Qt::Tool, Qt::WindowStaysOnTopHint).
    TVentana_Kalvex(const QString& nombre, Qt::WindowFlags flags, QWidget* parent);

    void setVisible(bool visible) override;

protected:
    // Where the window appears as it is shown: at its own size, centred on the screen.
    virtual void Coloca();
    // Centred on the screen at its present size.
    void Centra();

private:
    TSobre_Su_Ventana sobre_;
};
