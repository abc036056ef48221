// The program's push buttons: flat faces painted by us, in the window's palette.
#pragma once

#include <QAbstractButton>
#include <QPaintDevice>
#include <QSize>
#include <QString>

namespace mirvane::shell {

// Everything a button's look depends on.
struct OwnerButtonState {
    QSize size;  // the button's own rectangle starts at 0, 0
    QString caption;
    bool primary = false;
    bool pressed = false;
    bool enabled = true;
    bool focused = false;
};

// Paints one button onto `target`: the face, the caption centred and wrapping onto further
// lines when it is too wide, and a dotted focus rectangle 3 pixels inside the edge.
void DrawOwnerButton(QPaintDevice& target, const OwnerButtonState& state);

class OwnerButton : public QAbstractButton {
  public:
    // Tags itself with `controlId`; ids 102, 106 and 303 get the primary look.
    OwnerButton(int controlId, const QString& caption, QWidget* parent);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool primary_;
};

}  // namespace mirvane::shell
