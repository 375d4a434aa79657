#pragma once
// The program while it runs: the language file and the settings, the decoder link, the routing
// of the frames decoders send on their own, and the open installation; then every window over
// them. main() creates one; the main window is only a window.
//
// A frame no request waited for goes link → Encamina → the read-out of the editor whose model
// receives them (Enrutado), never through a window. With no editor receiving, an
// identification frame makes the main window offer the editor of the model that sent it.

#include "Trama_Dec.h"

#include <QObject>

class TDECODER2;
class TInstalacion_Abierta;

class TPrograma : public QObject {
public:
    // abre_puerto false: the line stays closed (the installation check needs no port).
    explicit TPrograma(bool abre_puerto = true);
    ~TPrograma() override;

    TDECODER2* Enlace() const { return enlace_; }
    TInstalacion_Abierta* Instalacion() const { return instalacion_; }

private:
    void Encamina(const Trama_Dec& trama);

    TDECODER2* enlace_;
    TInstalacion_Abierta* instalacion_;
};
