#pragma once
// What every benchmark runs in: no display needed, and the settings and the installation
// record in a fresh temporary folder, never the user's.

#include <QTemporaryDir>

class BenchFolders {
public:
    BenchFolders() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("KALVEX_CONFIG_DIR", dir_.path().toLocal8Bit());
        qputenv("KALVEX_DATA_DIR", dir_.path().toLocal8Bit());
    }
    bool Valid() const { return dir_.isValid(); }
    QString Path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};
