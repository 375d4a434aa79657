// The monitor window on its own: a link that is never opened, rows handed to the monitor as
// the link would hand them, a small row cap.

#include "DECODER2.h"
#include "EnglishTexts.h"
#include "F_Monitor.h"
#include "Filtro_Filas.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kalvex::test;

namespace {

TSuceso_Linea Suceso(TSuceso_Linea::Tipo clase, Trama_Dec trama, Trama_Dec peticion = {}) {
    TSuceso_Linea s;
    s.Clase = clase;
    s.Trama = trama;
    s.Peticion_Actual = peticion;
    s.Intento = clase == TSuceso_Linea::No_Solicitada ? 0 : 1;
    s.Intentos = 3;
    return s;
}

const Trama_Dec kEscribe{0xB0, 0x00, 0x34, 0x12};

class MonitorWindow : public EnglishTexts {
protected:
    void SetUp() override {
        EnglishTexts::SetUp();
        ASSERT_TRUE(log.isValid());
        monitor = std::make_unique<TF_Monitor>(&link, 5, log.path());
    }
    void TearDown() override {
        monitor.reset();
        EnglishTexts::TearDown();
    }
    void Add(const TSuceso_Linea& s, int times = 1) {
        for (int i = 0; i < times; ++i)
            monitor->Monitor().Suceso(s);
        monitor->Monitor().Vuelca();
    }
    QStringList Meanings() {
        QStringList out;
        for (int r = 0; r < monitor->Vista->model()->rowCount(); ++r)
            out << monitor->Vista->model()->index(r, int(TColumna::Significado)).data().toString();
        return out;
    }

    TDECODER2 link;
    QTemporaryDir log;
    std::unique_ptr<TF_Monitor> monitor;
};

TEST_F(MonitorWindow, KeepsTheNewestRowsAndSaysHowManyWent) {
    Add(Suceso(TSuceso_Linea::Peticion, kEscribe), 3);
    EXPECT_EQ(Meanings().size(), 3);
    Add(Suceso(TSuceso_Linea::Sin_Respuesta, {}, kEscribe), 4);
    const QStringList rows = Meanings();
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0], "older rows removed: 2 (the monitor keeps the last 5)");
    EXPECT_EQ(rows[1], "write output 1: code 1234");
    EXPECT_EQ(rows[5], "no reply within 250 ms (attempt 1 of 3)");
    // A burst larger than the cap at once.
    Add(Suceso(TSuceso_Linea::Directa, {0x20, 0x00, 0x34, 0x12}), 12);
    EXPECT_EQ(Meanings().first(), "older rows removed: 14 (the monitor keeps the last 5)");
    EXPECT_EQ(Meanings().size(), 6);
    QTest::mouseClick(monitor->B_Borrar, Qt::LeftButton);
    EXPECT_TRUE(Meanings().isEmpty());
}

TEST_F(MonitorWindow, FilterGroupsRequestsDecoderFramesAndProblems) {
    Add(Suceso(TSuceso_Linea::Peticion, kEscribe, kEscribe));
    Add(Suceso(TSuceso_Linea::Respuesta, {0x30, 0, 0, 0}, kEscribe));
    Add(Suceso(TSuceso_Linea::No_Solicitada, {0x00, 0x00, 0x34, 0x12}));
    Add(Suceso(TSuceso_Linea::Directa, {0x20, 0x00, 0x34, 0x12}));
    auto* filter = monitor->findChild<QComboBox*>(QStringLiteral("Filtro"));
    filter->setCurrentIndex(TF_Monitor::Peticiones);
    EXPECT_EQ(Meanings(), QStringList({"write output 1: code 1234", "status 0x30: not accepted"}));
    filter->setCurrentIndex(TF_Monitor::Decoder);
    EXPECT_EQ(Meanings(), QStringList({"data frame; dropped: no editor open",
                                       "acknowledgement of a data frame"}));
    filter->setCurrentIndex(TF_Monitor::Problemas);
    EXPECT_EQ(Meanings(), QStringList({"status 0x30: not accepted"}));
    filter->setCurrentIndex(TF_Monitor::Todo);
    EXPECT_EQ(Meanings().size(), 4);
}

// A request at 0 ms, its reply at 100, a decoder's frame at 250 and its acknowledgement at 400:
// each filter's "+ms" counts from the row it shows before, in the view and in what is saved.
TEST_F(MonitorWindow, TheIntervalCountsFromThePreviousShownRow) {
    const qint64 t0 = 1'700'000'000'000;
    monitor->Monitor().Filas().Anade({
        {t0, Suceso(TSuceso_Linea::Peticion, kEscribe, kEscribe)},
        {t0 + 100, Suceso(TSuceso_Linea::Respuesta, {0x30, 0, 0, 0}, kEscribe)},
        {t0 + 250, Suceso(TSuceso_Linea::No_Solicitada, {0x00, 0x00, 0x34, 0x12})},
        {t0 + 400, Suceso(TSuceso_Linea::Directa, {0x20, 0x00, 0x34, 0x12})},
    });
    const struct {
        TF_Monitor::TFiltro filtro;
        QStringList intervals;
    } cases[] = {{TF_Monitor::Todo, {"", "100", "150", "150"}},
                 {TF_Monitor::Peticiones, {"", "100"}},
                 {TF_Monitor::Decoder, {"", "150"}},
                 {TF_Monitor::Problemas, {""}}};
    const QString saved = log.filePath("rows.txt");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filtro);
        monitor->findChild<QComboBox*>(QStringLiteral("Filtro"))->setCurrentIndex(c.filtro);
        QStringList shown;
        for (int r = 0; r < monitor->Vista->model()->rowCount(); ++r)
            shown << monitor->Vista->model()->index(r, int(TColumna::Intervalo)).data().toString();
        EXPECT_EQ(shown, c.intervals);
        ASSERT_TRUE(monitor->Guarda(saved, false));
        QFile f(saved);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QStringList written;
        for (const QString& line :
             QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts).mid(1))
            written << line.section('\t', 1, 1);
        EXPECT_EQ(written, c.intervals);
    }
}

TEST_F(MonitorWindow, AMeaningShowsWholeInItsToolTip) {
    Add(Suceso(TSuceso_Linea::No_Solicitada, {0x53, 0x00, 0x00, 0x12}));
    const QModelIndex meaning = monitor->Vista->model()->index(0, int(TColumna::Significado));
    EXPECT_EQ(meaning.data(Qt::ToolTipRole).toString(),
              "digitizer announcement: panel 3, block 12; dropped: no editor open");
}

TEST_F(MonitorWindow, PausedRowsWaitAndComeWhenItGoesOn) {
    Add(Suceso(TSuceso_Linea::Peticion, kEscribe));
    QTest::mouseClick(monitor->B_Pausa, Qt::LeftButton);
    Add(Suceso(TSuceso_Linea::Respuesta, {0x20, 0, 0, 0}, kEscribe), 2);
    EXPECT_EQ(Meanings().size(), 1);
    QTest::mouseClick(monitor->B_Pausa, Qt::LeftButton);
    EXPECT_EQ(Meanings(),
              QStringList({"write output 1: code 1234", "acknowledged", "acknowledged"}));
}

TEST_F(MonitorWindow, SavesTextAndCsvFindsAndCopies) {
    Add(Suceso(TSuceso_Linea::Peticion, kEscribe));
    Add(Suceso(TSuceso_Linea::Respuesta, {0x20, 0, 0, 0}, kEscribe));
    Add(Suceso(TSuceso_Linea::No_Solicitada, {0x53, 0x00, 0x00, 0x12}));

    const QString txt = log.filePath("rows.txt");
    ASSERT_TRUE(monitor->Guarda(txt, false));
    QFile t(txt);
    ASSERT_TRUE(t.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(t.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Time\t+ms\tDirection\tBytes\tMeaning");
    EXPECT_TRUE(lines[1].endsWith("\tto the line\tB0 00 34 12\twrite output 1: code 1234"));
    EXPECT_TRUE(lines[2].split('\t')[1].toInt() >= 0) << lines[2].toStdString();
    EXPECT_TRUE(lines[1].split('\t')[1].isEmpty()); // no row before the first

    // A meaning with a comma is quoted in CSV.
    const QString csv = log.filePath("rows.csv");
    ASSERT_TRUE(monitor->Guarda(csv, true));
    QFile c(csv);
    ASSERT_TRUE(c.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(c.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(
        rows[3].endsWith(",from the line,53 00 00 12,"
                         "\"digitizer announcement: panel 3, block 12; dropped: no editor open\""))
        << rows[3].toStdString();
    EXPECT_FALSE(monitor->Guarda(log.filePath("no/such/folder/rows.txt"), false));

    EXPECT_TRUE(monitor->Busca("BLOCK 12"));
    EXPECT_EQ(monitor->Vista->currentIndex().row(), 2);
    EXPECT_FALSE(monitor->Busca("BLOCK 12")); // nothing after it
    monitor->Vista->selectRow(0);
    monitor->Copia();
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith(
        "\tto the line\tB0 00 34 12\twrite output 1: code 1234\n"));
}

TEST_F(MonitorWindow, KeepsItsPlaceForTheRunAndIsNotOnTop) {
    EXPECT_FALSE(monitor->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(monitor->isModal());
    monitor->show();
    monitor->setGeometry(monitor->geometry().translated(37, 23));
    const QRect place = monitor->geometry();
    monitor->hide();
    monitor->show();
    EXPECT_EQ(monitor->geometry(), place);
    monitor->hide();
}

} // namespace
