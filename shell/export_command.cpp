#include "shell/export_command.h"

#include <QCoreApplication>
#include <QPointer>
#include <new>
#include <utility>

#include "export/export_names.h"
#include "export/exports_folder.h"
#include "localization/status_line.h"
#include "sheet/current_sheet.h"
#include "sheet/export_gate.h"
#include "shell/export_busy.h"
#include "shell/selectors.h"

namespace mirvane::shell {
namespace {

constexpr char kPngExtension[] = ".png";

// Posts the outcome to the UI thread. The application object outlives every window, so it
// receives the call; the guarded pointer is only looked at there, once the window may be gone.
std::function<void(bool)> ReportTo(QWidget& window) {
    return [target = QPointer<QWidget>(&window)](bool written) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [target, written] {
                if (target) {
                    FinishExport(*target, written);
                }
            },
            Qt::QueuedConnection);
    };
}

// The snapshot and everything else the worker needs; nullptr when memory runs out.
std::unique_ptr<ExportJob> MakeJob(QWidget& window, std::filesystem::path target) {
    try {
        auto job = std::make_unique<ExportJob>();
        job->sheet = currentSheet;  // shares the photographs: no bytes or pixels are copied
        job->columns = SelectedColumnCount(window);
        job->width = SelectedPngWidth(window);
        job->language = uiLanguage;
        job->targetPath = std::move(target);
        job->report = ReportTo(window);
        return job;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

void StartExport(QWidget& window, const ExportThreadStarter& start) {
    if (exportBusy || currentSheet.frames.size() < 2) {
        return;
    }
    if (!EnsureExportsFolder()) {
        SetStatus(TextId::ExportFailedStatus, true);
        return;
    }
    std::filesystem::path target = MakeUniqueExportPath(exportsFolder, kPngExtension);
    if (target.empty()) {
        SetStatus(TextId::ExportFailedStatus, true);
        return;
    }

    // The job is made before the controls grey, so a refusal has nothing to undo but the gate.
    std::unique_ptr<ExportJob> job = MakeJob(window, std::move(target));
    SetExportBusy(window, true);
    SetStatusText(ExportProgressStatus(uiLanguage), false);
    if (job == nullptr || !start(std::move(job))) {
        SetExportBusy(window, false);
        SetStatus(TextId::ExportFailedStatus, true);
    }
}

void FinishExport(QWidget& window, bool written) {
    SetExportBusy(window, false);
    if (written) {
        SetStatus(TextId::ExportDoneStatus, false);
    } else {
        SetStatus(TextId::ExportFailedStatus, true);
    }
}

}  // namespace mirvane::shell
