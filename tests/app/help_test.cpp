// Help without an external program: the page of the language in the program's own window,
// links between pages followed there, and a browser or information program that cannot be
// started reported with what was tried.

#include "Configuracion.h"
#include "F_Ayuda.h"
#include "Idiomas.h"
#include "Lanzador.h"
#include "ModalWatcher.h"
#include "PtyPair.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

using namespace kalvex::test;

namespace {

void Write(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

// A PATH without any program, so no browser or information tool can be found.
class NoPrograms {
public:
    NoPrograms() : path_(qgetenv("PATH")) { qputenv("PATH", dir_.path().toLocal8Bit()); }
    ~NoPrograms() { qputenv("PATH", path_); }

private:
    QTemporaryDir dir_;
    QByteArray path_;
};

TEST(HelpWindow, ShowsThePageAndFollowsLinksBetweenPagesItself) {
    QTemporaryDir dir;
    Write(dir.filePath("first.html"),
          "<html><body><h1>First page</h1><a href=\"second.html\">next</a></body></html>");
    Write(dir.filePath("second.html"), "<html><body><h1>Second page</h1></body></html>");
    TF_Ayuda ayuda;
    ayuda.Muestra(dir.filePath("first.html"));
    auto* pagina = ayuda.findChild<QTextBrowser*>("Pagina");
    EXPECT_TRUE(ayuda.isVisible());
    EXPECT_TRUE(pagina->toPlainText().contains("First page"));
    emit pagina->anchorClicked(QUrl("second.html"));
    EXPECT_TRUE(pagina->toPlainText().contains("Second page"));
    EXPECT_EQ(pagina->source(), QUrl::fromLocalFile(dir.filePath("second.html")));
}

TEST(HelpWindow, TheShippedPagesShowTheirText) {
    TF_Ayuda ayuda;
    for (const char* page : {"KALVEXHELPINGLES.html", "KALVEXHELP.html", "KALVEXHELPFRANCES.html",
                             "KALVEXHELPALEMAN.html"}) {
        ayuda.Muestra(QStringLiteral(KALVEX_SOURCE_DIR "/resources/help/") + page);
        EXPECT_TRUE(ayuda.findChild<QTextBrowser*>("Pagina")->toPlainText().contains("Kalvex"))
            << page;
    }
}

TEST(Launcher, WhatCannotBeStartedIsSaidWithWhatWasTried) {
    NoPrograms none;
    // The texts of the installed language file, in English.
    QTemporaryDir config;
    qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
    Abre_Fichero_Idiomas();
    const QString antes = Idioma;
    Idioma = QStringLiteral("ENGLISH");
    ModalWatcher boxes;
    EXPECT_FALSE(Lanza_Info_Sistema());
    ASSERT_EQ(boxes.Dialogs().size(), 1u);
    EXPECT_EQ(boxes.Dialogs()[0].text,
              "No program to show this PC's details was found (tried: hardinfo, kinfocenter, "
              "gnome-system-monitor). Install one of them.");
    EXPECT_FALSE(Abre_Web());
    ASSERT_EQ(boxes.Dialogs().size(), 2u);
    EXPECT_TRUE(boxes.Dialogs()[1].text.startsWith(
        "No web browser could be started to open https://www.kalvex.example"));
    Idioma = antes;
    Libera_Fichero_Idiomas();
    qunsetenv("KALVEX_CONFIG_DIR");
}

} // namespace
