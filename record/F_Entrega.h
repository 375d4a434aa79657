#pragma once
// The handover report's dialog: who hands the installation over (the installer or company) to
// whom (the customer), the site's address and notes, all remembered with the installation; the
// report's language and its file. Make stores the details, writes the PDF worded in the chosen
// language and offers to open it.

#include "Instantanea.h"
#include "UVentana_Kalvex.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TF_Entrega : public TVentana_Kalvex {
    Q_OBJECT
public:
    explicit TF_Entrega(QWidget* parent = nullptr);

    // The record the report is made of; not owned. The fields take what it remembers, the
    // language the one shown, the file "<site>.pdf" in the home folder.
    void Pon_Fuente(TFuente_Instalacion* fuente);

    // What Make does. False, after a box has said what failed, when the report was not
    // written; the dialog then stays open with everything typed.
    bool Haz_Informe();

    QLineEdit* Instalador;
    QLineEdit* Cliente;
    QLineEdit* Direccion;
    QPlainTextEdit* Notas;
    QComboBox* Idioma_Informe;
    QLineEdit* Fichero;
    QPushButton* B_Fichero;
    QPushButton* B_Hacer;
    QPushButton* B_Cancel;

private:
    TDatos_Entrega Datos() const;
    QString Fichero_Informe() const;
    void Elige_Fichero();
    // The box that says where the report is and offers to open it.
    void Ofrece_Abrir(const QString& fichero, bool recordados);

    TFuente_Instalacion* fuente_ = nullptr;
    TDatos_Entrega recordados_; // what the record held when the dialog was filled
};
