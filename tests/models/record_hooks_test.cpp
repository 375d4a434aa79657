// What the editors tell the installation record: a completed read-out with every value and
// code, the New codes asked about before anything is sent (the user's answer decides whether
// the Save goes on), and the Save with each value's acknowledgement.

#include "RecordSpy.h"
#include "editor_fixture.h"

#include <QMessageBox>

using namespace kalvex::test;
using kalvex::sim::Fault;
using kalvex::sim::FaultKind;

namespace {

const char* Installation = R"(
[hall]
model = 6745
codes = 1111 1112 - 1114

[eight]
model = 6746
codes = 1001 1002 1003 1004 1005 1006 1007 1008

[torvik]
model = 6734
start = 0100
end = 0150
entrance = no

[converter]
model = 6786
address = 0001
)";

enum { Hall, Eight, Torvik, Converter };

QStringList Textos(const TConfiguracion& c) {
    QStringList out;
    for (const TValor_Registro& v : c.Valores)
        out << Redacta(v.Texto);
    return out;
}

QList<qint64> Desdes(const TConfiguracion& c) {
    QList<qint64> out;
    for (const TCodigo_Registro& k : c.Codigos)
        out << k.Desde;
    return out;
}

class RecordHooksTest : public EditorTest {
protected:
    void SetUp() override {
        Start(Installation);
        Instala_Registro(&espia);
    }
    void TearDown() override {
        Instala_Registro(nullptr);
        EditorTest::TearDown();
    }
    QMessageBox* ClashBox(QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        return box && box->objectName() == QLatin1String("Choques") ? box : nullptr;
    }

    RecordSpy espia;
};

TEST_F(RecordHooksTest, AWholeReadOutIsRecordedOnceWithItsValuesCodesAndPort) {
    TF_Decoder* editor = Ready(Go(6745), "hall");
    // Recorded once the reads that follow the identification frame are done.
    ASSERT_TRUE(WaitUntil([&] { return espia.lecturas.size() == 1; }));
    const TConfiguracion& leida = espia.lecturas[0];
    EXPECT_EQ(leida.Referencia, 6745);
    EXPECT_FALSE(leida.Vacia);
    EXPECT_EQ(Textos(leida), (QStringList{"1111", "1112", "", "1114"}));
    // Keyed by the Current controls, placed as the user reads them.
    EXPECT_EQ(leida.Valores[0].Campo, "Edit5");
    EXPECT_EQ(Redacta(leida.Valores[1].Lugar), "Output 2");
    // An output without a code answers none.
    EXPECT_EQ(Desdes(leida), (QList<qint64>{0x1111, 0x1112, 0x1114}));
    EXPECT_EQ(Redacta(leida.Codigos[2].Lugar), "Output 4");
    EXPECT_EQ(espia.puerto, config.filePath(QStringLiteral("tty")));
    Close(editor);
    EXPECT_EQ(espia.cerrados, QList<int>{6745});
}

TEST_F(RecordHooksTest, SaveAsksAboutTheNewCodesAndCancelSendsNothing) {
    TF_Decoder* editor = Ready(Go(6745), "hall");
    espia.choques = {"1234 — Output 2 of the 6746 'Entrance A', read 10:32"};
    QString shown;
    inspect = [&](QWidget* w) {
        if (QMessageBox* box = ClashBox(w))
            shown = box->informativeText();
    };
    Type(editor, {"1234", "12", "", "7"});
    Save(editor);
    ASSERT_EQ(espia.preguntas.size(), 1);
    // Asked with the codes as typed; "12" and "0012" are one code.
    EXPECT_EQ(Desdes(espia.preguntas[0]), (QList<qint64>{0x1234, 0x12, 0x7}));
    EXPECT_EQ(shown, espia.choques[0]);
    EXPECT_TRUE(Sent().empty()) << Trace();
    EXPECT_TRUE(espia.grabaciones.isEmpty());
    ExpectRestored(editor);
}

TEST_F(RecordHooksTest, SaveAnywayWritesAndRecordsEachAcknowledgement) {
    TF_Decoder* editor = Ready(Go(6745), "hall");
    espia.choques = {"1234 — clash"};
    inspect = [&](QWidget* w) {
        if (QMessageBox* box = ClashBox(w))
            box->buttons().first()->click(); // "Save anyway"
    };
    // The second output's write goes unanswered.
    sim->SetFault(Fault{FaultKind::Silent, Hall, 0x02, -1});
    std::size_t enviados_al_empezar = 99;
    espia.al_empezar = [&] { enviados_al_empezar = Sent().size(); };
    Type(editor, {"1234", "5", "", ""});
    Save(editor);
    ASSERT_EQ(espia.grabaciones.size(), 1);
    const TGrabacion_Registro& g = espia.grabaciones[0];
    // What is about to be written is told before the first frame, for a Save cut short.
    ASSERT_EQ(espia.intenciones.size(), 1);
    EXPECT_EQ(Textos(espia.intenciones[0]), Textos(g.Nueva));
    EXPECT_EQ(enviados_al_empezar, 0u);
    EXPECT_EQ(Textos(g.Nueva), (QStringList{"1234", "0005", "", ""}));
    EXPECT_EQ(g.Aceptadas, (QList<bool>{true, false, true, true}));
    EXPECT_FALSE(g.Todo_Aceptado);
    EXPECT_EQ(Redacta(g.Resultado), "The values could not be saved");
    EXPECT_EQ(sim->Word(Hall, 0x00), 0x1234);
}

TEST_F(RecordHooksTest, ASaveWithoutClashesShowsNoQuestion) {
    TF_Decoder* editor = Ready(Go(6746), "eight");
    Save(editor);
    ASSERT_EQ(espia.grabaciones.size(), 1);
    EXPECT_TRUE(espia.grabaciones[0].Todo_Aceptado);
    EXPECT_EQ(Redacta(espia.grabaciones[0].Resultado), "Values updated");
    EXPECT_FALSE(dialogs->Saw(QStringLiteral("Choques")));
}

TEST_F(RecordHooksTest, TheTorvikRangeAndTheConverterAddressAreTheirOwnCodes) {
    Ready(Go(6734), "torvik");
    ASSERT_TRUE(WaitUntil([&] { return espia.lecturas.size() == 1; }));
    ASSERT_EQ(espia.lecturas[0].Codigos.size(), 1);
    const TCodigo_Registro& rango = espia.lecturas[0].Codigos[0];
    EXPECT_EQ(rango.Espacio, TEspacio_Codigo::Rango_6734);
    EXPECT_EQ(rango.Desde, 0x0100);
    EXPECT_EQ(rango.Hasta, 0x0150);
    EXPECT_EQ(rango.Texto, "0100–0150");

    TF_Decoder* converter = Ready(Go(6786), "converter");
    ASSERT_TRUE(WaitUntil([&] { return espia.lecturas.size() == 2; }));
    ASSERT_EQ(espia.lecturas[1].Codigos.size(), 1);
    EXPECT_EQ(espia.lecturas[1].Codigos[0].Espacio, TEspacio_Codigo::Direccion_6786);
    EXPECT_EQ(espia.lecturas[1].Codigos[0].Desde, 0x0001);
    Close(converter);
}

} // namespace
