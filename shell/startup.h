// The program from start to end: language, single instance, application, fonts, the window and
// its loop, then shutdown.
#pragma once

#include <QString>
#include <functional>

namespace mirvane::shell {

class MainWindow;

inline constexpr int kExitNormal = 0;          // a normal end, or handed over to a running start
inline constexpr int kExitNoFonts = 2;         // the imaging layer could not start: its fonts,
inline constexpr int kExitNoImageThreads = 2;  // or its threads
inline constexpr int kExitNoMainWindow = 3;    // the main window could not be made

struct StartupOptions {
    // The single-instance name; empty for the per-user name. Lets tests and benchmarks run
    // beside a Mirvane the user has open.
    QString instanceName;
    // Runs once the window is shown, before the loop; for tests and benchmarks.
    std::function<void(MainWindow&)> windowShown;
};

// Runs Mirvane and returns the process exit code. `argc` and `argv` go to the application
// object, which keeps them; nothing of the command line is read.
int RunMirvane(int& argc, char** argv, const StartupOptions& options = {});

}  // namespace mirvane::shell
