// A decoder that sends its configuration while no editor is open: nothing goes on the line,
// the main window offers the editor of the model that sent it (each model that identifies
// itself alike), and the offer's button opens that editor as Go! would.

#include "../models/editor_fixture.h"

#include <QLabel>
#include <QToolButton>

using namespace kalvex::test;

namespace {

const char* Installation = R"(
[tower]
model = 6746
codes = 0301 0302 0303 0304 0305 0306 0307 0308

[hall]
model = 6745
codes = 0031 0032 - -
)";

class OfferTest : public EditorTest {
protected:
    void SetUp() override { Start(Installation); }

    QFrame* Offer() const { return main->findChild<QFrame*>(QStringLiteral("Oferta")); }
    QString OfferText() const {
        return main->findChild<QLabel*>(QStringLiteral("Oferta_Texto"))->text();
    }
    // The offered editors' buttons, in the strip's order, by the reference they open.
    QStringList Offered() const {
        QStringList out;
        for (QPushButton* b : Offer()->findChildren<QPushButton*>()) {
            EXPECT_FALSE(b->accessibleName().isEmpty()) << b->objectName().toStdString();
            out << b->objectName().mid(QStringLiteral("Oferta_").size());
        }
        return out;
    }
    static bool NoEditorOpen() {
        for (const TModelo& m : Tabla_Modelos())
            if (Editor_Modelo(m)->isVisible())
                return false;
        return true;
    }
};

TEST_F(OfferTest, AnIdentificationWithNoEditorOpenOffersTheModelsThatSendIt) {
    ASSERT_NE(Offer(), nullptr);
    EXPECT_FALSE(Offer()->isVisible());
    EXPECT_FALSE(Offer()->accessibleName().isEmpty());
    EXPECT_FALSE(
        main->findChild<QToolButton*>(QStringLiteral("Oferta_Cerrar"))->accessibleName().isEmpty());
    main->show();
    QApplication::processEvents();
    const QSize size = main->size();

    const struct {
        const char* decoder; // null: the frame below, straight from the link
        Trama_Dec raw;
        QStringList offered; // in the order of the re-programming choice
        const char* text;
        const char* open; // the reference whose editor is opened; null: none
    } cases[] = {
        {"tower", {}, {"6746"}, "A 6746 - Audio Decoder 8 sent its configuration", nullptr},
        // A new offer replaces the one shown; the shared byte offers the three.
        {"hall", {}, {"6745", "6713", "6734"}, "one of the models 6745, 6713, 6734", "6745"},
        {"tower", {}, {"6746"}, "A 6746 - Audio Decoder 8 sent its configuration", "6746"},
        // The digitizer announces itself instead; a value alone names no model.
        {nullptr, {0x51, 0x00, 0x00, 0x12}, {"6775"}, "A 6775 - ", nullptr},
        {nullptr,
         {0x00, 0x00, 0x01, 0x03},
         {},
         "Choose its model in the list and press Go!",
         nullptr},
        {nullptr,
         {0x40, 0x77, 0xFF, 0xFF},
         {},
         "its identification (0x77) is none of the models",
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decoder ? c.decoder : c.text);
        ASSERT_TRUE(NoEditorOpen());
        ASSERT_EQ(Enrutado().Modelo_Activo, 0);
        sim->ClearLog();
        if (c.decoder)
            sim->SendIdentification(c.decoder);
        else
            main->Decod1->OnDECRecibedNotDemand(main->Decod1, c.raw);
        ASSERT_TRUE(WaitUntil([&] { return OfferText().contains(QString::fromUtf8(c.text)); }))
            << OfferText().toStdString();
        EXPECT_TRUE(Offer()->isVisible());
        EXPECT_EQ(Offered(), c.offered);
        // No acknowledgement, no other frame: the decoder was not listened to.
        QTest::qWait(300);
        EXPECT_TRUE(Sent().empty()) << Trace();
        EXPECT_EQ(Enrutado().Modelo_Activo, 0);
        // Tab reaches each offered editor after Go! and Close, then the strip's close button.
        QStringList chain;
        for (QWidget* w = main->findChild<QWidget*>(QStringLiteral("B_Close"))->nextInFocusChain();
             w->objectName() != "C1"; w = w->nextInFocusChain())
            if (w->isVisibleTo(main) && (w->focusPolicy() & Qt::TabFocus))
                chain << w->objectName();
        QStringList buttons;
        for (const QString& r : c.offered)
            buttons << "Oferta_" + r;
        EXPECT_EQ(chain, buttons + QStringList{"Oferta_Cerrar"});
        if (!c.open)
            continue;

        // From the keyboard: the button takes the focus and Space presses it.
        auto* button = Offer()->findChild<QPushButton*>(QStringLiteral("Oferta_") + c.open);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        const TModelo* modelo = Modelo_Por_Referencia(QString::fromLatin1(c.open).toInt());
        TF_Decoder* editor = Editor_Modelo(*modelo);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(Enrutado().Modelo_Activo, modelo->Codigo);
        EXPECT_TRUE(editor->Label14->text().startsWith(QString::fromLatin1(c.open) + " - "));
        EXPECT_FALSE(Offer()->isVisible()) << "an editor that opens clears the offer";
        // The button pressed again: the read-out now reaches the editor.
        Ready(editor, c.decoder);
        EXPECT_EQ(Edit(editor, 1)->text(), c.decoder == std::string("tower") ? "0301" : "0031");
        Close(editor);
        Enrutado().Lectura.Reinicia();
    }
    // The close button dismisses the neutral text too.
    QTest::mouseClick(main->findChild<QToolButton*>(QStringLiteral("Oferta_Cerrar")),
                      Qt::LeftButton);
    EXPECT_FALSE(Offer()->isVisible());
    EXPECT_EQ(main->size(), size) << "the window is its own size again";
}

TEST_F(OfferTest, GoClearsTheOffer) {
    main->show();
    sim->SendIdentification("tower");
    ASSERT_TRUE(WaitUntil([&] { return Offer()->isVisible(); }));
    Close(Go(6745));
    EXPECT_FALSE(Offer()->isVisible());
}

} // namespace
