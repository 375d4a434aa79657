#pragma once
// Every test of a window binary records its installation in a data folder of its own: never
// the user's, and never one an earlier test filled with decoders whose codes would clash.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>

namespace kalvex::test {

class DataFolderPerTest : public ::testing::EmptyTestEventListener {
public:
    // Adds itself to the test run, unless the caller chose the folder.
    static void Install() {
        if (qEnvironmentVariableIsSet("KALVEX_DATA_DIR"))
            return;
        ::testing::UnitTest::GetInstance()->listeners().Append(new DataFolderPerTest);
    }

private:
    void OnTestStart(const ::testing::TestInfo&) override {
        folder_ = std::make_unique<QTemporaryDir>();
        qputenv("KALVEX_DATA_DIR", folder_->path().toLocal8Bit());
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        qunsetenv("KALVEX_DATA_DIR");
        folder_.reset();
    }

    std::unique_ptr<QTemporaryDir> folder_;
};

} // namespace kalvex::test
