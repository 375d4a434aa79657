#pragma once
// The monitor's texts from the shipped language file, in English, with a configuration folder
// of the test's own (so the shipped file is the one found).

#include "Configuracion.h"
#include "Idiomas.h"
#include "Textos_Monitor.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace kalvex::test {

class EnglishTexts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid());
        qputenv("KALVEX_CONFIG_DIR", config_.path().toLocal8Bit());
        Idioma = QStringLiteral("ENGLISH");
        Abre_Fichero_Idiomas();
        textos = TTextos_Monitor::Del_Idioma();
        ASSERT_EQ(textos[TTexto_Monitor::Acknowledged], QStringLiteral("acknowledged"));
    }
    void TearDown() override {
        Libera_Fichero_Idiomas();
        qunsetenv("KALVEX_CONFIG_DIR");
    }

    TTextos_Monitor textos;

private:
    QTemporaryDir config_;
};

} // namespace kalvex::test
