#include "export/export_job.h"

#include <thread>
#include <utility>

#include "export/export_sheet.h"

namespace mirvane {

void RunExportJob(std::unique_ptr<ExportJob> job) noexcept {
    bool written = false;
    try {
        written =
            ExportSheetToPng(job->sheet, job->columns, job->width, job->language, job->targetPath);
    } catch (...) {
        // A geometry refused, memory exhausted, anything else: the file was not written.
        written = false;
    }
    try {
        if (job->report) {
            job->report(written);
        }
    } catch (...) {
        // Posting failed (out of memory): the UI cannot be told, but the thread must end cleanly.
    }
    job.reset();
}

bool StartExportThread(std::unique_ptr<ExportJob> job) {
    try {
        // The thread owns the job from here; a failed start destroys it with the thread object.
        std::thread worker(RunExportJob, std::move(job));
        worker.detach();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace mirvane
