#pragma once
// An editor's state line: one label that says where things stand, in the user's language.
// While the port is not open that is what it says, in the words of the main window's status
// line (TEstado_Linea, which it follows); otherwise the editor's own state. A state that asks
// the installer to act stands out.

#include <QString>

class QLabel;

class TLinea_Estado {
public:
    explicit TLinea_Estado(QLabel* etiqueta);

    void Pon(const QString& estado, bool aviso = false);

    // The link's port is open (a stand-in link, in tests, always is).
    static bool Puerto_Abierto();
    // The port's state as the main window's status line words it.
    static QString Texto_Puerto();
    // The time of day as the states give it ("15:11:04").
    static QString Hora();

private:
    void Refresca();

    QLabel* etiqueta_;
    QString estado_;
    bool aviso_ = false;
};
