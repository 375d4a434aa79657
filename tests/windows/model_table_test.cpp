// The model table and the link's identification texts must tell the same story: a model added
// to one and not the other would be routed, queried or named wrongly.

#include "Modelos.h"
#include "UComunicaciones.h"

#include <gtest/gtest.h>

#include <set>

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
        EXPECT_EQ(&Tabla_Modelos()[m.Posicion()], &m);
    }
    EXPECT_EQ(Modelo_Por_Referencia(1234), nullptr);
    EXPECT_EQ(Modelo_Por_Codigo(0), nullptr);
}

TEST(ModelTable, TheListIsInReferenceOrder) {
    for (int i = 1; i < Numero_Modelos; ++i)
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
        EXPECT_FALSE(Modelos_Por_Identificacion(r.Identificacion).empty()) << r.Nombre;
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
    EXPECT_EQ(m->Editor(), nullptr);
    auto* editor = reinterpret_cast<TF_Decoder*>(0x1000);
    Registra_Editor(6746, editor);
    EXPECT_EQ(m->Editor(), editor);
    EXPECT_EQ(Modelo_Por_Referencia(6745)->Editor(), nullptr);
    Registra_Editor(6746, nullptr);
    EXPECT_EQ(m->Editor(), nullptr);
}
