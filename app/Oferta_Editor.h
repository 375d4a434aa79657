#pragma once
// The main window's strip for a decoder that sent its configuration while no editor was open
// to take it: it says which model sent it, offers a button that opens each possible model's
// editor, and asks for the programming button to be pressed again. A strip, not a box: nothing
// waits for it, and the installer may as well pick the model in the list.

#include <QFrame>

#include <cstdint>
#include <functional>
#include <vector>

class QHBoxLayout;
class QLabel;
class QToolButton;
struct TModelo;

class TOferta_Editor : public QFrame {
    Q_OBJECT
public:
    // `abre` opens the model's editor when the user picks one.
    TOferta_Editor(std::function<void(const TModelo&)> abre, QWidget* parent);

    // Shown in place of any offer before. No models: the identification byte is no model's,
    // said without a button.
    void Ofrece(uint8_t identificacion, const std::vector<const TModelo*>& modelos);
    // A value came before any identification: the model is not known yet, so no button.
    void Avisa_Sin_Identificacion();
    void Quita();

private:
    void Muestra(const QString& texto, const std::vector<const TModelo*>& modelos);
    // The window fitted to its fixed-size contents again, which it would not shrink to by
    // itself once the strip has gone.
    void Ajusta_Ventana();

    std::function<void(const TModelo&)> abre_;
    QLabel* Texto_;
    QHBoxLayout* Botones_;
    QToolButton* Cerrar_;
};
