#include "Exporta_Plan.h"

#include "Csv.h"
#include "Idiomas.h"
#include "Presenta_Registro.h"
#include "Textos_Plan.h"

#include <QStringList>

namespace {

QString Clave(const char* clave) {
    return Texto(QString::fromLatin1(clave));
}

QString Html(const QString& texto) {
    return texto.toHtmlEscaped();
}

QString Celda(const QString& texto, bool choque) {
    const QString escapado = Html(texto);
    return QStringLiteral("<td>") +
           (choque ? QStringLiteral("<span style=\"color:") + Rojo_Choque + QStringLiteral("\">") +
                         escapado + QStringLiteral("</span>")
                   : escapado) +
           QStringLiteral("</td>");
}

} // namespace

QByteArray Texto_Csv_Plan(const TPlan_Codigos& plan) {
    QList<QStringList> filas{{Clave("Plan_Space"), Clave("Plan_ColCode"), Clave("GEN_MEN091"),
                              Clave("GEN_MEN071"), Clave("GEN_MEN03"), Clave("GEN_MEN072"),
                              Clave("Plan_ColClash"), Clave("Plan_ColFree")}};
    const TTextos_Plan textos;
    TTextos_Registro registro;
    for (const TEspacio_Plan& espacio : plan.Espacios()) {
        if (espacio.Codigos == 0)
            continue;
        const QString& nombre = textos.Espacio(espacio.Espacio);
        for (const TFila_Plan& f : espacio.Filas) {
            const QString codigo = textos.Codigo(espacio, f);
            if (f.Libre)
                filas.append({nombre, codigo, {}, {}, {}, {}, {}, QString::number(f.Cuantos())});
            else
                filas.append({nombre,
                              codigo,
                              QString::number(f.Decoder),
                              registro.Modelo(f.Referencia, f.Posibles),
                              registro.Frase(f.Codigo.Lugar),
                              f.Ubicacion,
                              textos.Choque(espacio, f),
                              {}});
        }
    }
    return Fichero_Csv(filas);
}

QString Html_Plan(const TPlan_Codigos& plan) {
    const TTextos_Plan textos;
    TTextos_Registro registro;
    QString html = QStringLiteral("<h1 style=\"page-break-before: always\">") +
                   Html(Clave("Plan_Title")) + QStringLiteral("</h1>");
    // Each space's table starts with the same heading row.
    QString cabecera =
        QStringLiteral("<table class=\"v\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (const char* clave :
         {"Plan_ColCode", "GEN_MEN071", "GEN_MEN03", "GEN_MEN072", "Plan_ColClash"})
        cabecera += QStringLiteral("<th>") + Html(Clave(clave)) + QStringLiteral("</th>");
    cabecera += QStringLiteral("</tr>");
    bool alguno = false;
    for (const TEspacio_Plan& espacio : plan.Espacios()) {
        if (espacio.Codigos == 0)
            continue;
        alguno = true;
        html += QStringLiteral("<h2>") + Html(textos.Resumen(espacio)) + QStringLiteral("</h2>") +
                cabecera;
        for (const TFila_Plan& f : espacio.Filas) {
            if (f.Libre) {
                html += QStringLiteral("<tr><td colspan=\"5\"><i>") +
                        Html(textos.Libre(espacio, f)) + QStringLiteral("</i></td></tr>");
                continue;
            }
            const bool choque = !f.Choques.isEmpty();
            html += QStringLiteral("<tr>") + Celda(f.Codigo.Texto, choque) +
                    Celda(registro.Modelo(f.Referencia, f.Posibles), choque) +
                    Celda(registro.Frase(f.Codigo.Lugar), choque) + Celda(f.Ubicacion, choque) +
                    Celda(textos.Choque(espacio, f), choque) + QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
    }
    if (!alguno)
        html += QStringLiteral("<p>") + Html(Clave("Plan_Empty")) + QStringLiteral("</p>");
    return html;
}
