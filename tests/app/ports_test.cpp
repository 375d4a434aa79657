// The serial port as an installer with a laptop and a USB adapter meets it: why a port would
// not open and what to do, the status line, a device that goes away and comes back, the
// devices present in the port menu, and the program starting again after a port choice.

#include "../models/editor_fixture.h"
#include "Configuracion.h"
#include "DeviceTree.h"
#include "F_Language.h"
#include "HolderProcess.h"
#include "Idiomas.h"
#include "PortDiagnosis.h"
#include "SerialDevice.h"

#include <QInputDialog>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cerrno>
#include <csignal>
#include <grp.h>
#include <thread>
#include <unistd.h>

using namespace kalvex::test;

namespace {

class PortsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
    }
    void TearDown() override {
        SerialDevice::OpenFault() = nullptr;
        Destruye_Ventanas();
        Libera_Fichero_Idiomas();
        qunsetenv("KALVEX_CONFIG_DIR");
    }
    void WriteSettings(const QString& port) {
        TIniFile ini(config.filePath(QStringLiteral("KALVEX.INI")));
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Sys_Port"), port);
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Idioma"),
                        QStringLiteral("ENGLISH"));
    }
    QString StoredPort() {
        return TIniFile(config.filePath(QStringLiteral("KALVEX.INI")))
            .ReadString(QStringLiteral("General"), QStringLiteral("Sys_Port"), {});
    }
    TF_Princ* Start(const QString& port) {
        WriteSettings(port);
        Crea_Ventanas();
        TF_Princ* main = Ventanas().F_Princ;
        main->show();
        return main;
    }
    static QString Status(TF_Princ* main) {
        return main->findChild<QLabel*>(QStringLiteral("Estado_Puerto"))->text();
    }
    // The items below COM1–COM4, as the menu shows them when it opens.
    static QStringList PresentItems(TF_Princ* main) {
        auto* menu = main->findChild<QMenu*>(QStringLiteral("SerialPort1"));
        emit menu->aboutToShow();
        QStringList out;
        const QList<QAction*> items = menu->actions();
        for (int i = 4; i < items.size(); ++i)
            out << (items[i]->isSeparator() ? QStringLiteral("--") : items[i]->text());
        return out;
    }
    static QAction* PresentItem(TF_Princ* main, const QString& text) {
        for (QAction* a : main->findChild<QMenu*>(QStringLiteral("SerialPort1"))->actions())
            if (a->text() == text)
                return a;
        return nullptr;
    }

    QTemporaryDir config;
};

TEST_F(PortsTest, APortThatWillNotOpenIsExplainedWithItsCauseAndFix) {
    DeviceTree tree;
    tree.Usb("ttyUSB0", "FT232R USB UART");
    tree.BuiltIn("ttyS0", 4);
    const QString adapter = tree.ById("usb-FTDI_FT232R_USB_UART_A10K-if00-port0", "ttyUSB0");
    PtyPair pty;
    const QString dev = pty.SlavePath();
    // Serial devices belong to a group users are put in; a device of root or tty is the
    // administrator's, and joining those groups would give the machine away.
    const QString denied = "Unable to open com port (system error 13: Permission denied)";
    const QString onlyAdmin = "only the administrator can open it: ask for a udev rule that "
                              "gives it to the dialout group";

    const struct {
        const char* what;
        QString port;
        int injected;    // errno the device layer gives instead of opening; 0: none
        bool heldLocked; // another process holds the device and its lock
        QStringList lines;
        QString cause;                 // what the status line says after "not open: "
        const char* group = "dialout"; // the device's group
    } cases[] = {
        {"missing",
         "/dev/kalvex-no-such-device",
         0,
         false,
         {"Unable to open com port (system error 2: No such file or directory)",
          "Device: /dev/kalvex-no-such-device", "not found \u2014 is the adapter plugged in?",
          "Serial devices present: FT232R USB UART \u2014 ttyUSB0, " + tree.Dev("ttyS0")},
         "not found \u2014 is the adapter plugged in?"},
        {"permission",
         dev,
         EACCES,
         false,
         {denied, "Device: " + dev,
          "permission denied \u2014 the device belongs to the group dialout",
          "Add your user to that group with: sudo usermod -aG dialout " + UserName() +
              " \u2014 then log out and back in."},
         "permission denied \u2014 the device belongs to the group dialout"},
        {"permission, group root",
         dev,
         EACCES,
         false,
         {denied, "Device: " + dev, "permission denied \u2014 the device belongs to the group root",
          onlyAdmin},
         "permission denied \u2014 the device belongs to the group root",
         "root"},
        {"permission, group tty",
         dev,
         EACCES,
         false,
         {denied, "Device: " + dev, "permission denied \u2014 the device belongs to the group tty",
          onlyAdmin},
         "permission denied \u2014 the device belongs to the group tty",
         "tty"},
        {"held", dev, 0, true, {}, {}}, // filled in below: the holder's pid
        {"other errno",
         dev,
         EIO,
         false,
         {"Unable to open com port (system error 5: Input/output error)", "Device: " + dev,
          "Input/output error"},
         "Input/output error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const group* owner = ::getgrnam(c.group);
        ASSERT_NE(owner, nullptr);
        ASSERT_EQ(::chown(dev.toLocal8Bit().constData(), static_cast<uid_t>(-1), owner->gr_gid), 0);
        std::unique_ptr<HolderProcess> holder;
        QStringList lines = c.lines;
        QString cause = c.cause;
        if (c.heldLocked) {
            holder = std::make_unique<HolderProcess>(dev.toLocal8Bit(), "kvx-holder", true);
            cause = QStringLiteral("in use by another program: kvx-holder (process %1)")
                        .arg(holder->Pid());
            lines = QStringList{
                QStringLiteral("Unable to open com port (system error %1: Resource temporarily "
                               "unavailable)")
                    .arg(EWOULDBLOCK),
                "Device: " + dev, cause, "Close that program, then start Kalvex again."};
        }
        SerialDevice::OpenFault() = [&c](const QByteArray&) { return c.injected; };
        ModalWatcher boxes;
        TF_Princ* main = Start(c.port);
        EXPECT_FALSE(main->Decod1->Connected());
        ASSERT_EQ(boxes.Dialogs().size(), 1u);
        EXPECT_EQ(boxes.Dialogs()[0].text.split('\n'), lines);
        EXPECT_EQ(Status(main), c.port + ": not open: " + cause);
        if (holder) {
            // The holder ends: the port is opened as at the start, without a box.
            holder->End();
            EXPECT_TRUE(WaitUntil([&] { return main->Decod1->Connected(); }, 6000));
            EXPECT_EQ(Status(main), c.port + QStringLiteral(": open \u2014 9600 8-O-2"));
            EXPECT_EQ(boxes.Dialogs().size(), 1u);
        }
        Destruye_Ventanas();
    }
}

TEST_F(PortsTest, WithNoSerialDeviceAtAllTheMissingPortSaysSo) {
    DeviceTree tree;
    ModalWatcher boxes;
    Start(QStringLiteral("/dev/ttyUSB9"));
    ASSERT_EQ(boxes.Dialogs().size(), 1u);
    EXPECT_EQ(boxes.Dialogs()[0].text.split('\n').last(), "No serial device is present.");
}

// A name longer than any device path is no port: said at once with its beginning and its
// length, never laid out whole in the box or the status line.
TEST_F(PortsTest, AStoredNameLongerThanAnyPortIsNotTriedAndSaysSo) {
    DeviceTree tree;
    const struct {
        const char* what;
        qsizetype length;
        bool port; // still tried as a device path
    } cases[] = {{"a megabyte", 1 << 20, false},
                 {"one character longer than a port may be", 256, false},
                 {"as long as a port may be", 255, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = "/dev/" + QString(c.length - 5, QLatin1Char('x'));
        const QString shown = c.port ? name : name.left(40) + QChar(0x2026);
        const QString cause =
            c.port ? QStringLiteral("not found \u2014 is the adapter plugged in?")
                   : QStringLiteral("the stored port name is not a port (%1 characters long)")
                         .arg(c.length);
        ModalWatcher boxes;
        TF_Princ* main = Start(name);
        EXPECT_FALSE(main->Decod1->Connected());
        ASSERT_EQ(boxes.Dialogs().size(), 1u);
        const QStringList lines = boxes.Dialogs()[0].text.split('\n');
        EXPECT_TRUE(lines.contains("Device: " + shown));
        EXPECT_TRUE(lines.contains(cause));
        EXPECT_EQ(lines.back(), "No serial device is present.");
        EXPECT_EQ(Status(main), shown + ": not open: " + cause);
        Destruye_Ventanas();
    }
}

TEST_F(PortsTest, AnotherProgramSharingTheDeviceWithoutALockIsNamedOnce) {
    PtyPair pty;
    HolderProcess holder(pty.SlavePath().toLocal8Bit(), "kvx-reader", false);
    ModalWatcher boxes;
    TF_Princ* main = Start(pty.SlavePath());
    EXPECT_TRUE(main->Decod1->Connected()); // opened as always
    ASSERT_EQ(boxes.Dialogs().size(), 1u);
    EXPECT_EQ(boxes.Dialogs()[0].text,
              QStringLiteral("Another program has this device open too: kvx-reader (process %1). "
                             "Its reads take bytes from the line, so read-outs can come back "
                             "empty: close it.")
                  .arg(holder.Pid()));
    EXPECT_EQ(Status(main),
              QStringLiteral("%1: open \u2014 9600 8-O-2, shared with kvx-reader (%2)")
                  .arg(pty.SlavePath())
                  .arg(holder.Pid()));
    // Whole in its tool-tip, for a window too narrow for it.
    auto* status = main->findChild<QLabel*>(QStringLiteral("Estado_Puerto"));
    EXPECT_EQ(status->toolTip(), status->text());
    // The other program ends: said within a few seconds, and then no longer looked for.
    holder.End();
    EXPECT_TRUE(WaitUntil(
        [&] {
            return Status(main) == pty.SlavePath() + QStringLiteral(": open \u2014 9600 8-O-2");
        },
        6000))
        << Status(main).toStdString();
    EXPECT_EQ(status->toolTip(), status->text());
    EXPECT_FALSE(main->findChild<QTimer*>(QStringLiteral("Vigila_Otros"))->isActive());
}

TEST_F(PortsTest, TheStatusLineNamesThePortItsDeviceAndItsState) {
    PtyPair pty;
    ModalWatcher boxes;
    TF_Princ* main = Start(pty.SlavePath());
    EXPECT_TRUE(boxes.Dialogs().empty());
    EXPECT_EQ(Status(main), pty.SlavePath() + QStringLiteral(": open \u2014 9600 8-O-2"));
    Destruye_Ventanas();

    // A COM name shows the device it stands for, whether or not this machine has it.
    main = Start(QStringLiteral("COM4"));
    EXPECT_TRUE(Status(main).startsWith(QStringLiteral("COM4 \u2014 /dev/ttyS3: ")));

    // An adapter is shown by its description.
    DeviceTree tree;
    tree.Usb("ttyUSB0", "FT232R USB UART");
    const QString adapter = tree.ById("usb-FTDI_FT232R_USB_UART_A10K-if00-port0", "ttyUSB0");
    Destruye_Ventanas();
    main = Start(adapter);
    EXPECT_TRUE(Status(main).startsWith(QStringLiteral("FT232R USB UART \u2014 ttyUSB0: ")))
        << Status(main).toStdString();
}

TEST_F(PortsTest, TheMenuListsTheDevicesPresentEachTimeItOpens) {
    DeviceTree tree;
    tree.Usb("ttyUSB0", "FT232R USB UART");
    tree.BuiltIn("ttyS0", 4);
    const QString adapter = tree.ById("usb-FTDI_FT232R_USB_UART_A10K-if00-port0", "ttyUSB0");
    ModalWatcher boxes;
    TF_Princ* main = Start(adapter);
    const QString label = QStringLiteral("FT232R USB UART \u2014 ttyUSB0");
    EXPECT_EQ(PresentItems(main),
              (QStringList{"--", label, tree.Dev("ttyS0"), QStringLiteral("Other port\u2026")}));
    // The check mark follows the stored port; no COM item is checked.
    EXPECT_TRUE(PresentItem(main, label)->isChecked());
    EXPECT_FALSE(PresentItem(main, tree.Dev("ttyS0"))->isChecked());
    for (int n = 1; n <= 4; ++n)
        EXPECT_FALSE(main->findChild<QAction*>(QStringLiteral("COM%1").arg(n))->isChecked());

    // Plugged in while the program runs: there the next time the menu opens, once.
    tree.Usb("ttyACM0", "");
    EXPECT_EQ(PresentItems(main), (QStringList{"--", label, tree.Dev("ttyACM0"), tree.Dev("ttyS0"),
                                               QStringLiteral("Other port\u2026")}));

    // Choosing one behaves as a COM item: stored, and the program ends.
    PresentItem(main, tree.Dev("ttyS0"))->trigger();
    EXPECT_EQ(Sys_Port, tree.Dev("ttyS0"));
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(StoredPort(), tree.Dev("ttyS0"));
}

// Whatever path the port in use was stored by, the menu shows it ticked, and only it.
TEST_F(PortsTest, TheMenuListsAndTicksThePortInUseWhateverItsPath) {
    DeviceTree tree;
    tree.Usb("ttyUSB0", "FT232R USB UART");
    const QString adapter = tree.ById("usb-FTDI_FT232R_USB_UART_A10K-if00-port0", "ttyUSB0");
    const QString label = QStringLiteral("FT232R USB UART \u2014 ttyUSB0");
    const QString other = QStringLiteral("Other port\u2026");
    const struct {
        const char* what;
        QString port;
        QStringList items; // below COM1–COM4
        QStringList ticked;
    } cases[] = {
        {"by-id link", adapter, {"--", label, other}, {label}},
        {"kernel path of the same adapter", tree.Dev("ttyUSB0"), {"--", label, other}, {label}},
        {"typed, not present",
         "/dev/ttyUSB5",
         {"--", label, "/dev/ttyUSB5", other},
         {"/dev/ttyUSB5"}},
        {"a COM name beyond the menu's", "COM12", {"--", label, "COM12", other}, {"COM12"}},
        {"one of the menu's COM names", "COM2", {"--", label, other}, {"COM2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ModalWatcher boxes;
        TF_Princ* main = Start(c.port);
        EXPECT_EQ(PresentItems(main), c.items);
        QStringList ticked;
        for (QAction* a : main->findChild<QMenu*>(QStringLiteral("SerialPort1"))->actions())
            if (a->isChecked())
                ticked << a->text();
        EXPECT_EQ(ticked, c.ticked);
        Destruye_Ventanas();
    }
}

TEST_F(PortsTest, OtherPortAsksForADevicePathAndCancellingChangesNothing) {
    const struct {
        bool accept;
        QString typed;
        QString stored;
        bool ends;
    } cases[] = {{true, " /dev/ttyUSB5 ", "/dev/ttyUSB5", true},
                 {false, "/dev/ttyUSB5", "COM2", false},
                 {true, "   ", "COM2", false}};
    for (const auto& c : cases) {
        QString offered;
        ModalWatcher dialogs([&](QWidget* w) {
            if (auto* ask = qobject_cast<QInputDialog*>(w)) {
                offered = ask->textValue(); // the port in use, to be corrected
                ask->setTextValue(c.typed);
                c.accept ? ask->accept() : ask->reject();
            }
        });
        TF_Princ* main = Start(QStringLiteral("COM2"));
        PresentItems(main);
        main->findChild<QAction*>(QStringLiteral("Otro_Puerto"))->trigger();
        EXPECT_EQ(offered, "COM2");
        EXPECT_EQ(Sys_Port, c.stored) << c.typed.toStdString();
        EXPECT_EQ(main->isVisible(), !c.ends);
        Destruye_Ventanas();
    }
}

// The program started again after a port choice: here the test binary itself, running only
// this test, which waits to be ended.
TEST(RestartedProgram, WaitsToBeEnded) {
    if (!qEnvironmentVariableIsSet("KALVEX_RESTART_MARK"))
        GTEST_SKIP() << "only run as the restarted program";
    for (int i = 0; i < 600; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

bool Running(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const int end = line.lastIndexOf(')');
    return end > 0 && line.mid(end + 2, 1) != "Z";
}

QByteArray EnvironmentOf(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/environ").arg(pid));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(PortsTest, APortOrLanguageChoiceEndsTheProgramAndStartsItAgainWithTheSameEnvironment) {
    const struct {
        const char* what;
        const char* action;
        QString port, language; // stored before the new start
    } cases[] = {{"port", "COM2", "COM2", "ENGLISH"}, {"language", "Language1", "COM1", "DEUTSCH"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray mark = QByteArray::number(::getpid()) + "-" + c.what;
        qunsetenv("KALVEX_NO_RESTART");
        qputenv("KALVEX_RESTART_MARK", mark);
        qputenv("GTEST_FILTER", "RestartedProgram.WaitsToBeEnded");
        ModalWatcher dialogs([](QWidget* w) {
            if (auto* lang = qobject_cast<TF_Lang*>(w)) {
                auto* list = lang->findChild<QTreeWidget*>(QStringLiteral("Lista"));
                for (int i = 0; i < list->topLevelItemCount(); ++i)
                    if (list->topLevelItem(i)->text(0) == QStringLiteral("DEUTSCH"))
                        list->setCurrentItem(list->topLevelItem(i));
                lang->findChild<QPushButton*>(QStringLiteral("B_OK"))->click();
            }
        });
        const qint64 before = TF_Princ::Pid_Reinicio();
        TF_Princ* main = Start(QStringLiteral("COM1"));
        main->findChild<QAction*>(QString::fromLatin1(c.action))->trigger();
        qputenv("KALVEX_NO_RESTART", "1");
        qunsetenv("KALVEX_RESTART_MARK");
        qunsetenv("GTEST_FILTER");

        EXPECT_FALSE(main->isVisible());
        TIniFile settings(config.filePath(QStringLiteral("KALVEX.INI")));
        EXPECT_EQ(settings.ReadString("General", "Sys_Port", {}), c.port);
        EXPECT_EQ(settings.ReadString("General", "Idioma", {}), c.language);
        const qint64 pid = TF_Princ::Pid_Reinicio();
        ASSERT_NE(pid, before);
        ASSERT_GT(pid, 0);
        const bool seen = WaitUntil([&] {
            return Running(pid) && EnvironmentOf(pid).contains("KALVEX_RESTART_MARK=" + mark);
        });
        ::kill(static_cast<pid_t>(pid), SIGKILL);
        EXPECT_TRUE(seen);
        EXPECT_TRUE(WaitUntil([&] { return !Running(pid); }));
        Destruye_Ventanas();
    }
}

TEST_F(PortsTest, WithTheRestartTurnedOffNothingIsStarted) {
    const qint64 before = TF_Princ::Pid_Reinicio();
    ModalWatcher boxes;
    Start(QStringLiteral("COM1"))->findChild<QAction*>(QStringLiteral("COM3"))->trigger();
    EXPECT_EQ(TF_Princ::Pid_Reinicio(), before);
}

// A decoder installation whose adapter is pulled out and plugged back in.
class UnplugTest : public EditorTest {
protected:
    void SetUp() override { Start("[hall]\nmodel = 6745\ncodes = 1111 1112 1113 1114\n"); }
    QString Status() const {
        return main->findChild<QLabel*>(QStringLiteral("Estado_Puerto"))->text();
    }
};

TEST_F(UnplugTest, TheLineIsOpenedAgainWhenTheAdapterIsBackAndTheNextSaveIsAcknowledged) {
    const QString link = config.filePath(QStringLiteral("tty"));
    const qint64 restarts = TF_Princ::Pid_Reinicio();
    TF_Decoder* editor = Ready(Go(6745), "hall");
    EXPECT_EQ(Status(), link + QStringLiteral(": open \u2014 9600 8-O-2"));

    sim->Stop(); // the adapter is pulled out: said without anything being written
    ASSERT_TRUE(WaitUntil([&] {
        return Status() == link + QStringLiteral(": adapter unplugged \u2014 waiting for it");
    })) << Status().toStdString();

    // A transaction that meets the gap fails as any failed write does.
    try {
        main->Decod1->Transact(0xB0, 0x00, 0x12, 0x34, true);
        ADD_FAILURE() << "a transaction went through an unplugged line";
    } catch (const ESerialLine& e) {
        EXPECT_EQ(e.ErrorCode(), ESerialLine::CE_WriteFailed);
    }

    sim->Start(link.toStdString()); // plugged back in, at the same path
    ASSERT_TRUE(WaitUntil(
        [&] { return Status() == link + QStringLiteral(": open again \u2014 9600 8-O-2"); }, 5000))
        << Status().toStdString();
    // The editor still receives the read-out, and the program was not started again.
    EXPECT_EQ(Enrutado().Modelo_Activo, 2);
    EXPECT_EQ(TF_Princ::Pid_Reinicio(), restarts);

    sim->ClearLog();
    Type(editor, {"1234", "1235", "1236", "1237"});
    Save(editor);
    ASSERT_TRUE(WaitDialog(QStringLiteral("F_Mensa05"))) << Trace();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"B0 00 34 12", "B0 02 35 12", "B0 04 36 12",
                                                "B0 06 37 12"}));
}

} // namespace
