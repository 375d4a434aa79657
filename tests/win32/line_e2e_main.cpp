// kalvex_line_e2e <port>: one installer's session on the line, through the program's own
// decoder link, for scripts/test-windows.sh to run under Wine against the simulator. The
// simulator's trace is compared with what the line must carry; this program checks the
// replies. The simulator's decoder serves code 1001 and answers nothing for register 04.
//
// 1. re-programming request for 1001; the decoder reads out and every frame is acknowledged;
// 2. a Save of registers 00, 02, 04, 06: 04 gets its three attempts and is reported failed,
//    the others return with their reply;
// 3. a devices-test query of 1001.
// Exit status 0 when every reply was as expected.

#include "DECODER2.h"
#include "UComunicaciones.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

int failures = 0;

void Expect(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    std::fflush(stdout);
    if (!ok)
        ++failures;
}

template <typename Cond> bool Until(Cond cond, int withinMs) {
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < withinMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return cond();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kalvex_line_e2e <port>\n");
        return 2;
    }
    TDECODER2 line;
    Asigna_Enlace(&line);
    int readOut = 0;
    bool identified = false;
    // As the program's read-out does: every decoder-initiated frame is acknowledged.
    line.OnDECRecibedNotDemand = [&](QObject*, Trama_Dec f) {
        line.Envia_Trama(Trama_Dec(0x20, f[0], f[2], f[3]));
        if (f[0] == 0x40)
            identified = true;
        else
            ++readOut;
    };
    try {
        line.SetPort(QString::fromLocal8Bit(argv[1]));
        line.Open();
        Expect(line.SettingsText() == QLatin1String("9600 8-O-2"), "open at 9600 8-O-2");

        Solicita_Programacion(QStringLiteral("1001"));
        Expect(Until([&] { return identified; }, 5000), "read-out ends with identification");
        Expect(readOut == 4, "read-out of four values");

        const bool expected[] = {true, true, false, true};
        for (uint8_t reg = 0; reg < 8; reg += 2) {
            QElapsedTimer took;
            took.start();
            const Trama_Dec r = line.Transact(0xB0, reg, 0x10, reg, true);
            const bool accepted = r == Trama_Dec(0x20, reg, reg, 0x10);
            Expect(accepted == expected[reg / 2], accepted ? "write accepted" : "write failed");
            // An answered request ends with its reply, not with the reply window.
            if (accepted)
                Expect(took.elapsed() < TDECODER2::Espera_Respuesta_ms * 3 / 4,
                       "write acknowledged before its reply window ended");
        }

        uint8_t data = 0;
        Expect(Interroga_Dispositivo(QStringLiteral("1001"), data), "devices-test query answered");
        line.Close();
    } catch (const std::exception& e) {
        std::printf("FAILED: %s\n", e.what());
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
