// The Export PNG command and its completion, both on the UI thread. The work between them runs
// on a worker thread of its own.
#pragma once

#include <QWidget>

#include "export/export_job.h"

namespace mirvane::shell {

// The Export PNG command. Does nothing while an export runs or when the sheet has fewer than two
// frames. Otherwise makes sure of the exports folder and a free name (the export failure status
// when either cannot be had), snapshots the current sheet with the selectors and the language,
// greys the busy controls, shows the progress text and hands the job to `start`. When the thread
// cannot start, the controls come back and the failure status shows. The outcome arrives later
// as FinishExport on `window`, queued to the UI thread.
void StartExport(QWidget& window, const ExportThreadStarter& start = StartExportThread);

// The completion: the controls come back and the status says whether the file was written, in
// the language current now.
void FinishExport(QWidget& window, bool written);

}  // namespace mirvane::shell
