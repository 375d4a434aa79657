// What the monitor says each frame means: a table of every kind of frame the program sends and
// takes, then the real engine against the simulated installation, read back from the monitor.

#include "../models/editor_fixture.h"
#include "EnglishTexts.h"
#include "F_Monitor.h"
#include "Modelos.h"
#include "Significado.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <sstream>
#include <string>

using namespace kalvex::test;

namespace {

Trama_Dec Hex(const std::string& text) {
    std::istringstream in(text);
    Trama_Dec t;
    for (int i = 0; i < 4; ++i) {
        unsigned b = 0;
        in >> std::hex >> b;
        t.Bytes[static_cast<std::size_t>(i)] = static_cast<uint8_t>(b);
    }
    return t;
}

struct Caso {
    TSuceso_Linea::Tipo clase;
    const char* bytes;
    int referencia; // the editor open (0: none)
    const char* peticion = "";
    int intento = 0;
    int intentos = 0;
    int salida = 0;
    int longitud = 4;
};

TFila_Linea Fila(const Caso& c) {
    TFila_Linea f;
    f.Suceso.Clase = c.clase;
    f.Suceso.Trama = Hex(c.bytes);
    f.Suceso.Longitud = static_cast<uint8_t>(c.longitud);
    f.Suceso.Peticion_Actual = Hex(c.peticion);
    f.Suceso.Intento = static_cast<uint8_t>(c.intento);
    f.Suceso.Intentos = static_cast<uint8_t>(c.intentos);
    if (const TModelo* m = Modelo_Por_Referencia(c.referencia))
        f.Modelo = m->Codigo;
    f.Salida = static_cast<uint8_t>(c.salida);
    return f;
}

using S = TSuceso_Linea;
class MonitorMeanings : public EnglishTexts {};

TEST_F(MonitorMeanings, RequestsOfEveryModel) {
    const struct {
        Caso caso;
        const char* significado;
    } tabla[] = {
        {{S::Peticion, "B0 02 35 12", 6745}, "write output 2: code 1235"},
        {{S::Peticion, "B0 0E FF FF", 6746}, "write output 8: no code"},
        {{S::Peticion, "B0 04 23 A1", 6758}, "write output 3: code A123"},
        {{S::Peticion, "B0 24 FF 85", 6758}, "write time of output 3: 5 minutes"},
        {{S::Peticion, "B0 20 FF 0A", 6758}, "write time of output 1: 10 seconds"},
        {{S::Peticion, "B0 22 FF FF", 6758}, "write time of output 2: no time"},
        {{S::Peticion, "B0 2E 01 05", 6759}, "write mode of output 8: time 5, ON"},
        {{S::Peticion, "B0 00 00 01", 6734}, "write start address: 0100"},
        {{S::Peticion, "B0 02 FF FF", 6734}, "write end address: none"},
        {{S::Peticion, "B0 04 FF FF", 6734}, "write programming by entrance: yes"},
        {{S::Peticion, "B0 04 00 00", 6734}, "write programming by entrance: no"},
        {{S::Peticion, "B0 00 56 00", 6786}, "write address: 0056"},
        {{S::Peticion, "B0 00 00 8F", 6786}, "write address: none"},
        {{S::Peticion, "B0 30 01 02", 0}, "write register 0x30: word 0201"},
        {{S::Peticion, "60 24 23 A1", 6758}, "read time of output 3"},
        {{S::Peticion, "60 25 23 B1", 6759}, "read state of output 3"},
        {{S::Peticion, "63 23 FF 12", 6775}, "read register 0x23 of panel 3 block 12"},
        {{S::Peticion, "60 24 FF 0A", 6775}, "read register 0x24 of panel 0 block 0A"},
        {{S::Peticion, "D3 21 05 12", 6775}, "write register 0x21 of panel 3 block 12: 5"},
        {{S::Peticion, "60 23 AB 12", 0}, "read register 0x23 (code 12AB)"},
        {{S::Peticion, "70 01 23 D1", 0}, "query device D123"},
        {{S::Peticion, "80 01 23 A1", 6758}, "arm sensor A123"},
        {{S::Peticion, "50 10 25 00", 0}, "programming request for 0025"},
        {{S::Peticion, "50 20 FF 9F", 0}, "closing frame 6713/6721/6722/6734/6745/6746/6747"},
        {{S::Peticion, "50 20 FF AF", 0}, "closing frame 6758"},
        {{S::Peticion, "50 04 FF AF", 0}, "closing frame 6758 (after a Save)"},
        {{S::Peticion, "50 20 FF BF", 0}, "closing frame 6759"},
        {{S::Peticion, "50 20 FF DF", 0}, "closing frame 6763"},
        {{S::Peticion, "50 20 FF FF", 0}, "closing frame 6786"},
        {{S::Peticion, "C0 01 FF 9F", 0}, "closing frame 6775"},
        {{S::Peticion, "50 20 FF 12", 0}, "request not known to the program"},
        {{S::Peticion, "B0 02 35 12", 6745, "B0 02 35 12", 2, 3},
         "write output 2: code 1235 (attempt 2 of 3)"},
        {{S::Peticion, "50 10 25 00", 0, "50 10 25 00", 2, 2},
         "programming request for 0025 (attempt 2 of 2)"},
        {{S::Directa, "20 00 34 12", 6745}, "acknowledgement of a data frame"},
        {{S::Directa, "20 40 12 34", 6745}, "acknowledgement of an identification frame"},
    };
    for (const auto& [caso, significado] : tabla) {
        SCOPED_TRACE(caso.bytes);
        const TFila_Linea f = Fila(caso);
        EXPECT_EQ(Significado(f, textos).toStdString(), significado);
        EXPECT_TRUE(Hacia_La_Linea(f));
        EXPECT_FALSE(Es_Problema(f));
    }
}

TEST_F(MonitorMeanings, RepliesJudgedAsTheRequestsJudgeThem) {
    const struct {
        Caso caso;
        const char* significado;
        bool problema;
    } tabla[] = {
        {{S::Respuesta, "20 00 00 00", 6745, "B0 02 35 12", 1, 3}, "acknowledged", false},
        {{S::Respuesta, "30 00 00 00", 6745, "B0 02 35 12", 1, 3},
         "status 0x30: not accepted",
         true},
        {{S::Respuesta, "20 48 00 00", 0, "70 01 25 00", 1, 3}, "answer 0x48 = Ref. 6746", false},
        {{S::Respuesta, "20 99 00 00", 0, "70 01 25 00", 1, 3}, "answer 0x99 = \u00BF?", false},
        {{S::Respuesta, "25 0A 00 00", 6775, "65 23 FF 40", 1, 3}, "answer: value 10", false},
        {{S::Respuesta, "30 0A 00 00", 6775, "65 23 FF 40", 1, 3},
         "status 0x30: not accepted",
         true},
        // a digitizer write echoes its panel, and the new one for register 0x21
        {{S::Respuesta, "25 00 00 00", 6775, "D5 22 07 40", 1, 3}, "acknowledged", false},
        {{S::Respuesta, "27 00 00 00", 6775, "D5 21 07 40", 1, 3}, "acknowledged", false},
        {{S::Respuesta, "25 00 00 00", 6775, "D5 21 07 40", 1, 3},
         "status 0x25: not accepted",
         true},
        {{S::Respuesta, "20 00 00 00", 6745, "B0 02 35 12", 3, 3},
         "acknowledged (attempt 3 of 3)",
         false},
        {{S::Sin_Respuesta, "00 00 00 00", 6745, "B0 02 35 12", 2, 3, 0, 0},
         "no reply within 250 ms (attempt 2 of 3)",
         true},
        {{S::Rezagada, "20 00 00 00", 6745, "B0 02 35 12", 1, 3}, "late reply, dropped", true},
        {{S::Restos, "E5 00 00 00", 0, "", 0, 0, 0, 1},
         "not a frame: 1 byte(s) dropped by resynchronisation",
         true},
        {{S::Sobrante, "20 00 00 00", 0, "", 0, 0, 0, 3},
         "not a frame: 3 byte(s) after a frame, dropped",
         true},
    };
    for (const auto& [caso, significado, problema] : tabla) {
        SCOPED_TRACE(caso.bytes);
        const TFila_Linea f = Fila(caso);
        EXPECT_EQ(Significado(f, textos).toStdString(), significado);
        EXPECT_FALSE(Hacia_La_Linea(f));
        EXPECT_EQ(Es_Problema(f), problema);
    }
}

TEST_F(MonitorMeanings, UnsolicitedFramesAsTheOpenEditorTakesThem) {
    const struct {
        Caso caso;
        const char* significado;
        bool problema;
    } tabla[] = {
        {{S::No_Solicitada, "00 00 34 12", 6746, "", 0, 0, 2},
         "data frame 3 of 8 for the 6746 editor",
         false},
        {{S::No_Solicitada, "00 00 34 12", 6745, "", 0, 0, 3},
         "data frame 4 of 4 for the 6745 editor",
         false},
        {{S::No_Solicitada, "00 00 56 00", 6786}, "data frame 1 of 1 for the 6786 editor", false},
        {{S::No_Solicitada, "40 48 00 00", 6746}, "identification 0x48 = Ref. 6746", false},
        // three models share one identification byte
        {{S::No_Solicitada, "40 44 00 00", 6713},
         "identification 0x44 = Ref. 6745 / Ref. 6734 / Ref. 6713",
         false},
        {{S::No_Solicitada, "40 48 00 00", 6745},
         "identification 0x48 = Ref. 6746: not the decoder of the 6745 editor",
         true},
        {{S::No_Solicitada, "53 00 00 12", 6775, "", 0, 0, 0},
         "digitizer announcement: panel 3, block 12 (first of the pair, not acted on)",
         false},
        {{S::No_Solicitada, "53 00 00 12", 6775, "", 0, 0, 1},
         "digitizer announcement: panel 3, block 12",
         false},
        {{S::No_Solicitada, "00 00 34 12", 6775}, "data frame; ignored by the 6775 editor", false},
        {{S::No_Solicitada, "53 00 00 12", 6745},
         "digitizer announcement: panel 3, block 12; ignored by the 6745 editor",
         false},
        {{S::No_Solicitada, "00 00 34 12", 0}, "data frame; dropped: no editor open", false},
        {{S::No_Solicitada, "40 48 00 00", 0},
         "identification 0x48 = Ref. 6746; dropped: no editor open",
         false},
        {{S::No_Solicitada, "7F 00 00 00", 0},
         "frame not known to the program; dropped: no editor open",
         false},
    };
    for (const auto& [caso, significado, problema] : tabla) {
        SCOPED_TRACE(caso.bytes);
        const TFila_Linea f = Fila(caso);
        EXPECT_EQ(Significado(f, textos).toStdString(), significado);
        EXPECT_TRUE(Del_Decoder(f));
        EXPECT_EQ(Es_Problema(f), problema);
    }
}

class MonitorOnTheLine : public EditorTest {
protected:
    // The monitor's rows as "bytes | meaning", the rows it has now.
    QStringList Rows() const {
        TF_Monitor* monitor = Ventanas().F_Monitor;
        monitor->Monitor().Vuelca();
        const TFilas_Monitor& filas = monitor->Monitor().Filas();
        QStringList out;
        for (int r = 0; r < filas.rowCount(); ++r) {
            const QStringList c = filas.Textos(r);
            out << c[int(TColumna::Bytes)] + QStringLiteral(" | ") + c[int(TColumna::Significado)];
        }
        return out;
    }
    void Forget() { Ventanas().F_Monitor->Monitor().Filas().Vacia(); }
};

const char* Installation = R"(
[hall]
model = 6745
serves = 0025
codes = 1234 1235 - 0007
)";

TEST_F(MonitorOnTheLine, ReadOutSaveTimeOutsAndClose) {
    Start(Installation);
    Forget();
    sim->PressButton("hall"); // no editor open yet
    ASSERT_TRUE(WaitUntil([&] { return !Rows().isEmpty(); }));
    EXPECT_EQ(Rows().first().toStdString(), "00 00 34 12 | data frame; dropped: no editor open");

    TF_Decoder* editor = Go(6745);
    Forget();
    ReadOut("hall");
    ASSERT_TRUE(WaitUntil([&] { return Rows().size() >= 10; }));
    const QStringList readOut = Rows();
    EXPECT_TRUE(readOut.contains("20 00 34 12 | acknowledgement of a data frame"))
        << readOut.join('\n').toStdString();
    EXPECT_TRUE(readOut.filter("data frame 1 of 4 for the 6745 editor").size() == 1);
    EXPECT_TRUE(readOut.filter("data frame 4 of 4 for the 6745 editor").size() == 1);
    EXPECT_TRUE(readOut.filter("identification 0x44 = Ref. 6745").size() == 1);

    Forget();
    sim->SetFault({kalvex::sim::FaultKind::Silent, sim->FindDecoder("hall"), 0x02, -1});
    sim->SetFault({kalvex::sim::FaultKind::WrongStatus, sim->FindDecoder("hall"), 0x04, -1});
    Save(editor);
    ASSERT_TRUE(WaitDialog("F_Mensa01"));
    const QStringList save = Rows();
    const QString all = save.join('\n');
    EXPECT_TRUE(save.contains("B0 00 34 12 | write output 1: code 1234")) << all.toStdString();
    EXPECT_TRUE(save.contains("20 00 34 12 | acknowledged")) << all.toStdString();
    EXPECT_TRUE(save.contains("B0 02 35 12 | write output 2: code 1235 (attempt 3 of 3)"));
    for (int attempt = 1; attempt <= 3; ++attempt)
        EXPECT_EQ(
            save.filter(QStringLiteral("no reply within 250 ms (attempt %1 of 3)").arg(attempt))
                .size(),
            1)
            << all.toStdString();
    EXPECT_EQ(save.filter("status 0x30: not accepted").size(), 1) << all.toStdString();
    sim->ClearFaults();

    Forget();
    Close(editor);
    ASSERT_TRUE(WaitUntil([&] { return Rows().size() >= 2; }));
    EXPECT_EQ(Rows().mid(0, 2),
              QStringList({"50 20 FF 9F | closing frame 6713/6721/6722/6734/6745/6746/6747",
                           "50 20 FF 9F | closing frame 6713/6721/6722/6734/6745/6746/6747 "
                           "(attempt 2 of 2)"}));
}

} // namespace
