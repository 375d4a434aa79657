#pragma once
// A benchmark's installation: the simulator on a pseudo-terminal in the benchmark's folder,
// paced as a real line, and the settings naming it as the program's port.

#include "BenchFolders.h"
#include "BusSimulator.h"
#include "TIniFile.h"

#include <memory>
#include <string>

inline std::unique_ptr<kalvex::sim::BusSimulator> Simulated_Line(const BenchFolders& folders,
                                                                 const std::string& installation) {
    auto sim = std::make_unique<kalvex::sim::BusSimulator>(
        kalvex::sim::ParseInstallation(installation, "bench"));
    const QString line = folders.Path(QStringLiteral("tty"));
    sim->Start(line.toStdString());
    sim->SetPacing(true);
    TIniFile(folders.Path(QStringLiteral("KALVEX.INI"))).WriteString("General", "Sys_Port", line);
    return sim;
}
