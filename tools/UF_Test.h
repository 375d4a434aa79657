#pragma once
// The devices test: asks the bus which decoder serves each device code of a range and lists
// the answers, newest first, with a progress bar and line and a summary at the end. The test
// runs inside the Start handler; the wait for each reply serves the window's events, so Stop
// (and a repaint) happen between queries. The list can show the answered codes only and be
// exported as CSV.

#include "Progreso_Prueba.h"
#include "UVentana_Kalvex.h"

#include <QElapsedTimer>
#include <QIcon>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
class TGrupo_Tipos;

class TF_Test : public TVentana_Kalvex {
    Q_OBJECT
public:
    explicit TF_Test(QWidget* parent = nullptr);

    void setVisible(bool visible) override;
    // Every way of closing ends here: refused while a test runs.
    void reject() override;
    // As Stop does: a running test ends after the code it is querying.
    void B_STOPClick();
    // A test is under way.
    bool En_Curso() const { return !Inactivo; }
    // Writes the rows the list shows, top first, as a CSV file; when it cannot, says why in
    // an error box and returns false.
    bool Exporta(const QString& fichero);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void B_STARTClick();
    void B_ClearClick();
    void R2Click();
    void B_ExportClick();
    void CheckBox1Click();
    void Ajusta_Exportar();

    void Prueba();
    void Consulta(const QString& rotulo, const QString& codigo, const QString& numero);
    void Termina_Prueba(QWidget* foco);
    void Muestra_Progreso();

    QLabel* Label1;
    TGrupo_Tipos* RadioGroup1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QLabel* Label3;
    QLineEdit* Edit2;
    QPushButton* B_START;
    QPushButton* B_STOP;
    QPushButton* B_Clear;
    QPushButton* B_Export;
    QPushButton* B_Close;
    QCheckBox* CheckBox1; // answered only
    QTreeWidget* Lista;
    QProgressBar* ProgressBar1;
    QLabel* Label4;             // the progress line, then the summary
    QTimer* Progreso_Pendiente; // brings the bar and the line up to date in the next wait
    QLabel* Image1;
    // Answered, not answered.
    std::array<QIcon, 2> ImageList1;

    bool Parar = false;   // Stop was pressed: the rest of the range is skipped
    bool Inactivo = true; // no test runs: the window may close
    TProgreso_Prueba Progreso;
    QElapsedTimer Reloj; // since the test's start, for the time left
};
