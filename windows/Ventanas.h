#pragma once
// The registry of every window: each is created once at start-up, in a fixed order, and lives
// until the program ends; the rest of the program reaches them here. The program's start
// (app/) creates them and fills this registry; the windows themselves only read it.

class TF_Princ;
class TF_Decoder;
class TF_Decoder_6713;
class TF_Decoder_6721;
class TF_Decoder_6722;
class TF_Decoder_6734;
class TF_Decoder_6745;
class TF_Decoder_6746;
class TF_Decoder_6747;
class TF_Decoder_6758;
class TF_Decoder_6759;
class TF_Decoder_6763;
class TF_Decoder_6775;
class TF_Decoder_6775_Help;
class TF_Decoder_6786_II;
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
class TF_Instalacion;
class TF_Monitor;

struct TVentanas {
    TF_Princ* F_Princ = nullptr;
    TF_Decoder_6758* F_Decoder_6758 = nullptr;
    TF_Decoder_6747* F_Decoder_6747 = nullptr;
    TF_Mensa00* F_Mensa00 = nullptr;
    TF_Mensa01* F_Mensa01 = nullptr;
    TF_Mensa04* F_Mensa04 = nullptr;
    TF_Decoder_6722* F_Decoder_6722 = nullptr;
    TF_Decoder_6721* F_Decoder_6721 = nullptr;
    TF_Decoder_6763* F_Decoder_6763 = nullptr;
    TF_Decoder_6746* F_Decoder_6746 = nullptr;
    TF_Decoder_6713* F_Decoder_6713 = nullptr;
    TF_Decoder_6734* F_Decoder_6734 = nullptr;
    TF_Mensa02* F_Mensa02 = nullptr;
    TAboutBox* AboutBox = nullptr;
    TF_Lang* F_Lang = nullptr;
    TF_Mensa03* F_Mensa03 = nullptr;
    TF_Decoder_6759* F_Decoder_6759 = nullptr;
    TF_Decoder_6745* F_Decoder_6745 = nullptr;
    TF_Mensa05* F_Mensa05 = nullptr;
    TF_Decoder_6775* F_Decoder_6775 = nullptr;
    TF_Test* F_Test = nullptr;
    TF_Reprogram* F_Reprogram = nullptr;
    TF_Reprogram_Coinc* F_Reprogram_Coinc = nullptr;
    TF_Decoder_6775_Help* F_Decoder_6775_Help = nullptr;
    TF_Decoder_6786_II* F_Decoder_6786_II = nullptr;
    TF_Instalacion* F_Instalacion = nullptr;
    TF_Monitor* F_Monitor = nullptr;
};

TVentanas& Ventanas();
