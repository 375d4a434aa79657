#include "Informe_Entrega.h"

#include "Configuracion.h"
#include "Exporta_Plan.h"
#include "Guarda_Fichero.h"
#include "Idiomas.h"
#include "Instantanea.h"
#include "Plan_Codigos.h"
#include "Presenta_Registro.h"
#include "Redaccion_Choque.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <utility>

namespace {

QString Html(const QString& texto) {
    return texto.toHtmlEscaped();
}

QString Clave(const char* clave) {
    return Html(Texto(QString::fromLatin1(clave)));
}

// The labels each decoder's section repeats, looked up and escaped once.
struct TRotulos {
    QString Decoder = Clave("GEN_MEN091");
    QString Nota = Clave("GEN_MEN073");
    QString Lectura = Clave("GEN_MEN075");
    QString Grabacion = Clave("GEN_MEN076");
    QString Resultado = Clave("GEN_MEN077");
    QString Confirmado = Clave("GEN_MEN094");
    QString Lugar = Clave("GEN_MEN092");
    QString Valor = Clave("GEN_MEN093");
};

// A label and its value, one row of a two-column table.
void Dato(QString& html, const QString& rotulo, const QString& valor) {
    html += QStringLiteral("<tr><td class=\"r\">") + rotulo + QStringLiteral("</td><td>") +
            Html(valor) + QStringLiteral("</td></tr>");
}

void Seccion_Decoder(QString& html, const TDecoder_Registro& d, const TRotulos& rotulos,
                     TTextos_Registro& textos) {
    QString titulo = textos.Modelo(d);
    if (!d.Ubicacion.isEmpty())
        titulo += QStringLiteral(" \u2014 ") + d.Ubicacion;
    html += QStringLiteral("<h2>") + Html(titulo) + QStringLiteral("</h2><table>");
    Dato(html, rotulos.Decoder, QString::number(d.Id));
    if (!d.Nota.isEmpty())
        Dato(html, rotulos.Nota, d.Nota);
    Dato(html, rotulos.Lectura, textos.Momento(d.Ultima_Lectura));
    Dato(html, rotulos.Grabacion, textos.Momento(d.Ultima_Grabacion));
    if (!d.Resultado.isEmpty())
        Dato(html, rotulos.Resultado, textos.Frase(d.Resultado));
    Dato(html, rotulos.Confirmado, textos.Si_No(d.Confirmado));
    html += QStringLiteral("</table>");
    if (d.Configuracion.isEmpty())
        return;
    html += QStringLiteral("<table class=\"v\" cellspacing=\"0\" cellpadding=\"3\"><tr><th>") +
            rotulos.Lugar + QStringLiteral("</th><th>") + rotulos.Valor +
            QStringLiteral("</th></tr>");
    for (const TValor_Registro& v : d.Configuracion)
        html += QStringLiteral("<tr><td>") + Html(textos.Frase(v.Lugar)) +
                QStringLiteral("</td><td>") + Html(textos.Frase(v.Texto)) +
                QStringLiteral("</td></tr>");
    html += QStringLiteral("</table>");
}

// Who hands over to whom, and where: rows of the first page's table, those given only.
void Datos_Entrega(QString& html, const TDatos_Entrega& e) {
    const std::pair<const char*, const QString*> filas[] = {{"Ent_Installer", &e.Instalador},
                                                            {"Ent_Customer", &e.Cliente},
                                                            {"Ent_Address", &e.Direccion}};
    for (const auto& [clave, valor] : filas)
        if (!valor->isEmpty())
            Dato(html, Clave(clave), *valor);
    if (!e.Notas.isEmpty())
        html += QStringLiteral("<tr><td class=\"r\">") + Clave("Ent_Notes") +
                QStringLiteral("</td><td>") +
                Html(e.Notas).replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                QStringLiteral("</td></tr>");
}

// A list under its lead-in, each decoder as "location (model)".
void Lista(QString& html, const char* clave, const QStringList& decoders) {
    if (decoders.isEmpty())
        return;
    html += QStringLiteral("<p>") + Clave(clave) + QStringLiteral("</p><ul>");
    for (const QString& decoder : decoders)
        html += QStringLiteral("<li>") + Html(decoder) + QStringLiteral("</li>");
    html += QStringLiteral("</ul>");
}

// What the customer must know before signing: how many decoders, which of them no read-out
// confirmed or a survey left without a settled model, how many clashes.
void Resumen(QString& html, const TInstantanea& instantanea, TTextos_Registro& textos) {
    QStringList sin_confirmar;
    QStringList sin_decidir;
    // By where it is first: the installer walks to it.
    for (const TDecoder_Registro& d : instantanea.Decoders) {
        const QString nombre = d.Ubicacion.isEmpty() ? textos.Modelo(d)
                                                     : d.Ubicacion + QStringLiteral(" (") +
                                                           textos.Modelo(d) + QLatin1Char(')');
        if (!d.Confirmado)
            sin_confirmar << nombre;
        if (d.Referencia == 0)
            sin_decidir << nombre;
    }
    const qsizetype decoders = instantanea.Decoders.size();
    html += QStringLiteral("<h2>") + Clave("Ent_Summary") + QStringLiteral("</h2><table>");
    Dato(html, Clave("Ent_Decoders"), QString::number(decoders));
    Dato(html, Clave("Ent_Confirmed"),
         Texto(QStringLiteral("Ent_OfTotal")).arg(decoders - sin_confirmar.size()).arg(decoders));
    Dato(html, Clave("Ent_Clashes"), QString::number(instantanea.Choques.size()));
    html += QStringLiteral("</table>");
    if (decoders == 0)
        return;
    if (sin_confirmar.isEmpty())
        html += QStringLiteral("<p>") + Clave("Ent_AllConfirmed") + QStringLiteral("</p>");
    Lista(html, "Ent_Unconfirmed", sin_confirmar);
    Lista(html, "Ent_Undecided", sin_decidir);
}

// A column each for the installer and the customer: name, date and signature, on lines to
// write on; a name typed in the dialog is printed instead of its line. The decoders' pages
// follow on a new page.
void Firmas(QString& html, const TDatos_Entrega& e) {
    const QString linea = QStringLiteral("______________________________");
    auto nombre = [&linea](const QString& n) { return n.isEmpty() ? linea : Html(n); };
    auto fila = [&html](const QString& rotulo, const QString& instalador, const QString& cliente) {
        html += QStringLiteral("<tr><td class=\"r\">") + rotulo + QStringLiteral("</td><td>") +
                instalador + QStringLiteral("</td><td>") + cliente + QStringLiteral("</td></tr>");
    };
    html += QStringLiteral("<h2>") + Clave("Ent_Signatures") +
            QStringLiteral("</h2><table cellpadding=\"8\"><tr><th></th><th>") +
            Clave("Ent_SignInstaller") + QStringLiteral("</th><th>") + Clave("Ent_Customer") +
            QStringLiteral("</th></tr>");
    fila(Clave("Ent_Name"), nombre(e.Instalador), nombre(e.Cliente));
    fila(Clave("GEN_MEN081"), linea, linea);
    // Room above the line for the hand.
    const QString firma = QStringLiteral("<br><br>") + linea;
    fila(Clave("Ent_Signature"), firma, firma);
    html += QStringLiteral("</table><p style=\"page-break-after: always\">&nbsp;</p>");
}

// Lays the document out on the writer's pages and paints them, each with "page / pages"
// under it. The document is laid out once, for the page, instead of being copied and laid out
// again as QTextDocument::print does.
void Pinta_Paginas(QTextDocument& documento, QPdfWriter& pdf) {
    const QRectF area = pdf.pageLayout().paintRectPixels(pdf.resolution());
    QPainter pintor(&pdf);
    const qreal pie = pintor.fontMetrics().height() * 2.0;
    const QSizeF pagina(area.width(), area.height() - pie);
    documento.setPageSize(pagina);
    const int paginas = documento.pageCount();
    for (int i = 0; i < paginas; ++i) {
        if (i > 0)
            pdf.newPage();
        pintor.save();
        pintor.translate(0, -pagina.height() * i);
        documento.drawContents(&pintor, QRectF(QPointF(0, pagina.height() * i), pagina));
        pintor.restore();
        pintor.drawText(QRectF(0, pagina.height(), pagina.width(), pie), Qt::AlignCenter,
                        QStringLiteral("%1 / %2").arg(i + 1).arg(paginas));
    }
}

} // namespace

QString Html_Informe(const TInstantanea& instantanea, const QDateTime& fecha) {
    const TRotulos rotulos;
    TTextos_Registro textos;
    QString html;
    // Roughly what each decoder's section takes, so the text is not copied over and over.
    html.reserve(2048 + instantanea.Decoders.size() * 1536);
    html += QStringLiteral("<html><head><style>"
                           "h1 { color: #1f3fa0; } h2 { color: #1f3fa0; margin-top: 18px; }"
                           "td.r { font-weight: bold; padding-right: 12px; }"
                           "table.v { margin-bottom: 6px; }"
                           "th { background-color: #e8ecf8; text-align: left; }"
                           "</style></head><body><h1>") +
            Clave("GEN_MEN089") + QStringLiteral("</h1><table>");
    Dato(html, Clave("GEN_MEN090"), instantanea.Sitio);
    Dato(html, Clave("GEN_MEN081"), Momento_Iso(fecha));
    Datos_Entrega(html, instantanea.Entrega);
    html += QStringLiteral("</table>");
    Resumen(html, instantanea, textos);
    Firmas(html, instantanea.Entrega);
    for (const TDecoder_Registro& d : instantanea.Decoders)
        Seccion_Decoder(html, d, rotulos, textos);
    html += QStringLiteral("<h2>") + Clave("GEN_MEN086") + QStringLiteral("</h2>");
    if (instantanea.Choques.isEmpty()) {
        html += QStringLiteral("<p>") + Clave("GEN_MEN098") + QStringLiteral("</p>");
    } else {
        html += QStringLiteral("<ul>");
        const TRedaccion_Choque redaccion;
        for (const TChoque_Registro& c : instantanea.Choques)
            html += QStringLiteral("<li>") + Html(redaccion.Par(c, instantanea, fecha.date())) +
                    QStringLiteral("</li>");
        html += QStringLiteral("</ul>");
    }
    html += Html_Plan(TPlan_Codigos(instantanea.Decoders));
    html += QStringLiteral("</body></html>");
    return html;
}

bool Informe_Entrega(const TInstantanea& instantanea, const QString& fichero, QString& causa) {
    // Made in memory, so that the file is written in one go and every byte of it checked.
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&bytes);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(18, 15, 18, 12), QPageLayout::Millimeter);
        pdf.setResolution(300);
        pdf.setTitle(Texto(QStringLiteral("GEN_MEN089")) + QStringLiteral(" \u2014 ") +
                     instantanea.Sitio);
        pdf.setCreator(Titulo_Kalvex());
        QTextDocument documento;
        // Fonts are measured for the writer's resolution before the text goes in.
        documento.documentLayout()->setPaintDevice(&pdf);
        documento.setHtml(Html_Informe(instantanea, QDateTime::currentDateTime()));
        Pinta_Paginas(documento, pdf);
    }
    return Guarda_Fichero(fichero, bytes.data(), causa);
}
