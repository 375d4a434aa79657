// The simulator keeps its own model table, written apart from the program's so that a
// misunderstanding cannot hide by being made twice; the two must still describe the same
// decoders, or the simulated installation would test something else.

#include "Datos_Modelos.h"
#include "SimModels.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(ModelTables, TheSimulatorAndTheProgramKnowTheSameModels) {
    for (const TModelo& m : Tabla_Modelos()) {
        SCOPED_TRACE(m.Referencia);
        const kalvex::sim::Model* sim = kalvex::sim::FindModel(m.Referencia);
        ASSERT_NE(sim, nullptr);
        EXPECT_EQ(sim->id, m.Identificacion);
        EXPECT_EQ(sim->outputs, m.Tramas);
        EXPECT_TRUE(std::equal(sim->closing.begin(), sim->closing.end(), m.Cierre.Bytes.begin()));
    }
    // And the simulator knows no model the program lacks.
    for (int referencia = 0; referencia <= 9999; ++referencia) {
        if (kalvex::sim::FindModel(referencia)) {
            EXPECT_NE(Modelo_Por_Referencia(referencia), nullptr) << referencia;
        }
    }
}

} // namespace
