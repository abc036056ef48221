// One export on its own worker thread: the job it owns and the thread's body.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "localization/ui_language.h"
#include "sheet/sheet.h"

namespace mirvane {

// Everything one export needs. It belongs to exactly one thread at a time: the UI thread fills
// it, then it moves to the worker, which destroys it there.
struct ExportJob {
    Sheet sheet;  // a snapshot: its frames share the photographs with the current sheet
    int columns = 2;
    int width = 3000;
    UiLanguage language = UiLanguage::English;
    std::filesystem::path targetPath;
    // Hands the outcome back to the UI thread. Called once, on the worker, and must only post:
    // the worker never waits for the UI thread.
    std::function<void(bool written)> report;
};

// The worker thread's body: writes the sheet to the job's target, reports whether the whole file
// is there, and destroys the job, which lets go of the snapshot's photographs. Nothing escapes:
// an exception counts as a failed export.
void RunExportJob(std::unique_ptr<ExportJob> job) noexcept;

using ExportThreadStarter = std::function<bool(std::unique_ptr<ExportJob>)>;

// Starts a detached thread running RunExportJob with `job`; nothing ever joins it. False when the
// thread cannot be started, and the job is then discarded without reporting.
bool StartExportThread(std::unique_ptr<ExportJob> job);

}  // namespace mirvane
