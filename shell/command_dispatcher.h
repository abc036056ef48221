// The one place where the controls' signals become commands, keyed by control id, and the one
// boundary where an exception from a command or an event of the window is caught.
#pragma once

#include <QWidget>
#include <functional>
#include <unordered_map>

namespace mirvane::shell {

// What happened to the control, passed along with its id.
inline constexpr int kClicked = 0;           // a button was pressed
inline constexpr int kSelectionChanged = 1;  // a selector shows another item

// Runs `work`. An exception escaping it is caught here and shows the pair error text as an
// error status; the window stays usable. False when one was caught.
bool RunGuarded(const std::function<void()>& work);

class CommandDispatcher {
  public:
    using Command = std::function<void(int notification)>;

    // The command run for control `id`; replaces an earlier one.
    void Set(int id, Command command);

    // Runs the command of `id` through RunGuarded; nothing for an id without one.
    void Dispatch(int id, int notification) const;

    // Feeds every button click and selector change of `window`'s controls to Dispatch. The
    // year list is left out: ticking is read when composing, never reacted to.
    void Connect(QWidget& window) const;

  private:
    std::unordered_map<int, Command> commands_;
};

}  // namespace mirvane::shell
