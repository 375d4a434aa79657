#pragma once
// The real program windows against a simulated installation: a fresh configuration folder
// (never the user's own) whose settings name the simulator's line, every window created as
// at start-up, modal dialogs closed and recorded, and the frames the program wrote read back
// from the simulator's log.

#include "BusSimulator.h"
#include "Creacion_Ventanas.h"
#include "DECODER2.h"
#include "Enrutado.h"
#include "F_Principal.h"
#include "ModalWatcher.h"
#include "PtyPair.h"
#include "TIniFile.h"
#include "Ventanas.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kalvex::test {

class InstallationTest : public ::testing::Test {
protected:
    // Decoders are named by their section; their index is their place in the text. The
    // editors' read-back after Save is off unless asked for (Read_Back=0, as an installer may
    // set it): the tests of a Save's own frames see those frames and nothing after them.
    void Start(const std::string& installation, const QString& idioma = QStringLiteral("ENGLISH"),
               bool read_back = false) {
        ASSERT_TRUE(config.isValid());
        qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
        sim = std::make_unique<kalvex::sim::BusSimulator>(
            kalvex::sim::ParseInstallation(installation, "t"));
        const QString link = config.filePath(QStringLiteral("tty"));
        sim->Start(link.toStdString());
        TIniFile ini(config.filePath(QStringLiteral("KALVEX.INI")));
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Sys_Port"), link);
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Idioma"), idioma);
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Read_Back"),
                        read_back ? QStringLiteral("1") : QStringLiteral("0"));
        dialogs = std::make_unique<ModalWatcher>([this](QWidget* w) {
            if (inspect)
                inspect(w);
        });
        Crea_Ventanas();
        main = Ventanas().F_Princ;
        ASSERT_TRUE(main->Decod1->Connected());
    }

    void TearDown() override {
        Destruye_Ventanas();
        dialogs.reset();
        sim.reset();
        qunsetenv("KALVEX_CONFIG_DIR");
    }

    // The frames the program has written, in order, as "B0 00 34 12".
    std::vector<std::string> Sent() const {
        std::vector<std::string> out;
        for (const auto& e : sim->Log())
            if (e.direction == kalvex::sim::Direction::FromProgram)
                out.push_back(kalvex::sim::ToHex(e.frame));
        return out;
    }
    // Both directions, for failure messages.
    std::string Trace() const {
        std::string out;
        for (const auto& e : sim->Log())
            out += (e.direction == kalvex::sim::Direction::FromProgram ? "<- " : "-> ") +
                   kalvex::sim::ToHex(e.frame) + "\n";
        return out;
    }
    // A whole read-out of the decoder, up to the acknowledgement of its identification frame.
    void ReadOut(const std::string& decoder) {
        sim->ClearLog();
        sim->PressButton(decoder);
        ASSERT_TRUE(WaitUntil([&] {
            const auto sent = Sent();
            return !sent.empty() && sent.back().rfind("20 40", 0) == 0;
        })) << Trace();
    }
    // The read-out's place left at `k` by a longer read-out of another model.
    static void LeaveReadOutAt(int k) {
        TLectura_Decoder& lectura = Enrutado().Lectura;
        lectura.Empieza({0x48, 8});
        for (int i = 0; i < k; ++i)
            lectura.Recibe(Trama_Dec(0x00, 0x00, 0x00, 0x00));
    }
    // Runs action once, from inside whatever handler is running, when cond first holds.
    struct During {
        explicit During(std::function<bool()> cond, std::function<void()> action) {
            QObject::connect(&timer, &QTimer::timeout, [this, cond, action] {
                if (!done && cond()) {
                    done = true;
                    action();
                }
            });
            timer.start(1);
        }
        QTimer timer;
        bool done = false;
    };
    bool WaitDialog(const QString& name) {
        return WaitUntil([&] { return dialogs->Saw(name); });
    }

    QTemporaryDir config;
    std::unique_ptr<kalvex::sim::BusSimulator> sim;
    std::unique_ptr<ModalWatcher> dialogs;
    // Looks at each modal dialog before it is closed.
    std::function<void(QWidget*)> inspect;
    TF_Princ* main = nullptr;
};

} // namespace kalvex::test
