// The open-pair window: one pair file's path, typed or pasted, becomes the sheet.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <span>

#include "sheet/sheet.h"
#include "shell/modal_window.h"

namespace mirvane::shell {

inline constexpr QSize kOpenPairClientSize(694, 326);
inline constexpr int kMaxPairPathLength = 32760;

// The typed path as the import gets it: one pair of double quotes around it, as a file manager
// copies a path, is taken off. Nothing else is trimmed.
QString UnquotedPath(const QString& typed);

// Imports the pair files of `paths` as a sheet, or nothing.
using PairImport = std::function<std::optional<Sheet>(std::span<const QString> paths)>;

class OpenPairWindow : public ModalWindow {
  public:
    // `import` is the pair import unless a test needs another.
    explicit OpenPairWindow(QWidget& owner, PairImport import = {});

  protected:
    // Opens the typed path: on success the new sheet, the ready status and the window closes;
    // otherwise the error line, with the path kept and the main status line untouched.
    void Accept() override;
    void ShowFailure() override;

  private:
    PairImport import_;
    QLineEdit* path_;
    QLabel* error_;
};

}  // namespace mirvane::shell
