// The program's file dialogs never open the files they list: the open installation record
// would lose its locks (and another program could then delete its journal).

#include "Dialogo_Fichero.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

QApplication& Aplicacion() {
    static int argc = 1;
    static char nombre[] = "ui_file_dialog_test";
    static char* argv[] = {nombre, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// Tells whether anything opened the file since the watch began.
class Aperturas {
public:
    explicit Aperturas(const QString& fichero) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(fd_, QFile::encodeName(fichero).constData(), IN_OPEN);
    }
    ~Aperturas() { ::close(fd_); }
    bool Alguna() {
        alignas(inotify_event) char buf[4096];
        if (::read(fd_, buf, sizeof buf) > 0)
            abierto_ = true;
        return abierto_;
    }

private:
    int fd_;
    bool abierto_ = false;
};

QString Registro_En(const QTemporaryDir& carpeta) {
    const QString fichero = carpeta.filePath("site.kalvex");
    QFile f(fichero);
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\0'));
    return fichero;
}

TEST(FileDialogs, ListTheRecordWithoutOpeningIt) {
    Aplicacion();
    // Qt's own dialog reads each file it lists: the time it takes to do so is how long ours
    // is watched.
    QTemporaryDir otra;
    Aperturas del_comun(Registro_En(otra));
    QElapsedTimer reloj;
    reloj.start();
    {
        QFileDialog comun(nullptr, "plain", otra.path());
        comun.setOption(QFileDialog::DontUseNativeDialog);
        comun.show();
        const QDeadlineTimer plazo(10000);
        while (!del_comun.Alguna() && !plazo.hasExpired())
            QTest::qWait(20);
        ASSERT_TRUE(del_comun.Alguna()) << "Qt's dialog no longer reads the files it lists";
    }
    const int espera = std::max<int>(500, 3 * static_cast<int>(reloj.elapsed()));

    QTemporaryDir carpeta;
    Aperturas del_programa(Registro_En(carpeta));
    TDialogo_Fichero dialogo(nullptr, "ours", carpeta.path());
    dialogo.setViewMode(QFileDialog::Detail); // the type column too
    dialogo.show();
    QTest::qWait(espera);
    EXPECT_FALSE(del_programa.Alguna());
}

} // namespace
