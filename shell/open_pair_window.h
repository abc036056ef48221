// The open-pair window: one pair file's path, typed, pasted or chosen, becomes the sheet; so do
// one to three pair files dropped onto it.
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
#include "shell/pair_file_chooser.h"

class QMimeData;

namespace mirvane::shell {

inline constexpr QSize kOpenPairClientSize(694, 326);
inline constexpr int kMaxPairPathLength = 32760;

// The typed path as the import gets it: one pair of double quotes around it, as a file manager
// copies a path, is taken off. Nothing else is trimmed.
QString UnquotedPath(const QString& typed);

// The path the import gets for the path box's text: the unquoted text, or for a file:// URL
// (as a file manager copies and drags one) the local path it names. A file URL of another
// machine gives an empty path, which the import refuses.
QString PairPathOfText(const QString& text);

// Imports the pair files of `paths` as a sheet, or nothing.
using PairImport = std::function<std::optional<Sheet>(std::span<const QString> paths)>;

class OpenPairWindow : public ModalWindow {
  public:
    // `import` is the pair import and `choose` the desktop's file chooser unless a test needs
    // others.
    explicit OpenPairWindow(QWidget& owner, PairImport import = {}, FileChooser choose = {});

  protected:
    // Opens the typed path: on success the new sheet, the ready status and the window closes;
    // otherwise the error line, with the path kept and the main status line untouched.
    void Accept() override;
    void ShowFailure() override;

    // Dropped onto the path box, one item or a text goes into the box, to be opened as typed;
    // anywhere else, files are opened as a drop onto the main window opens them. Copies only.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Imports `paths`, then as Accept.
    void Open(std::span<const QString> paths);
    // The chooser, from the folder of the path in the box; a chosen file's path fills the box.
    void Browse();
    // Whether a drop of `data` at `position` goes into the path box, or is opened.
    bool FillsPathBox(const QMimeData& data, QPoint position) const;
    bool TakesDrop(const QMimeData& data, QPoint position) const;

    PairImport import_;
    FileChooser choose_;
    QLineEdit* path_;
    QLabel* error_;
};

}  // namespace mirvane::shell
