// The message dialogs, the About box and the language window, driven as a user would.

#include "Configuracion.h"
#include "F_About.h"
#include "F_Language.h"
#include "F_Mensa.h"
#include "Ficheros.h"
#include "Idiomas.h"
#include "TIniFile.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

namespace {

QApplication& Aplicacion() {
    static int argc = 1;
    static char nombre[] = "ui_windows_test";
    static char* argv[] = {nombre, nullptr};
    // Never destroyed: tearing Qt down among the static destructors crashes at exit.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

class TextsVentanasTest : public ::testing::Test {
protected:
    void SetUp() override {
        Aplicacion();
        Sys_Port = "COM2";
    }
    void TearDown() override { Libera_Fichero_Idiomas(); }
    void Idiomas_Propios(const QByteArray& bytes) {
        Escribe_Bytes(carpeta_.Fichero("KALVEX_LANG.INI"), bytes);
        Abre_Fichero_Idiomas();
    }
    void Idiomas_Instalados(const QString& idioma) {
        Idioma = idioma;
        Abre_Fichero_Idiomas();
    }
    template <typename T> static T* Control(QWidget* ventana, const char* nombre) {
        T* control = ventana->findChild<T*>(nombre);
        EXPECT_NE(control, nullptr) << nombre;
        return control;
    }
    Carpeta_Temporal carpeta_;
};

struct Dialogo {
    std::function<QDialog*()> crea;
    QStringList claves;
};

TEST_F(TextsVentanasTest, DialogLinesComeFromTheLanguageFile) {
    Idiomas_Instalados("DEUTSCH");
    const Dialogo dialogos[] = {
        {[] { return new TF_Mensa00; }, {"F_MENSA00", "F_MENSA01"}},
        {[] { return new TF_Mensa01; }, {"F_MENSA04", "F_MENSA05"}},
        {[] { return new TF_Mensa02; }, {"F_MENSA13", "F_MENSA14"}},
        {[] { return new TF_Mensa03; }, {"F_MENSA15", "F_MENSA16", "F_MENSA17", "F_MENSA18"}},
        {[] { return new TF_Mensa04; },
         {"F_MENSA06", "F_MENSA07", "F_MENSA08", "F_MENSA09", "F_MENSA10", "F_MENSA11",
          "F_MENSA12"}},
        {[] { return new TF_Mensa05; }, {"F_MENSA19"}},
    };
    for (const Dialogo& d : dialogos) {
        std::unique_ptr<QDialog> ventana(d.crea());
        SCOPED_TRACE(ventana->objectName().toStdString());
        EXPECT_EQ(ventana->windowTitle(), "Kalvex 3.3");
        EXPECT_TRUE(ventana->windowFlags().testFlag(Qt::Tool));
        EXPECT_EQ(Control<QPushButton>(ventana.get(), "B_Close")->text(),
                  QStringLiteral("Schlie\u00DFen"));
        for (int n = 1; n <= d.claves.size(); ++n) {
            const QString nombre = QStringLiteral("Label%1").arg(n);
            EXPECT_EQ(Control<QLabel>(ventana.get(), qPrintable(nombre))->text(),
                      Texto(d.claves[n - 1]));
            EXPECT_NE(Texto(d.claves[n - 1]), TEXTO_AUSENTE);
        }
        EXPECT_EQ(ventana->findChild<QLabel*>(QStringLiteral("Label%1").arg(d.claves.size() + 1)),
                  nullptr);
    }
}

TEST_F(TextsVentanasTest, MissingKeyShowsTheMarker) {
    Idiomas_Propios("[TEST]\r\nF_MENSA13=Nothing stored\r\n");
    Idioma = "TEST";
    TF_Mensa02 ventana;
    EXPECT_EQ(Control<QLabel>(&ventana, "Label1")->text(), "Nothing stored");
    EXPECT_EQ(Control<QLabel>(&ventana, "Label2")->text(), TEXTO_AUSENTE);
    EXPECT_EQ(Control<QPushButton>(&ventana, "B_Close")->text(), TEXTO_AUSENTE);
}

// Clicks the named button of the modal dialog once it is up.
void Pulsa_Al_Aparecer(const char* boton) {
    QTimer::singleShot(0, [boton] {
        QDeadlineTimer plazo(5000);
        while (QApplication::activeModalWidget() == nullptr && !plazo.hasExpired()) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            QTest::mouseClick(modal->findChild<QPushButton*>(boton), Qt::LeftButton);
        }
    });
}

TEST_F(TextsVentanasTest, ShownModallyAndClosedByItsButton) {
    Idiomas_Instalados("ENGLISH");
    TF_Mensa05 ventana;
    Pulsa_Al_Aparecer("B_Close");
    EXPECT_EQ(ventana.exec(), QDialog::Accepted);
    EXPECT_FALSE(ventana.isVisible());
}

TEST_F(TextsVentanasTest, WrongDecoderListHoldsOnlyTheLastRow) {
    Idiomas_Instalados("ENGLISH");
    TF_Mensa00 ventana;
    EXPECT_FALSE(ventana.Lista->rootIsDecorated());
    EXPECT_EQ(ventana.Lista->objectName(), "Lista");
    EXPECT_EQ(ventana.Lista->headerItem()->text(0), "Selected decoder");
    EXPECT_EQ(ventana.Lista->headerItem()->text(1), "Real decoder");
    ventana.Pon_Decoders("6745", "Ref. 6758");
    ventana.Pon_Decoders("6758", QStringLiteral("\u00BF?"));
    ASSERT_EQ(ventana.Lista->topLevelItemCount(), 1);
    EXPECT_EQ(ventana.Lista->topLevelItem(0)->text(0), "Ref. 6758");
    EXPECT_EQ(ventana.Lista->topLevelItem(0)->text(1), QStringLiteral("\u00BF?"));
}

TEST_F(TextsVentanasTest, AboutBoxIsTheSameInEveryLanguage) {
    Idiomas_Propios("[ENGLISH]\r\n");
    Idioma = "NONE";
    TAboutBox caja;
    EXPECT_EQ(caja.windowTitle(), "Kalvex 3.3");
    EXPECT_TRUE(caja.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(Control<QLabel>(&caja, "Version")->text(), "3.3");
    EXPECT_EQ(Control<QLabel>(&caja, "ProductName")->text(), "Kalvex");
    EXPECT_FALSE(Control<QLabel>(&caja, "Image3")->pixmap().isNull()); // the JPEG photograph
    EXPECT_TRUE(Control<QLabel>(&caja, "Image2")->toolTip().contains("https://www.kalvex.example"));
    caja.show();
    EXPECT_FALSE(Control<QPushButton>(&caja, "Button2")->isVisible());
    EXPECT_TRUE(Control<QPushButton>(&caja, "BitBtn1")->isVisible());
    for (const QLabel* etiqueta : caja.findChildren<QLabel*>()) {
        EXPECT_FALSE(etiqueta->text().contains(TEXTO_AUSENTE))
            << etiqueta->objectName().toStdString();
    }
    QTest::mouseClick(Control<QPushButton>(&caja, "OKButton"), Qt::LeftButton);
    EXPECT_EQ(caja.result(), QDialog::Accepted);
}

class TextsLanguageWindowTest : public TextsVentanasTest {
protected:
    void SetUp() override {
        TextsVentanasTest::SetUp();
        Idiomas_Propios("[ENGLISH]\r\nGEN_MEN018=OK\r\n[DEUTSCH]\r\n[Espa\xF1ol]\r\n");
        Idioma = "ENGLISH";
        ventana_ = std::make_unique<TF_Lang>();
        ventana_->show();
        lista_ = Control<QTreeWidget>(ventana_.get(), "Lista");
    }
    QStringList Listados() const {
        QStringList nombres;
        for (int i = 0; i < lista_->topLevelItemCount(); ++i) {
            nombres << lista_->topLevelItem(i)->text(0);
        }
        return nombres;
    }
    void Elige(const QString& nombre) {
        lista_->setCurrentItem(lista_->findItems(nombre, Qt::MatchExactly).value(0));
    }
    void Pulsa(const char* boton) {
        QTest::mouseClick(Control<QPushButton>(ventana_.get(), boton), Qt::LeftButton);
    }
    QString Guardado() const {
        return TIniFile(carpeta_.Fichero("KALVEX.INI")).ReadString("General", "Idioma", "<none>");
    }
    std::unique_ptr<TF_Lang> ventana_;
    QTreeWidget* lista_ = nullptr;
};

TEST_F(TextsLanguageWindowTest, ListsTheSectionsInFileOrder) {
    EXPECT_EQ(Listados(), (QStringList{"ENGLISH", "DEUTSCH", QStringLiteral("Espa\u00F1ol")}));
    EXPECT_FALSE(lista_->topLevelItem(0)->icon(0).isNull());
    EXPECT_EQ(Control<QLabel>(ventana_.get(), "L_IDIOMA")->text(), "ENGLISH");
    EXPECT_FALSE(Control<QListWidget>(ventana_.get(), "ListBox1")->isVisible());
    EXPECT_EQ(Control<QPushButton>(ventana_.get(), "B_OK")->text(), "OK");
    EXPECT_EQ(ventana_->windowTitle(), "Select language");
}

TEST_F(TextsLanguageWindowTest, OkWithoutSelectionOrWithTheCurrentLanguageDoesNothing) {
    Pulsa("B_OK");
    EXPECT_TRUE(ventana_->isVisible());
    Elige("ENGLISH");
    Pulsa("B_OK");
    EXPECT_TRUE(ventana_->isVisible());
    EXPECT_EQ(ventana_->Tag, 0);
    EXPECT_FALSE(QFileInfo::exists(carpeta_.Fichero("KALVEX.INI")));
}

TEST_F(TextsLanguageWindowTest, ANewChoiceIsStoredAtOnce) {
    Elige("DEUTSCH");
    Pulsa("B_OK");
    EXPECT_FALSE(ventana_->isVisible());
    EXPECT_EQ(ventana_->Tag, 1);
    EXPECT_EQ(ventana_->property("Tag").toInt(), 1);
    EXPECT_EQ(Idioma, "DEUTSCH");
    EXPECT_EQ(Guardado(), "DEUTSCH");
    EXPECT_EQ(TIniFile(carpeta_.Fichero("KALVEX.INI")).ReadString("General", "Sys_Port", "-"),
              "COM2");
}

TEST_F(TextsLanguageWindowTest, NamesAreComparedExactly) {
    ventana_->hide();
    Idioma = "english"; // a settings file may name the language in another case
    ventana_->show();
    Elige("ENGLISH");
    Pulsa("B_OK");
    EXPECT_EQ(ventana_->Tag, 1);
    EXPECT_EQ(Guardado(), "ENGLISH");
}

TEST_F(TextsLanguageWindowTest, DoubleClickChoosesToo) {
    QTreeWidgetItem* item = lista_->findItems("DEUTSCH", Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr);
    const QPoint punto = lista_->visualItemRect(item).center();
    QTest::mouseClick(lista_->viewport(), Qt::LeftButton, {}, punto);
    QTest::mouseDClick(lista_->viewport(), Qt::LeftButton, {}, punto);
    EXPECT_EQ(ventana_->Tag, 1);
    EXPECT_EQ(Guardado(), "DEUTSCH");
}

TEST_F(TextsLanguageWindowTest, CancelStoresNothing) {
    ventana_->Tag = 1;
    Elige("DEUTSCH");
    Pulsa("B_CANCEL");
    EXPECT_FALSE(ventana_->isVisible());
    EXPECT_EQ(ventana_->Tag, 0);
    EXPECT_EQ(Idioma, "ENGLISH");
    EXPECT_FALSE(QFileInfo::exists(carpeta_.Fichero("KALVEX.INI")));
}

TEST_F(TextsLanguageWindowTest, EachShowingReadsTheFileAgainUpTo128Languages) {
    ventana_->hide();
    QByteArray muchos;
    for (int i = 0; i < 130; ++i) {
        muchos += "[L" + QByteArray::number(i) + "]\r\n";
    }
    Escribe_Bytes(carpeta_.Fichero("KALVEX_LANG.INI"), muchos);
    ventana_->show();
    ASSERT_EQ(lista_->topLevelItemCount(), 128);
    EXPECT_EQ(lista_->topLevelItem(127)->text(0), "L127");

    ventana_->hide();
    QFile::remove(carpeta_.Fichero("KALVEX_LANG.INI"));
    ventana_->show();
    EXPECT_EQ(lista_->topLevelItemCount(), 0);
    Pulsa("B_OK");
    EXPECT_TRUE(ventana_->isVisible());
}

} // namespace
