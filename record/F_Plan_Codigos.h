#pragma once
// The Code plan window: every code of the installation by code space, each with the decoder,
// output and location holding it, the clashes marked, the runs of free codes between them; a
// search by code, the first run of so many free codes in a space, and a CSV export.
//
// It shows one snapshot of the record, taken again by Actualiza, and asks its last question
// again on each, so that what it says follows the record.

#include "Instantanea.h"
#include "Plan_Codigos.h"
#include "UVentana_Kalvex.h"

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TF_Plan_Codigos : public TVentana_Kalvex {
    Q_OBJECT
public:
    explicit TF_Plan_Codigos(QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // The record the window reads; not owned. nullptr (no installation open) empties the
    // window. Clear it before the record goes away.
    void Pon_Fuente(TFuente_Instalacion* fuente);
    // Reads the record again; the view stays where it was.
    void Actualiza();

    // What Find and the free-codes button do with what their fields hold; a text that is not
    // a code or not a count is refused with a box naming the field.
    void Busca();
    void Busca_Libres();

    // The export without its file dialog: false, after a box has said what failed and what
    // to do, when the file could not be written.
    bool Guarda_Csv(const QString& fichero);

private:
    void Llena();
    void Muestra_Busqueda(const QString& texto);
    void Muestra_Libres(TEspacio_Codigo espacio, qint64 cuantos);
    // Selects the rows shown for these finds and says `texto`.
    void Senala(const QList<TPlan_Codigos::THallazgo>& hallazgos, const QString& texto);
    void Di(const QString& texto);
    // Says why over the window and puts the focus back in the field, its text selected.
    void Rechaza(QLineEdit* campo, const QString& mensaje);
    QTreeWidgetItem* Fila(const TPlan_Codigos::THallazgo& hallazgo) const;

    QLabel* Label1;
    QLabel* Label_Buscar;
    QLineEdit* Buscar;
    QPushButton* B_Buscar;
    QLabel* Label_Espacio;
    QComboBox* Espacio;
    QLabel* Label_Cuantos;
    QLineEdit* Cuantos;
    QPushButton* B_Libres;
    QLabel* Resultado;
    QTreeWidget* Plan;
    QPushButton* B_Csv;
    QPushButton* B_Close;

    TFuente_Instalacion* fuente_ = nullptr;
    QString sitio_;
    TPlan_Codigos plan_{QList<TDecoder_Registro>()};
    // Each space's heading row; null for a space without codes, which the list leaves out.
    QList<QTreeWidgetItem*> espacios_;
    // The last question answered, asked again when the record changes.
    std::function<void()> repite_;
};
