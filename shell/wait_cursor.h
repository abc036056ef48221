// The wait cursor over the program's windows while work runs on the UI thread.
#pragma once

#include <QGuiApplication>

namespace mirvane::shell {

class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace mirvane::shell
