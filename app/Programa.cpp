#include "Programa.h"

#include "Configuracion.h"
#include "Creacion_Ventanas.h"
#include "DECODER2.h"
#include "Enrutado.h"
#include "Errores.h"
#include "Idiomas.h"
#include "Instalacion_Abierta.h"
#include "Modelos.h"
#include "UComunicaciones.h"
#include "UF_Decoder.h"

TPrograma::TPrograma(bool abre_puerto) : enlace_(new TDECODER2(this)) {
    // No editor receives frames yet, and a read-out starts at its first value.
    Enrutado() = TEnrutado{};
    // Every window takes its texts from the language of the settings.
    Abre_Fichero_Idiomas();
    Lee_Configuracion();
    enlace_->setObjectName(QStringLiteral("Decod1"));
    enlace_->OnDECRecibedNotDemand = [this](QObject*, Trama_Dec trama) {
        Atrapa([&] { Encamina(trama); })();
    };
    Asigna_Enlace(enlace_);
    instalacion_ = new TInstalacion_Abierta(this);
    instalacion_->Abre_Ultima();
    Crea_Ventanas(enlace_, instalacion_, abre_puerto);
}

TPrograma::~TPrograma() {
    // The windows first: the line monitor listens to the link, the editors record into the
    // installation.
    Destruye_Ventanas();
    Asigna_Enlace(nullptr);
}

void TPrograma::Encamina(const Trama_Dec& trama) {
    if (const TModelo* modelo = Modelo_Por_Codigo(Enrutado().Modelo_Activo))
        Editor_Modelo(*modelo)->Lee_Decoder(trama);
}
