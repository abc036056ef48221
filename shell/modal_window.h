// The two small modal windows: the open-pair window, where a pair file's path is typed or
// pasted, and the help window. At most one exists at a time.
#pragma once

#include <QLabel>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

#include "localization/ui_language.h"
#include "localization/ui_text.h"
#include "shell/control_ids.h"

namespace mirvane::shell {

enum class ModalKind { OpenPair = 0, Help = 1 };

// Where a modal window's frame sits, from the top-left corner of its owner's frame.
inline constexpr QPoint kModalOffset(180, 90);

// The open modal window, or nullptr. UI thread only.
QWidget* OpenModal();

// Opens the window of `kind`, owned by `owner` and modal to it, in the language current now.
// Refused without a word while a modal window is open or while an export runs.
void OpenModalWindow(QWidget& owner, ModalKind kind);

// What both windows share: a fixed-size paper-coloured dialog owned by `owner` that blocks its
// input, placed at kModalOffset from it, taking no drops unless it says so. Escape, Cancel (304)
// and the close box close it; closing deletes it and hands the activation back to the owner. Its
// texts stay in the language current when it was made.
class ModalWindow : public QWidget {
  public:
    ~ModalWindow() override;

  protected:
    ModalWindow(QWidget& owner, const QString& title, QSize clientSize);

    // What Enter does: nothing unless the window says otherwise.
    virtual void Accept() {}

    // What the window shows when one of its handlers throws: nothing unless it says otherwise.
    virtual void ShowFailure() {}

    // Runs `work`; an exception escaping it ends here and is shown by ShowFailure.
    void RunInWindow(const std::function<void()>& work);

    // A text in the window's language.
    QString Text(TextId id) const { return UiTextIn(id, language_); }
    UiLanguage Language() const { return language_; }

    // A left-aligned, word-wrapping line of text at `rect`, tagged with `id` when it has one.
    QLabel* AddLabel(const QString& text, const QRect& rect, int id = 0);

    // The Cancel button (304) at `rect`; it closes the window.
    void AddCancelButton(const QRect& rect);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    const UiLanguage language_;
};

}  // namespace mirvane::shell
