#pragma once
// The program as the installer runs it, over the simulator sending at the line's rate: the
// editor benchmarks open an editor from the main window, let a decoder read out, and time a
// Save up to its result dialog. The settings and the installation record go to a temporary
// folder, never to the user's.

#include "BusSimulator.h"
#include "Creacion_Ventanas.h"
#include "F_Principal.h"
#include "SimulatedLine.h"
#include "TAplicacion.h"
#include "TIniFile.h"
#include "UF_Decoder.h"
#include "Ventanas.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

// A frame is 4 bytes of 12 bits at 9600 baud.
constexpr double Frame_ms = 4 * 12 / 9.6;

// Median of what was measured.
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class EditorBench : public QObject {
public:
    // The read-back after Save is off unless asked for: a Save's own figure is the Save alone.
    EditorBench(int& argc, char** argv, const char* installation, bool read_back = false) {
        sim_ = Simulated_Line(config_, installation);
        TIniFile(config_.Path(QStringLiteral("KALVEX.INI")))
            .WriteString("General", "Read_Back", read_back ? "1" : "0");
        app_ = std::make_unique<TAplicacion>(argc, argv);
        Crea_Ventanas();
        app_->installEventFilter(this);
    }
    ~EditorBench() override {
        app_->removeEventFilter(this);
        for (QWidget* w : QApplication::topLevelWidgets())
            w->hide();
        Destruye_Ventanas();
    }

    kalvex::sim::BusSimulator& Sim() { return *sim_; }

    // Picks the model in the main window's list and presses Go!, as the installer does.
    TF_Decoder* Go(int reference) {
        auto* list = Ventanas().F_Princ->findChild<QComboBox*>(QStringLiteral("C1"));
        list->setCurrentIndex(list->findText(QString::number(reference), Qt::MatchStartsWith));
        Ventanas().F_Princ->findChild<QPushButton*>(QStringLiteral("B_Go"))->click();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<TF_Decoder*>(w);
                editor && editor->isVisible() && editor->Referencia() == reference)
                return editor;
        return nullptr;
    }

    // Serves the program's events for a while, as time passes between an installer's steps.
    static void Idle(int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    static bool Wait(const std::function<bool()>& done, int ms = 5000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return true;
    }

    // Milliseconds from the click on Save to its result dialog (closed at once); -1 when the
    // result was another dialog than `result`. Then 300 ms pass before the next step, as at
    // an installer's pace: the record stores the Save on its own thread meanwhile, and a
    // read-out at once would compete with it for the cores.
    double Save(TF_Decoder* editor, const QString& result) {
        result_.clear();
        clock_.start();
        editor->findChild<QPushButton*>(QStringLiteral("B_Save"))->click();
        const double ms = result_ == result ? double(ended_ns_) / 1e6 : -1;
        Idle(300);
        return ms;
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* d = qobject_cast<QDialog*>(o);
        if (d && e->type() == QEvent::Show && d->objectName().startsWith("F_Mensa") &&
            clock_.isValid()) {
            ended_ns_ = clock_.nsecsElapsed();
            result_ = d->objectName();
            clock_.invalidate();
            QTimer::singleShot(0, d, &QDialog::reject);
        }
        return false;
    }

private:
    BenchFolders config_;
    std::unique_ptr<kalvex::sim::BusSimulator> sim_;
    std::unique_ptr<TAplicacion> app_;
    QElapsedTimer clock_;
    qint64 ended_ns_ = 0;
    QString result_;
};
