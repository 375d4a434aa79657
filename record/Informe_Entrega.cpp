#include "Informe_Entrega.h"

#include "Configuracion.h"
#include "Guarda_Fichero.h"
#include "Idiomas.h"
#include "Instantanea.h"
#include "Presenta_Registro.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

QString Html(const QString& texto) {
    return texto.toHtmlEscaped();
}

QString Clave(const char* clave) {
    return Html(Texto(QString::fromLatin1(clave)));
}

// A label and its value, one row of a two-column table.
QString Dato(const char* clave, const QString& valor) {
    return QStringLiteral("<tr><td class=\"r\">%1</td><td>%2</td></tr>")
        .arg(Clave(clave), Html(valor));
}

void Seccion_Decoder(QString& html, const TDecoder_Registro& d) {
    QString titulo = Nombre_Modelo(d.Referencia);
    if (!d.Ubicacion.isEmpty())
        titulo += QStringLiteral(" \u2014 ") + d.Ubicacion;
    html += QStringLiteral("<h2>") + Html(titulo) + QStringLiteral("</h2><table class=\"d\">");
    html += Dato("GEN_MEN091", QString::number(d.Id));
    if (!d.Nota.isEmpty())
        html += Dato("GEN_MEN073", d.Nota);
    html += Dato("GEN_MEN075", Texto_Momento(d.Ultima_Lectura));
    html += Dato("GEN_MEN076", Texto_Momento(d.Ultima_Grabacion));
    if (!d.Resultado.isEmpty())
        html += Dato("GEN_MEN077", d.Resultado);
    html += Dato("GEN_MEN094", Texto_Si_No(d.Confirmado));
    html += QStringLiteral("</table>");
    if (d.Configuracion.isEmpty())
        return;
    html += QStringLiteral("<table class=\"v\" cellspacing=\"0\" cellpadding=\"3\"><tr><th>%1</th>"
                           "<th>%2</th></tr>")
                .arg(Clave("GEN_MEN092"), Clave("GEN_MEN093"));
    for (const TValor_Registro& v : d.Configuracion)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>").arg(Html(v.Lugar), Html(v.Texto));
    html += QStringLiteral("</table>");
}

} // namespace

QString Html_Informe(const TInstantanea& instantanea, const QDateTime& fecha) {
    QString html;
    // Roughly what each decoder's section takes, so the text is not copied over and over.
    html.reserve(2048 + instantanea.Decoders.size() * 1536);
    html +=
        QStringLiteral("<html><head><style>"
                       "h1 { color: #1f3fa0; } h2 { color: #1f3fa0; margin-top: 18px; }"
                       "td.r { font-weight: bold; padding-right: 12px; }"
                       "table.v { border-style: solid; border-color: #808080; border-width: 1px; }"
                       "th { background-color: #e8ecf8; text-align: left; }"
                       "</style></head><body>");
    html +=
        QStringLiteral("<h1>") + Clave("GEN_MEN089") + QStringLiteral("</h1><table class=\"d\">");
    html += Dato("GEN_MEN090", instantanea.Sitio);
    html += Dato("GEN_MEN081", Momento_Iso(fecha));
    html += QStringLiteral("</table>");
    for (const TDecoder_Registro& d : instantanea.Decoders)
        Seccion_Decoder(html, d);
    html += QStringLiteral("<h2>") + Clave("GEN_MEN086") + QStringLiteral("</h2>");
    if (instantanea.Choques.isEmpty()) {
        html += QStringLiteral("<p>") + Clave("GEN_MEN098") + QStringLiteral("</p>");
    } else {
        html += QStringLiteral("<ul>");
        for (const TChoque_Registro& c : instantanea.Choques)
            html += QStringLiteral("<li>") + Html(c.Texto) + QStringLiteral("</li>");
        html += QStringLiteral("</ul>");
    }
    html += QStringLiteral("</body></html>");
    return html;
}

bool Informe_Entrega(const TInstantanea& instantanea, const QString& fichero, QString& causa) {
    QTextDocument documento;
    documento.setHtml(Html_Informe(instantanea, QDateTime::currentDateTime()));
    // Made in memory, so that the file is written in one go and every byte of it checked.
    QBuffer pdf_bytes;
    pdf_bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&pdf_bytes);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        pdf.setTitle(Texto(QStringLiteral("GEN_MEN089")) + QStringLiteral(" \u2014 ") +
                     instantanea.Sitio);
        pdf.setCreator(Titulo_Kalvex());
        // Laid out for the page here, with the page number under each page.
        documento.print(&pdf);
    }
    return Guarda_Fichero(fichero, pdf_bytes.data(), causa);
}
