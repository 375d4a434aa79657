// The model table and the link's identification texts must tell the same story: a model added
// to one and not the other would be routed, queried or named wrongly.

#include "Modelos.h"
#include "UComunicaciones.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <vector>

TEST(ModelTable, ReferencesAndRoutingCodesAreUniqueAndFindTheirRow) {
    std::set<int> referencias;
    std::set<int> codigos;
    for (const TModelo& m : Tabla_Modelos()) {
        EXPECT_TRUE(referencias.insert(m.Referencia).second) << m.Referencia;
        // 0 is "no editor receives frames".
        EXPECT_NE(m.Codigo, 0) << m.Referencia;
        EXPECT_TRUE(codigos.insert(m.Codigo).second) << m.Referencia;
        EXPECT_EQ(Modelo_Por_Referencia(m.Referencia), &m);
        EXPECT_EQ(Modelo_Por_Codigo(m.Codigo), &m);
        EXPECT_EQ(&Tabla_Modelos()[static_cast<std::size_t>(m.Posicion())], &m);
    }
    EXPECT_EQ(Modelo_Por_Referencia(1234), nullptr);
    EXPECT_EQ(Modelo_Por_Codigo(0), nullptr);
}

TEST(ModelTable, TheListIsInReferenceOrder) {
    for (std::size_t i = 1; i < Tabla_Modelos().size(); ++i)
        EXPECT_LT(Tabla_Modelos()[i - 1].Referencia, Tabla_Modelos()[i].Referencia);
}

TEST(ModelTable, EveryIdentificationByteIsNamedWithEachOfItsModels) {
    for (const TModelo& m : Tabla_Modelos()) {
        if (m.Identificacion == Sin_Identificacion)
            continue;
        const QString nombre = Nombre_Referencia(m.Identificacion);
        EXPECT_TRUE(nombre.contains(QStringLiteral("Ref. %1").arg(m.Referencia)))
            << m.Referencia << " " << nombre.toStdString();
    }
    // And no text names a byte that no model answers with.
    for (const TNombre_Referencia& r : Nombres_Referencia())
        EXPECT_FALSE(Modelos_Por_Identificacion(r.Identificacion).empty())
            << r.Nombre.toStdString();
}

TEST(ModelTable, ASharedByteGivesEveryModelThatAnswersWithIt) {
    std::set<int> compartido;
    for (const TModelo* m : Modelos_Por_Identificacion(0x44))
        compartido.insert(m->Referencia);
    EXPECT_EQ(compartido, (std::set<int>{6713, 6734, 6745}));
    ASSERT_EQ(Modelos_Por_Identificacion(0x48).size(), 1u);
    EXPECT_EQ(Modelos_Por_Identificacion(0x48)[0]->Referencia, 6746);
    EXPECT_TRUE(Modelos_Por_Identificacion(0x99).empty());
    // The digitizer never identifies itself; no byte may stand for it.
    EXPECT_TRUE(Modelos_Por_Identificacion(Sin_Identificacion).empty());
}

TEST(ModelTable, EditorsAreFoundOnceRegistered) {
    const TModelo* m = Modelo_Por_Referencia(6746);
    EXPECT_EQ(Editor_Modelo(*m), nullptr);
    auto* editor = reinterpret_cast<TF_Decoder*>(0x1000);
    Registra_Editor(6746, editor);
    EXPECT_EQ(Editor_Modelo(*m), editor);
    EXPECT_EQ(Editor_Por_Referencia(6746), editor);
    EXPECT_EQ(Editor_Por_Referencia(6745), nullptr);
    Registra_Editor(1234, editor); // no model: nothing kept
    EXPECT_EQ(Editor_Por_Referencia(1234), nullptr);
    Registra_Editor(6746, nullptr);
    EXPECT_EQ(Editor_Modelo(*m), nullptr);
}

TEST(ModelTable, TheIdentificationTextsAndTheChoiceKeepTheirOrders) {
    // The texts name the highest reference first; the choice offers the models as the
    // installer has always seen them.
    EXPECT_EQ(Nombre_Referencia(0x44), "Ref. 6745 / Ref. 6734 / Ref. 6713");
    std::vector<int> eleccion;
    for (const TModelo* m : Modelos_En_Eleccion(0x44))
        eleccion.push_back(m->Referencia);
    EXPECT_EQ(eleccion, (std::vector<int>{6745, 6713, 6734}));
    std::vector<int> compartidos;
    for (const TModelo* m : Modelos_Compartidos())
        compartidos.push_back(m->Referencia);
    EXPECT_EQ(compartidos, eleccion) << "no other byte is shared";
    std::vector<uint8_t> bytes;
    for (const TNombre_Referencia& r : Nombres_Referencia())
        bytes.push_back(r.Identificacion);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x18, 0x28, 0x31, 0x34, 0x38, 0x44, 0x48, 0x54, 0x64}));
}

TEST(ModelTable, ARowThatWouldBeFoundInsteadOfAnotherIsRefused) {
    const TModelo propio = *Modelo_Por_Referencia(6746);
    TModelo misma_referencia = propio;
    misma_referencia.Codigo = 99;
    TModelo mismo_codigo = propio;
    mismo_codigo.Referencia = 6799;
    TModelo sin_codigo = mismo_codigo;
    sin_codigo.Codigo = 0;
    for (const TModelo& m : {misma_referencia, mismo_codigo, sin_codigo})
        EXPECT_THROW(Anade_Modelo(m), std::logic_error) << m.Referencia;
    EXPECT_EQ(Tabla_Modelos().size(), 12u);
}
