// The record's own thread: jobs in the order queued, a failing job's error where it was asked
// for, everything queued run before the thread ends, and the thread's end itself.

#include "Hilo_Base.h"
#include "RecordFixture.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

TEST(RecordThread, RunsJobsInOrderAndHandsBackResultsAndErrors) {
    std::vector<int> hechos;
    {
        THilo_Base hilo;
        for (int i = 0; i < 100; ++i) {
            hilo.Encola([&hechos, i] { hechos.push_back(i); });
        }
        EXPECT_EQ(hilo.Ejecuta([&hechos] { return hechos.size(); }), 100U);
        EXPECT_THROW(hilo.Ejecuta([]() -> int { throw std::runtime_error("disk full"); }),
                     std::runtime_error);
        hilo.Encola([] { throw std::runtime_error("a queued write failed"); });
        // The thread goes on after a failed job, and its end waits for what is queued.
        hilo.Encola([&hechos] { hechos.push_back(100); });
    }
    ASSERT_EQ(hechos.size(), 101U);
    for (int i = 0; i <= 100; ++i) {
        EXPECT_EQ(hechos[i], i);
    }
}

using RecordThreadEnd = kalvex::test::RecordTest;

// Each record's thread ends with its record. Under MinGW a per-thread error text of the
// transactions was freed before its destructor ran at that end: a crash every few records.
TEST_F(RecordThreadEnd, ManyRecordsOpenedWrittenAndClosedInARow) {
    using namespace kalvex::test;
    for (int i = 0; i < 60; ++i) {
        Abre()->Lectura("COM1", Config(6746, {Valor("Edit1", QString::number(i))}, {Llamada(i)}));
    }
    EXPECT_EQ(Abre()->Instantanea().Decoders.size(), 60);
}

} // namespace
