#pragma once
// The registry of every window: each is created once at start-up, in a fixed order, and lives
// until the program ends; the rest of the program reaches them here. The program's start
// (app/) creates them and fills this registry; the windows themselves only read it. The
// editors are found by their model (Editor_Por_Referencia in Modelos.h).

class TF_Princ;
class TF_Decoder;
class TF_Decoder_6775_Help;
class TF_Mensa00;
class TF_Mensa01;
class TF_Mensa02;
class TF_Mensa03;
class TF_Mensa04;
class TF_Mensa05;
class TAboutBox;
class TF_Lang;
class TF_Test;
class TF_Reprogram;
class TF_Reprogram_Coinc;
class TF_Sondeo;
class TF_Instalacion;
class TF_Plan_Codigos;
class TF_Monitor;

struct TVentanas {
    TF_Princ* F_Princ = nullptr;
    TF_Mensa00* F_Mensa00 = nullptr;
    TF_Mensa01* F_Mensa01 = nullptr;
    TF_Mensa04* F_Mensa04 = nullptr;
    TF_Mensa02* F_Mensa02 = nullptr;
    TAboutBox* AboutBox = nullptr;
    TF_Lang* F_Lang = nullptr;
    TF_Mensa03* F_Mensa03 = nullptr;
    TF_Mensa05* F_Mensa05 = nullptr;
    TF_Test* F_Test = nullptr;
    TF_Reprogram* F_Reprogram = nullptr;
    TF_Reprogram_Coinc* F_Reprogram_Coinc = nullptr;
    TF_Decoder_6775_Help* F_Decoder_6775_Help = nullptr;
    TF_Instalacion* F_Instalacion = nullptr;
    TF_Plan_Codigos* F_Plan_Codigos = nullptr;
    TF_Sondeo* F_Sondeo = nullptr;
    TF_Monitor* F_Monitor = nullptr;
};

TVentanas& Ventanas();
