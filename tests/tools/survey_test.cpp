// The survey against a simulated installation: its frames on the line for one decoder of each
// family, what the installation record is told (the same configuration the model's editor
// gives after the same read-out), decoders that answer the query but give no read-out, the
// byte three models share, codes served by a decoder already read, and taking a survey up
// again after Stop.

#include "../models/editor_fixture.h"
#include "Configuracion.h"
#include "Estado_Linea.h"
#include "Ficheros.h"
#include "RecordSpy.h"
#include "Sondeo.h"
#include "UF_Reprogram.h"
#include "UF_Sondeo.h"
#include "UF_Test.h"
#include "Ventanas.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace kalvex::test;

namespace {

// The simulated installation every test here surveys.
std::string Installation() {
    return Lee_Bytes(Carpeta_Fuentes() + "/sim/installations/survey.ini").toStdString();
}

struct Case {
    const char* decoder;
    int referencia;
    TRango_Sondeo rango;
    std::vector<std::string> frames; // what the program writes, in order
};

// Query, the request twice, one acknowledgement per frame, the reads of the outputs with a
// code (sensors, relays), the closing frame twice.
const Case Cases[] = {
    {"call",
     6746,
     {TTipo_Codigo::Audio, 301, 301},
     {"70 01 01 03", "50 10 01 03", "50 10 01 03", "20 00 01 03", "20 00 02 03", "20 00 03 03",
      "20 00 04 03", "20 00 05 03", "20 00 06 03", "20 00 07 03", "20 00 08 03", "20 40 FF FF",
      "50 20 FF 9F", "50 20 FF 9F"}},
    {"panel",
     6763,
     {TTipo_Codigo::D, 101, 101},
     {"70 01 01 D1", "50 10 01 D1", "50 10 01 D1", "20 00 01 D1", "20 00 02 D1", "20 00 FF FF",
      "20 00 FF FF", "20 40 FF FF", "50 20 FF DF", "50 20 FF DF"}},
    {"sensors",
     6758,
     {TTipo_Codigo::A, 101, 101},
     {"70 01 01 A1", "50 10 01 A1", "50 10 01 A1", "20 00 01 A1", "20 00 02 A1", "20 00 FF FF",
      "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 40 FF FF",
      "60 20 01 A1", "60 22 02 A1", "50 20 FF AF", "50 20 FF AF"}},
    {"relays",
     6759,
     {TTipo_Codigo::B, 201, 201},
     {"70 01 01 B2", "50 10 01 B2", "50 10 01 B2", "20 00 01 B2", "20 00 02 B2", "20 00 FF FF",
      "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 40 FF FF",
      "60 20 01 B2", "60 21 01 B2", "60 22 02 B2", "60 23 02 B2", "50 20 FF BF", "50 20 FF BF"}},
    {"range",
     6734,
     {TTipo_Codigo::Audio, 700, 700},
     {"70 01 00 07", "50 10 00 07", "50 10 00 07", "20 00 00 07", "20 00 99 07", "20 00 FF FF",
      "20 00 FF FF", "20 40 FF FF", "50 20 FF 9F", "50 20 FF 9F"}},
    {"converter",
     6786,
     {TTipo_Codigo::Audio, 1234, 1234},
     {"70 01 34 12", "50 10 34 12", "50 10 34 12", "20 00 34 12", "20 40 FF FF", "50 20 FF FF",
      "50 20 FF FF"}},
};

// A phrase part by part, so that a key and the same words as a literal differ.
QString Partes(const TFrase& frase) {
    QString texto;
    for (const TParte_Frase& p : frase.Partes())
        texto += p.Clave.isEmpty() ? "'" + p.Literal + "'"
                                   : p.Clave + "(" + p.Argumentos.join(',') + ")";
    return texto;
}

std::string Texto(const TConfiguracion& c) {
    std::string out = std::to_string(c.Referencia) + (c.Vacia ? " empty\n" : "\n");
    for (const TValor_Registro& v : c.Valores)
        out += (v.Campo + " | " + Partes(v.Lugar) + " | " + Partes(v.Texto) + "\n").toStdString();
    for (const TCodigo_Registro& k : c.Codigos)
        out += (QStringLiteral("%1 %2-%3 ").arg(int(k.Espacio)).arg(k.Desde).arg(k.Hasta) +
                k.Texto + " | " + Partes(k.Lugar) + "\n")
                   .toStdString();
    return out;
}

class SurveyTest : public EditorTest {
protected:
    // The program's start installs its own record; the spy takes its place.
    void Begin(const std::string& installation) {
        Start(installation);
        Instala_Registro(&espia);
    }
    void TearDown() override {
        Instala_Registro(nullptr);
        EditorTest::TearDown();
    }
    // Waits until the frames written without a reply (the closing frames) are on the log.
    std::vector<std::string> SentAfter(size_t count) {
        EXPECT_TRUE(sim->WaitForFrames(kalvex::sim::Direction::FromProgram, count,
                                       std::chrono::milliseconds(2000)));
        return Sent();
    }

    // The record knows the range decoders of the installation as 6734s, which their
    // identification byte alone does not tell.
    void KnowsRanges() {
        espia.modelos_codigo = [](const TCodigo_Registro& c) {
            return c.Espacio == TEspacio_Codigo::Rango_6734 ? QList<int>{6734} : QList<int>{};
        };
    }
    size_t SentCount(const std::string& frame) const {
        const auto sent = Sent();
        return size_t(std::count(sent.begin(), sent.end(), frame));
    }

    RecordSpy espia;
};

TEST_F(SurveyTest, EachFamilysFramesByteForByteAndWhatTheRecordIsTold) {
    Begin(Installation());
    KnowsRanges();
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.decoder);
        sim->ClearLog();
        espia.sondeos.clear();
        TSondeo sondeo;
        sondeo.Empieza({c.rango}, TRitmo_Sondeo::Minucioso);
        EXPECT_EQ(SentAfter(c.frames.size()), c.frames) << Trace();
        EXPECT_FALSE(sim->InProgramming(sim->FindDecoder(c.decoder)));
        ASSERT_EQ(espia.sondeos.size(), 1);
        EXPECT_EQ(espia.sondeos[0].Leida.Referencia, c.referencia);
        EXPECT_EQ(espia.sondeos[0].Puerto, Sys_Port);
        EXPECT_TRUE(espia.sondeos[0].Posibles.isEmpty());
        EXPECT_TRUE(espia.problemas.isEmpty());
        // Ended whole: nothing left to resume.
        EXPECT_TRUE(espia.avance.isEmpty());
        EXPECT_FALSE(sondeo.Activo());
    }
}

// The configuration the survey gives the record is the one the model's editor gives after a
// read-out of the same decoder, value for value (an empty decoder and a range decoder without
// a range included).
TEST_F(SurveyTest, TheRecordGetsWhatTheEditorWouldRecord) {
    Begin(Installation());
    KnowsRanges();
    struct Pareja {
        const char* decoder;
        TRango_Sondeo rango;
    };
    const Pareja parejas[] = {
        {"call", {TTipo_Codigo::Audio, 301, 301}},
        {"panel", {TTipo_Codigo::D, 101, 101}},
        {"sensors", {TTipo_Codigo::A, 101, 101}},
        {"relays", {TTipo_Codigo::B, 201, 201}},
        {"range", {TTipo_Codigo::Audio, 700, 700}},
        {"converter", {TTipo_Codigo::Audio, 1234, 1234}},
        {"empty", {TTipo_Codigo::Audio, 900, 900}},
        {"norange", {TTipo_Codigo::Audio, 950, 950}},
    };
    for (const Pareja& p : parejas) {
        SCOPED_TRACE(p.decoder);
        const int referencia = sim->DecoderModel(sim->FindDecoder(p.decoder));
        espia.lecturas.clear();
        espia.sondeos.clear();
        TF_Decoder* editor = Go(referencia);
        ReadOut(p.decoder);
        ASSERT_TRUE(WaitUntil([&] { return !espia.lecturas.isEmpty(); }));
        Close(editor);
        TSondeo sondeo;
        sondeo.Empieza({p.rango}, TRitmo_Sondeo::Rapido);
        // Its closing frames, written without a reply, have reached the decoder before the
        // next one's button is pressed.
        ASSERT_TRUE(WaitUntil([&] { return !sim->InProgramming(sim->FindDecoder(p.decoder)); }));
        ASSERT_EQ(espia.sondeos.size(), 1);
        EXPECT_EQ(Texto(espia.sondeos[0].Leida), Texto(espia.lecturas.last()));
    }
}

TEST_F(SurveyTest, DecodersThatGiveNoReadOutAreProblemsAndNothingHalfIsRecorded) {
    Begin(Installation());
    TSondeo sondeo;
    sondeo.Empieza({{TTipo_Codigo::Audio, 100, 107}}, TRitmo_Sondeo::Minucioso);

    QStringList problemas;
    for (const TProblema_Sondeo& p : espia.problemas)
        problemas << p.Codigo + QLatin1Char(' ') + QString::number(int(p.Fallo));
    EXPECT_EQ(problemas, (QStringList{"0103 0", "0104 0", "0105 1"}));
    // The shared byte: four data frames fit all three models, and the record knows none of
    // them here.
    ASSERT_EQ(espia.sondeos.size(), 2) << Trace();
    EXPECT_EQ(espia.sondeos[0].Leida.Referencia, 0);
    EXPECT_EQ(espia.sondeos[0].Posibles, (QList<int>{6713, 6734, 6745}));
    EXPECT_TRUE(espia.sondeos[0].Leida.Codigos.isEmpty());
    // The noisy one answered its second attempt.
    EXPECT_EQ(espia.sondeos[1].Leida.Referencia, 6747);
    // 0101 and 0102 are in the first decoder's read-out: not queried, served by it.
    EXPECT_EQ(SentCount("70 01 01 01"), 0u);
    EXPECT_EQ(SentCount("70 01 02 01"), 0u);
    EXPECT_EQ(sondeo.Servidos(), 2);
    EXPECT_EQ(sondeo.Problemas(), 3);
    EXPECT_EQ(sondeo.Silenciosos(), 1); // 0107
    // Every decoder asked for a read-out was closed, the one in programming mode included.
    EXPECT_EQ(SentCount("50 20 FF 9F"), 2u * 5);
    for (const char* d : {"first", "ignores", "mute", "halfway", "noisy"})
        EXPECT_FALSE(sim->InProgramming(sim->FindDecoder(d))) << d;
}

TEST_F(SurveyTest, TheRecordSettlesTheSharedByteAndAQuickSurveyTriesSilentCodesAgain) {
    Begin(Installation());
    espia.modelos_codigo = [](const TCodigo_Registro& c) {
        return c.Desde == 0x100 && c.Espacio == TEspacio_Codigo::Llamada ? QList<int>{6713}
                                                                         : QList<int>{};
    };
    TSondeo sondeo;
    sondeo.Empieza({{TTipo_Codigo::Audio, 100, 100}, {TTipo_Codigo::Audio, 106, 106}},
                   TRitmo_Sondeo::Rapido);
    ASSERT_EQ(espia.sondeos.size(), 1);
    EXPECT_EQ(espia.sondeos[0].Leida.Referencia, 6713);
    EXPECT_TRUE(espia.sondeos[0].Posibles.isEmpty());
    // One attempt: the noisy decoder's garbled answer leaves its code silent...
    EXPECT_EQ(SentCount("70 01 06 01"), 1u);
    EXPECT_EQ(sondeo.Silenciosos(), 1);
    // ... until the silent codes are tried again with the other two attempts.
    sondeo.Repite_Silenciosos();
    EXPECT_EQ(SentCount("70 01 06 01"), 2u);
    ASSERT_EQ(espia.sondeos.size(), 2);
    EXPECT_EQ(espia.sondeos[1].Leida.Referencia, 6747);
    EXPECT_EQ(sondeo.Silenciosos(), 0);
}

TEST_F(SurveyTest, StoppedItIsTakenUpAgainWhereItStopped) {
    Begin(Installation());
    const QList<TRango_Sondeo> rangos{{TTipo_Codigo::Audio, 298, 303}};
    {
        TSondeo sondeo;
        // Stop while the third code (0300, silent) waits for its reply.
        During stop([&] { return sondeo.Hechos() == 2; }, [&] { sondeo.Para(); });
        sondeo.Empieza(rangos, TRitmo_Sondeo::Minucioso);
        EXPECT_EQ(sondeo.Hechos(), 2);
        EXPECT_FALSE(sondeo.Activo());
        EXPECT_FALSE(espia.avance.isEmpty());
        // The code under way was stopped between its attempts.
        EXPECT_LT(SentCount("70 01 00 03"), 3u);
    }
    sim->ClearLog();
    TSondeo otra;
    ASSERT_TRUE(otra.Reanuda());
    // From 0300 on: the codes done are not queried again.
    EXPECT_EQ(Sent().front(), "70 01 00 03");
    EXPECT_EQ(SentCount("70 01 98 02"), 0u);
    EXPECT_EQ(otra.Hechos(), 6);
    EXPECT_EQ(otra.Decoders(), 1);
    EXPECT_EQ(otra.Servidos(), 2); // 0302 and 0303, in the read-out of 0301
    EXPECT_TRUE(espia.avance.isEmpty());
    EXPECT_FALSE(TSondeo().Reanuda());
}

// Go!, the devices test's Start and re-programming's Find meanwhile say why they wait, and
// send nothing between the survey's frames.
TEST_F(SurveyTest, WhileItRunsNoEditorOpensAndNothingElseUsesTheLine) {
    Begin(Installation());
    TSondeo sondeo;
    bool abierto = true;
    auto pulsa = [](QWidget* ventana, const char* boton) {
        ventana->show();
        ventana->findChild<QPushButton*>(QString::fromLatin1(boton))->click();
    };
    During intento(
        [&] { return sondeo.Activo(); },
        [&] {
            abierto = Abre_Editor(*Modelo_Por_Referencia(6746)) != nullptr;
            auto* lista = main->findChild<QComboBox*>(QStringLiteral("C1"));
            lista->setCurrentIndex(lista->findText(QStringLiteral("6746"), Qt::MatchStartsWith));
            pulsa(main, "B_Go");
            pulsa(Ventanas().F_Test, "B_START");
            Ventanas().F_Reprogram->show();
            Ventanas().F_Reprogram->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText("0301");
            pulsa(Ventanas().F_Reprogram, "B_Find");
        });
    sondeo.Empieza({{TTipo_Codigo::Audio, 300, 301}}, TRitmo_Sondeo::Minucioso);
    EXPECT_FALSE(abierto);
    EXPECT_FALSE(Enrutado().Sondeo);
    EXPECT_EQ(Enrutado().Modelo_Activo, 0);
    ASSERT_EQ(dialogs->Dialogs().size(), 3U);
    for (const auto& caja : dialogs->Dialogs()) {
        EXPECT_EQ(caja.name, "Sondeo_En_Curso");
        EXPECT_TRUE(caja.text.startsWith("A survey of the installation is under way"));
    }
    // 0301 answers the survey's one query; Find would have asked it again.
    EXPECT_EQ(SentCount("70 01 01 03"), 1U);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<TF_Decoder*>(w) && w->isVisible());
}

// A range the window cannot survey is refused before any frame, with the field named and
// the focus in it.
TEST_F(SurveyTest, TheWindowRefusesARangeNamingTheField) {
    Begin(Installation());
    TF_Sondeo* ventana = Ventanas().F_Sondeo;
    ventana->show();
    struct Rechazo {
        int tipo; // 1 audio … 4 relays; 0: none chosen
        QString desde, hasta;
        const char* campo;
        QString mensaje;
    };
    const Rechazo casos[] = {
        {1, "0200", "0100", "Edit_Hasta1", "Audio, to: 0100 is below the start 0200."},
        {2, "100", "1000", "Edit_Hasta2",
         "Panels decoder, to: 1000 is out of range for this type (999 at most)."},
        {1, "10000", "", "Edit_Desde1",
         "Audio, from: 10000 is out of range for this type (9999 at most)."},
        {3, "1 2", "5", "Edit_Desde3", "Sensors, from: \"1 2\" is not a number."},
        {4, "", "", "Edit_Hasta4", "Relays, to: \"\" is not a number."},
        {0, "", "", nullptr, "Choose at least one device type and type its range."},
    };
    for (const Rechazo& c : casos) {
        SCOPED_TRACE(c.mensaje.toStdString());
        sim->ClearLog();
        for (int t = 1; t <= 4; ++t) {
            ventana->findChild<QCheckBox*>(QStringLiteral("CB_Tipo%1").arg(t))
                ->setChecked(t == c.tipo);
            ventana->findChild<QLineEdit*>(QStringLiteral("Edit_Desde%1").arg(t))
                ->setText(t == c.tipo ? c.desde : QString());
            ventana->findChild<QLineEdit*>(QStringLiteral("Edit_Hasta%1").arg(t))
                ->setText(t == c.tipo ? c.hasta : QString());
        }
        QTest::mouseClick(Button(ventana, "B_Start"), Qt::LeftButton);
        EXPECT_EQ(LastMessage(), c.mensaje);
        if (c.campo) {
            EXPECT_EQ(ventana->focusWidget()->objectName(), c.campo);
        }
        EXPECT_TRUE(Sent().empty());
    }
}

TEST_F(SurveyTest, TheWindowOffersTheKnownRangesRunsAndSummarises) {
    Begin(Installation());
    espia.conocidos = {{TEspacio_Codigo::Llamada, 0x301, 0x301, "0301", {}},
                       {TEspacio_Codigo::Llamada, 0x1234, 0x1234, "1234", {}},
                       {TEspacio_Codigo::Panel, 0x101, 0x101, "101", {}}};
    TF_Sondeo* ventana = Ventanas().F_Sondeo;
    ventana->show();
    auto campo = [&](const char* nombre) {
        return ventana->findChild<QLineEdit*>(QString::fromLatin1(nombre))->text();
    };
    EXPECT_EQ(QStringList({campo("Edit_Desde1"), campo("Edit_Hasta1"), campo("Edit_Desde2"),
                           campo("Edit_Hasta2"), campo("Edit_Desde3")}),
              QStringList({"0300", "1299", "100", "199", ""}));
    EXPECT_FALSE(ventana->findChild<QCheckBox*>(QStringLiteral("CB_Tipo3"))->isChecked());

    ventana->findChild<QCheckBox*>(QStringLiteral("CB_Tipo2"))->setChecked(false);
    ventana->findChild<QLineEdit*>(QStringLiteral("Edit_Desde1"))->setText("0301");
    ventana->findChild<QLineEdit*>(QStringLiteral("Edit_Hasta1"))->setText("0303");
    ventana->findChild<QRadioButton*>(QStringLiteral("R_Rapido"))->setChecked(true);
    QTest::mouseClick(Button(ventana, "B_Start"), Qt::LeftButton);
    EXPECT_EQ(ventana->findChild<QLabel*>(QStringLiteral("Label_Progreso"))->text(),
              "3 of 3 codes surveyed: 1 decoder found (6746: 1); 2 codes served; "
              "0 problems; 0 silent; 0 clashes");
    EXPECT_TRUE(Button(ventana, "B_Export")->isEnabled());
    EXPECT_FALSE(Button(ventana, "B_Stop")->isEnabled());

    QTemporaryDir carpeta;
    const QString fichero = carpeta.filePath("survey.csv");
    ASSERT_TRUE(ventana->Exporta(fichero));
    EXPECT_EQ(QString::fromUtf8(Lee_Bytes(fichero)),
              QString::fromUtf8("\xEF\xBB\xBF") +
                  "Code,Result\r\n0301,read: 6746\r\n0302,served by the decoder read at 0301\r\n"
                  "0303,served by the decoder read at 0301\r\n");
}

// Closing the window while a decoder is in programming mode lets the survey end with that
// code: the decoder that stopped halfway gets its closing frame and the record its problem;
// then the window goes. A port that goes away pauses the survey before the code it could not
// finish, and it goes on from that code once the port is back.
TEST_F(SurveyTest, ClosedOrPausedMidwayItEndsCleanlyOrGoesOnFromTheSameCode) {
    Begin(Installation());
    TF_Sondeo* ventana = Ventanas().F_Sondeo;
    ventana->show();
    for (int t = 1; t <= 4; ++t)
        ventana->findChild<QCheckBox*>(QStringLiteral("CB_Tipo%1").arg(t))->setChecked(t == 1);
    ventana->findChild<QLineEdit*>(QStringLiteral("Edit_Desde1"))->setText("0105");
    ventana->findChild<QLineEdit*>(QStringLiteral("Edit_Hasta1"))->setText("0107");
    {
        // The halfway decoder's read-out has stopped: the survey waits for its next frame.
        During cierra([&] { return SentCount("20 00 05 01") == 1; }, [&] { ventana->close(); });
        QTest::mouseClick(Button(ventana, "B_Start"), Qt::LeftButton);
    }
    EXPECT_FALSE(ventana->isVisible());
    EXPECT_FALSE(ventana->En_Curso());
    EXPECT_TRUE(WaitUntil([&] { return !sim->InProgramming(sim->FindDecoder("halfway")); }));
    EXPECT_EQ(Sent().back(), "50 20 FF 9F") << Trace();
    ASSERT_EQ(espia.problemas.size(), 1);
    EXPECT_EQ(espia.problemas[0].Fallo, TFallo_Sondeo::Incompleta);
    EXPECT_EQ(SentCount("70 01 06 01"), 0u);

    // Taken up again from 0106, the port goes away while 0107 waits for its reply: the survey
    // pauses, and goes on by itself from 0107 once the port is back.
    ventana->show();
    sim->ClearLog();
    {
        During corta([&] { return SentCount("70 01 07 01") == 1; },
                     [&] {
                         Anota_Estado_Linea({false, QStringLiteral("gone")});
                     });
        QTest::mouseClick(Button(ventana, "B_Resume"), Qt::LeftButton);
    }
    EXPECT_TRUE(ventana->En_Curso());
    EXPECT_EQ(SentCount("70 01 07 01"), 3u) << Trace();
    Anota_Estado_Linea({true, QStringLiteral("back")});
    ASSERT_TRUE(WaitUntil([&] { return !ventana->En_Curso(); }));
    EXPECT_EQ(SentCount("70 01 07 01"), 6u) << Trace();
    EXPECT_EQ(espia.sondeos.size(), 1); // the noisy 6747 at 0106, once
    EXPECT_TRUE(espia.avance.isEmpty());
}

} // namespace
