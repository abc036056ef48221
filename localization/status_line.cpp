#include "localization/status_line.h"

#include <utility>

namespace mirvane {
namespace {

QString currentText;
bool currentIsError = false;
std::function<void()> repaintHook;

}  // namespace

const QString& statusText = currentText;
const bool& statusIsError = currentIsError;

void SetStatusText(const QString& text, bool isError) {
    currentText = text;
    currentIsError = isError;
    if (repaintHook) {
        repaintHook();
    }
}

void SetStatus(TextId id, bool isError) {
    SetStatusText(UiText(id), isError);
}

void SetStatusRepaintHook(std::function<void()> repaint) {
    repaintHook = std::move(repaint);
}

}  // namespace mirvane
