#include "Programa.h"

#include "Abre_Editor.h"
#include "Configuracion.h"
#include "Creacion_Ventanas.h"
#include "DECODER2.h"
#include "Enrutado.h"
#include "Errores.h"
#include "F_Principal.h"
#include "Idiomas.h"
#include "Instalacion_Abierta.h"
#include "Modelos.h"
#include "UComunicaciones.h"
#include "UF_Decoder.h"
#include "Ventanas.h"

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
    // An editor opened (by Go!, the offer or re-programming) takes the place of an offer to
    // open one.
    Al_Abrir_Editor([](const TModelo&) {
        if (TF_Princ* principal = Ventanas().F_Princ)
            principal->Quita_Oferta();
    });
}

TPrograma::~TPrograma() {
    // The windows first: the line monitor listens to the link, the editors record into the
    // installation.
    Destruye_Ventanas();
    Asigna_Enlace(nullptr);
    Al_Abrir_Editor(nullptr);
}

void TPrograma::Encamina(const Trama_Dec& trama) {
    if (Enrutado().Sondeo) {
        Enrutado().Sondeo(trama);
        return;
    }
    if (const TModelo* modelo = Modelo_Por_Codigo(Enrutado().Modelo_Activo)) {
        Editor_Modelo(*modelo)->Lee_Decoder(trama);
        return;
    }
    // No editor listens: nothing goes on the line (no acknowledgement, so the decoder ends its
    // read-out by itself). The main window says so: an identification names the model that
    // spoke (or each model that identifies itself alike, in the order of the re-programming
    // choice), an announcement the models that announce; a value names none.
    TF_Princ* principal = Ventanas().F_Princ;
    if (!principal)
        return;
    switch (Clase_Trama(trama)) {
    case TClase_Trama::Identificacion:
        principal->Ofrece_Editores(trama[1], Modelos_En_Eleccion(trama[1]));
        break;
    case TClase_Trama::Anuncio: {
        std::vector<const TModelo*> modelos;
        for (const TModelo& m : Tabla_Modelos())
            if (Tomada(Forma_Lectura(m), trama))
                modelos.push_back(&m);
        principal->Ofrece_Editores(trama[1], modelos);
        break;
    }
    case TClase_Trama::Dato:
        principal->Avisa_Sin_Editor();
        break;
    case TClase_Trama::Otra:
        break;
    }
}
