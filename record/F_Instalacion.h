#pragma once
// The Installation window: the installation's decoders in a list that sorts by any column and
// filters on any text, the selected decoder's history of read-outs and Saves with their
// values, its location and note to edit, the model of a surveyed decoder to settle, the
// clashes still present, the codes a survey could not read, and the CSV export and handover
// report of the whole installation. Stored facts are worded in the language shown.
//
// Everything it shows comes from one snapshot of the record, taken again by Actualiza; it
// never holds the record open between calls.

#include "Instantanea.h"
#include "UVentana_Kalvex.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TF_Instalacion : public TVentana_Kalvex {
    Q_OBJECT
public:
    explicit TF_Instalacion(QWidget* parent = nullptr);
    ~TF_Instalacion() override;

    QSize sizeHint() const override;

    // The record the window reads and edits; not owned. nullptr (no installation open) empties
    // the window. Clear it before the record goes away.
    void Pon_Fuente(TFuente_Instalacion* fuente);

    // Reads the record again. The selected decoder stays selected, and a location or note
    // being typed is kept.
    void Actualiza();

    // The CSV export without its file dialog: false, after a box has said what failed and what
    // to do, when the file could not be written.
    bool Guarda_Csv(const QString& fichero);
    // Settles the selected decoder's model as `referencia`, one of its possible ones (the
    // button asks which); false, after a box has said so, when the record could not store it.
    bool Decide_Modelo(int referencia);

protected:
    void Coloca() override;

private:
    void Llena_Lista();
    void Llena_Choques();
    void Llena_Problemas();
    void Pregunta_Modelo();
    void Aplica_Filtro();
    void Seleccion_Cambiada();
    void Muestra_Valores();
    void Guarda_Campo(QLineEdit* campo);
    void Pide_Fichero(const QString& titulo, const QString& extension,
                      bool (TF_Instalacion::*guarda)(const QString&));

    TDecoder_Registro* Seleccionado();
    QTreeWidgetItem* Fila_De(qint64 id) const;

    QLabel* Label1;
    QLabel* Label_Filtro;
    QLineEdit* Filtro;
    QTreeWidget* Lista;
    QLabel* Label_Ubicacion;
    QLineEdit* Ubicacion;
    QLabel* Label_Nota;
    QLineEdit* Nota;
    QLabel* Label_Historia;
    QTreeWidget* Historia;
    QTreeWidget* Valores;
    QLabel* Label_Choques;
    QListWidget* Choques;
    QLabel* Label_Problemas;
    QTreeWidget* Problemas;
    QPushButton* B_Modelo;
    QPushButton* B_Csv;
    QPushButton* B_Informe;
    QPushButton* B_Close;

    TFuente_Instalacion* fuente_ = nullptr;
    TInstantanea instantanea_;
    QList<TEvento_Registro> historia_;
    qint64 seleccionado_ = -1; // the decoder whose history and fields are shown; -1 for none
};
