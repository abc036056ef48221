#!/usr/bin/env bash
# Mirvane in real desktop sessions, started here headless from Debian packages: X11 (Xvfb and
# openbox) with and without a notification area, X11 with the accessibility bus driven as an
# assistive tool drives it, Wayland under mutter (twice: the second time with a launcher's
# activation tokens) and under weston, and no display at all. Each session runs in a network
# namespace of its own (so the single-instance name, an abstract socket, is private to it) with a
# private session bus, runtime folder and home, within a time limit; every process it starts is
# ended by its id on every path.
#
#   desktop_sessions.sh BUILD_DIR [SESSION...]     sessions: no-display x11-tray x11-no-tray
#                                                   x11-xembed-tray x11-accessibility mutter
#                                                   mutter-activation weston (all by default)
# Screenshots and logs stay in BUILD_DIR/desktop-sessions/SESSION.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
shift
mirvane=$build/shell/mirvane
# Each session's time limit, several times what it takes (2 to 10 s here); together, with their
# grace, they keep even a stuck run under five minutes.
session_limit() {
  case $1 in
    no-display) echo 10 ;;
    x11-tray) echo 40 ;;
    x11-no-tray) echo 30 ;;
    x11-xembed-tray) echo 25 ;;
    x11-accessibility) echo 45 ;;
    mutter) echo 35 ;;
    mutter-activation) echo 35 ;;
    weston) echo 45 ;;
  esac
}

# --- The outer run: one namespace, bus and time limit per session. ---
if [ "${MIRVANE_SESSION_INSIDE:-}" = "" ]; then
  # Without the right to make a namespace, the sessions' distinct displays and socket names
  # (which carry this run's id) still keep two runs apart.
  isolate=(unshare -n --)
  unshare -n -- true 2>/dev/null || isolate=()
  sessions=("$@")
  [ ${#sessions[@]} -gt 0 ] ||
    sessions=(no-display x11-tray x11-no-tray x11-xembed-tray x11-accessibility mutter
      mutter-activation weston)
  failed=()
  for session in "${sessions[@]}"; do
    out=$build/desktop-sessions/$session
    rm -rf "$out" && mkdir -p "$out"
    echo "== session $session"
    # The inner run ends itself before this limit; the limit catches what would not.
    seconds=$(session_limit "$session")
    MIRVANE_SESSION_INSIDE=$session MIRVANE_SESSION_SECONDS=$seconds timeout -k 2 $((seconds + 3)) \
      "${isolate[@]}" dbus-run-session --config-file="$here/private_session_bus.conf" -- \
      bash "$0" "$build" "$out" </dev/null
    rc=$?
    [ $rc -eq 0 ] || failed+=("$session (exit $rc)")
  done
  if [ ${#failed[@]} -gt 0 ]; then
    echo "desktop sessions failed: ${failed[*]}"
    exit 1
  fi
  echo "desktop sessions: all passed"
  exit 0
fi

# --- The inner run: one session, on the private bus dbus-run-session gave us. ---
session=$MIRVANE_SESSION_INSIDE
out=$1
cd "$out" || exit 1
mkdir -m 700 run home
pids=()
failures=0

end_all() {
  local pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill -TERM "${pids[i]}" 2>/dev/null
  done
  for pid in "${pids[@]}"; do
    # A process that ignores the request is not waited on for more than two seconds.
    for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  pids=()
}
trap end_all EXIT
trap 'echo "session $session: out of time"; exit 124' ALRM
# The whole session's time limit, on every path: the watchdog is ended with the rest.
(
  trap 'kill "$nap" 2>/dev/null; exit 0' TERM
  sleep "$MIRVANE_SESSION_SECONDS" &
  nap=$!
  wait "$nap" && kill -ALRM $$
) &
pids+=($!)

# Starts a command in the background with its output in LOG and records its id in $started.
start() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 &
  started=$!
  pids+=("$started")
}

# Waits, at most SECONDS, until the command succeeds.
within() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

check() {
  local what=$1
  shift
  if "$@"; then
    echo "  ok   $what"
  else
    echo "  FAIL $what"
    failures=$((failures + 1))
  fi
}

ended_with() {  # PID CODE: the process ended by itself with CODE
  local code
  kill -0 "$1" 2>/dev/null && return 1
  wait "$1"
  code=$?
  [ "$code" -eq "$2" ] || { echo "  (exit code $code)"; return 1; }
}
running() { kill -0 "$1" 2>/dev/null; }

# The environment every start of Mirvane gets: nothing of the caller's desktop, no leak report
# (the desktop's own libraries keep memory until exit; the unit tests look for our leaks).
export HOME=$out/home XDG_RUNTIME_DIR=$out/run XDG_DATA_HOME=$out/home/data
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY XDG_SESSION_ID XDG_SESSION_TYPE \
  DESKTOP_STARTUP_ID XDG_ACTIVATION_TOKEN QT_QPA_PLATFORMTHEME GTK_THEME

# --- X11 ---

start_x11() {
  start xvfb.log Xvfb -displayfd 5 -screen 0 1600x1000x24 -nolisten tcp 5>display
  within 20 test -s display || return 1
  export DISPLAY=:$(head -n1 display)
  start openbox.log openbox --sm-disable
  within 20 wmctrl -m >/dev/null 2>&1
}

# The managed window of process PID (or of any process) titled TITLE, as a hexadecimal id.
x11_window() {
  wmctrl -lp 2>/dev/null | awk -v pid="$1" -v title="$2" \
    '$3 == pid || pid == "any" { t = $5; for (i = 6; i <= NF; i++) t = t " " $i; if (t == title) print $1 }' |
    head -n1
}
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'; }
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
is_unmapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsUnMapped'; }
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(($1))" ]; }
# Minimized to the taskbar, never withdrawn: the window manager still holds it.
is_minimized() { [ "$(wm_state "$1")" = Iconic ]; }
no_window_titled() { [ -z "$(x11_window "$1" "$2")" ]; }
has_window_titled() { [ -n "$(x11_window "$1" "$2")" ]; }
# Starts Mirvane with its output in LOG, after the words before it (such as env VAR=value), and
# waits for its window: the process id is then in $started, the window in $window.
start_mirvane_window() {
  local log=$1
  shift
  start "$log" "$@" "$mirvane"
  window=
  within 30 has_window_titled "$started" Mirvane && window=$(x11_window "$started" Mirvane)
  [ -n "$window" ] || { echo "  FAIL no window appeared ($log)"; return 1; }
}

# Clicks the window's logical point (x, y), or presses a key with `key KEY`, until the command
# succeeds, at most 30 seconds: input that comes before the program has seen its window mapped
# again goes nowhere.
click_until() {
  local window=$1 x=$2 y=$3
  shift 3
  local deadline=$((SECONDS + 30))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    if [ "$window" = key ]; then
      xdotool key "$x"
    else
      xdotool mousemove --window "$window" "$x" "$y" click 1
    fi
    within 2 "$@" && return 0
  done
}
press_until() { click_until key "$1" 0 "${@:2}"; }
# The buttons sit at fixed places from the window's right edge.
readonly client_width=1164
click_help() { click_until "$1" $((client_width - 285 + 35)) 51 "${@:2}"; }
click_hide() { click_until "$1" $((client_width - 205 + 52)) 51 "${@:2}"; }
click_exit() { click_until "$1" $((client_width - 90 + 32)) 51 "${@:2}"; }

# A launcher's startup id carries the launch time: the X server counts milliseconds of the
# monotonic clock, which is what /proc/uptime shows.
uptime_ms() { awk '{ printf "%d", $1 * 1000 }' /proc/uptime; }

# A second start in this session: it must hand over and end with 0 without a window of its own.
second_start() {
  local log=$1
  shift
  env "$@" timeout 30 "$mirvane" >"$log" 2>&1
}

# Reads the pixels of the year list's first year and of the place selector: body ink on paper.
theme_pixels() {
  local window=$1 shot=$2 years place
  import -window "$window" "$shot" || return 1
  years=$("$here/screen_pixels.py" probe "$shot" 44 239 40 13)
  place=$("$here/screen_pixels.py" probe "$shot" 28 165 140 17)
  echo "$years / $place" >theme-pixels.log
  # Body ink is luma 44 and paper 243: text must be dark, the background light.
  read -r years_min years_mean <<<"$years"
  read -r place_min place_mean <<<"$place"
  [ "$years_min" -lt 100 ] && [ "$years_mean" -gt 170 ] && [ "$place_min" -lt 100 ] &&
    [ "$place_mean" -gt 200 ]
}

session_x11_tray() {
  start_x11 || { echo "  FAIL the X server or openbox did not start"; return 1; }
  start watcher.log "$build/tests/desktop/mirvane_status_notifier_watcher"
  local watcher=$started
  within 20 grep -q '^ready' watcher.log || { echo "  FAIL the watcher did not start"; return 1; }

  # With the GTK platform theme on its dark variant, as a user of a dark desktop has it.
  local window
  start_mirvane_window first.log env QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark || return 1
  local first=$started
  check "the window shows with its tray icon" within 20 grep -q '^item ' watcher.log
  # Until the window has painted (a fault shows on every paint).
  check "dark GTK theme: body ink on paper in the year list and the place selector" \
    within 20 theme_pixels "$window" x11-dark-gtk.png
  echo "  (least/mean luma of the year text / the place selector: $(cat theme-pixels.log))"

  wmctrl -i -c "$window"
  check "the close box hides to the tray" within 20 is_unmapped "$window"
  check "the program keeps running" running "$first"
  # Startup-notification messages go to the root window, where xev sees them.
  start xev.log xev -root -event property
  within 5 xev_listens
  check "a second start ends with 0" \
    second_start second.log "DESKTOP_STARTUP_ID=mirvane-test-$$_TIME$(uptime_ms)"
  check "... and restores and activates the window" within 20 is_active "$window"
  check "... and ends the launcher's startup feedback" \
    within 20 grep -q '_NET_STARTUP_INFO_BEGIN' xev.log
  check "... showing nothing of its own" test "$(wmctrl -l | grep -c ' Mirvane$')" -eq 1

  check "Hide to tray hides to the tray" click_hide "$window" is_unmapped "$window"
  second_start second2.log
  within 20 is_active "$window"
  check "Escape hides to the tray" press_until Escape is_unmapped "$window"
  second_start second3.log
  within 20 is_active "$window"
  import -window root x11-tray.png
  check "Exit ends the program with 0" click_exit "$window" ended_with "$first" 0

  # The notification area goes while the program runs: the next close ends it.
  start_mirvane_window again.log || return 1
  local again=$started
  within 30 two_items
  kill -TERM "$watcher"
  wait "$watcher" 2>/dev/null
  check "the icon leaves with the notification area" within 20 icon_gone
  wmctrl -i -c "$window"
  check "then the close box ends the program with 0" within 20 ended_with "$again" 0
  if running "$again"; then
    echo "  (still running, its window $(is_unmapped "$window" && echo hidden || echo shown))"
  fi

  # No notification area at the start, one later (a panel that starts after the program): the
  # icon goes there, and the next close hides to it.
  start_mirvane_window late.log || return 1
  local late=$started
  start watcher-late.log "$build/tests/desktop/mirvane_status_notifier_watcher"
  within 20 grep -q '^ready' watcher-late.log || { echo "  FAIL the watcher did not start"; return 1; }
  check "a notification area that appears after the start takes the icon" \
    within 20 grep -q '^item ' watcher-late.log
  wmctrl -i -c "$window"
  check "... and the close box then hides to it" within 20 is_unmapped "$window"
  second_start second-late.log
  within 20 is_active "$window"
  check "... and Exit ends the program with 0" click_exit "$window" ended_with "$late" 0
}

# xev has seen a property of ours change on the root window, so it listens there.
xev_listens() {
  xprop -root -f _MIRVANE_TEST_PING 8s -set _MIRVANE_TEST_PING x &&
    grep -q _MIRVANE_TEST_PING xev.log
}

two_items() { [ "$(grep -c '^item ' watcher.log)" -eq 2 ]; }

# No status notifier item of ours is left on the bus.
icon_gone() {
  ! dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.ListNames | grep -q 'org.kde.StatusNotifierItem'
}

session_x11_no_tray() {
  start_x11 || { echo "  FAIL the X server or openbox did not start"; return 1; }
  local window
  start_mirvane_window first.log || return 1
  local first=$started
  import -window root x11-no-tray.png
  check "Hide to tray minimizes (the window manager keeps it)" \
    click_hide "$window" is_minimized "$window"
  check "a second start ends with 0" second_start second.log DESKTOP_STARTUP_ID=mirvane-test-$$
  check "... and restores and activates the window" within 20 is_active "$window"
  check "Escape minimizes" press_until Escape is_minimized "$window"
  second_start second2.log
  within 20 is_active "$window"

  # Shown but behind another window that has the focus: a second start raises it, with the
  # launcher's time.
  start other.log xmessage -title mirvane-test-other "another program"
  local other
  # xmessage names no process id on its window: any process's window of that title.
  within 20 has_window_titled any mirvane-test-other
  other=$(x11_window any mirvane-test-other)
  within 20 is_active "$other"
  check "a second start activates the shown window from behind another" \
    second_start second-shown.log "DESKTOP_STARTUP_ID=mirvane-test-$$_TIME$(uptime_ms)"
  check "... which then has the focus" within 20 is_active "$window"

  # A modal window keeps the keyboard when its owner is activated.
  check "Help opens" click_help "$window" has_window_titled "$first" "Mirvane 1.0"
  local help
  help=$(x11_window "$first" "Mirvane 1.0")
  second_start second3.log
  check "a second start with Help open activates Help" within 20 is_active "$help"
  check "... so Escape closes Help" press_until Escape no_window_titled "$first" "Mirvane 1.0"
  check "... and the main window stays" is_viewable "$window"

  wmctrl -i -c "$window"
  check "the close box ends the program with 0" within 20 ended_with "$first" 0
}

# An X11 system tray (XEmbed, trayer) that starts after the program, with no D-Bus one at all.
session_x11_xembed_tray() {
  start_x11 || { echo "  FAIL the X server or openbox did not start"; return 1; }
  local window
  start_mirvane_window first.log || return 1
  local first=$started
  start trayer.log trayer --edge top --align right --widthtype pixel --width 100 --height 24
  within 20 tray_owned || { echo "  FAIL trayer did not take the tray"; return 1; }
  wmctrl -i -c "$window"
  check "the close box hides to a system tray that came after the start" \
    within 20 is_unmapped "$window"
  check "... and the program keeps running" running "$first"
  import -window root x11-xembed-tray.png
  check "a second start restores and activates the window" \
    second_start second.log "DESKTOP_STARTUP_ID=mirvane-test-$$_TIME$(uptime_ms)"
  within 20 is_active "$window"
  check "Exit ends the program with 0" click_exit "$window" ended_with "$first" 0
}
# The screen's system-tray selection has an owner.
tray_owned() {
  /usr/bin/python3 -c 'import sys; from Xlib import display; d = display.Display()
sys.exit(d.get_selection_owner(d.intern_atom("_NET_SYSTEM_TRAY_S0")) == 0)' 2>/dev/null
}

# Mirvane in English and in German, driven through the accessibility bus and the keyboard alone.
session_x11_accessibility() {
  start_x11 || { echo "  FAIL the X server or openbox did not start"; return 1; }
  start_accessibility_bus || { echo "  FAIL the accessibility bus did not start"; return 1; }
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  local language locale pid window
  for language in en de; do
    [ "$language" = en ] && locale=en_US || locale=de_DE
    start_mirvane_window "mirvane-$language.log" env LANGUAGE=$locale || return 1
    pid=$started
    check "$language: years ticked and Compose sheet pressed through their actions; the status bar and the preview's name tell" \
      timeout 40 /usr/bin/python3 "$here/atspi_compose.py" "$language" 2006 2018 2>>"atspi-$language.log"
    sed 's/^/  (/; s/$/)/' "atspi-$language.log"
    within 20 is_active "$window"
    check "$language: F1 opens Help" press_until F1 has_window_titled "$pid" "Mirvane 1.0"
    check "$language: ... and Escape closes it" press_until Escape no_window_titled "$pid" "Mirvane 1.0"
    check "$language: Ctrl+Q ends the program with 0" press_until ctrl+q ended_with "$pid" 0
  done
}

# --- Wayland ---

atspi_windows() { /usr/bin/python3 "$here/atspi_windows.py" 2>>atspi.log; }
# The accessibility bus shows exactly one window titled Mirvane for each PID given, each sized
# within the session's range $sizes ("least-width least-height most-width most-height").
atspi_shows() {
  local listed
  listed=$(atspi_windows)
  echo "$listed" >atspi-last.log
  [ "$(echo "$listed" | grep -c .)" -eq $# ] || return 1
  local pid
  for pid in "$@"; do
    echo "$listed" | awk -v pid="$pid" -v sizes="$sizes" '
      BEGIN { split(sizes, r, " ") }
      $1 == pid && $3 == "Mirvane" && NF == 3 {
        split($2, s, "x")
        if (s[1] >= r[1] && s[2] >= r[2] && s[1] <= r[3] && s[2] <= r[4]) found = 1
      }
      END { exit !found }' || return 1
  done
}

start_accessibility_bus() {
  start atspi-bus.log /usr/libexec/at-spi-bus-launcher --launch-immediately
  within 20 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress >/dev/null 2>&1
}

# The checks both compositors share, with WAYLAND_DISPLAY set.
wayland_checks() {
  local compositor=$1
  start_accessibility_bus || { echo "  FAIL the accessibility bus did not start"; return 1; }
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  start first.log "$mirvane"
  local first=$started
  check "the window appears, titled Mirvane, sized $sizes" within 30 atspi_shows "$first"
  check "it runs natively on Wayland" grep -q 'libqwayland' /proc/"$first"/maps
  if [ "$compositor" = weston ]; then
    check "the screenshot shows every pixel as the offscreen rendering paints it" \
      screenshot_matches
    # No notification area here: Hide to tray minimizes, which weston shows by taking the window
    # off the screen, and a second start must bring it back although Wayland cannot unminimize.
    /usr/bin/python3 "$here/atspi_windows.py" press "Hide to tray"
    check "Hide to tray minimizes the window off the screen" within 20 off_screen
  fi
  check "a second start in the session ends with 0" second_start second.log
  if [ "$compositor" = weston ]; then
    check "... and brings the window back on the screen" within 20 on_screen
  fi
  check "... and the first window stays, alone" atspi_shows "$first"
  start other.log env XDG_SESSION_ID=mirvane-other-session-$$ "$mirvane"
  local other=$started
  check "a start in another session runs its own window" within 30 atspi_shows "$first" "$other"
}

# weston's screen as a PNG file.
screenshot() {
  rm -f wayland-screenshot-*.png
  weston-screenshooter >>screenshooter.log 2>&1 && mv wayland-screenshot-*.png "$1" 2>/dev/null
}
# A screenshot that shows the clock moved on since weston-first.png, so that the footer has been
# repainted on its own at least once.
clock_ticked() {
  screenshot weston.png && "$here/screen_pixels.py" ticked weston-first.png weston.png offscreen.png
}
on_screen() { screenshot weston.png && "$here/screen_pixels.py" shows weston.png offscreen.png; }
off_screen() { screenshot weston.png && ! "$here/screen_pixels.py" shows weston.png offscreen.png; }
screenshot_matches() {
  within 20 screenshot weston-first.png && within 20 clock_ticked || return 1
  "$here/screen_pixels.py" match weston.png offscreen.png | tee -a match.log |
    sed 's/^/  (/; s/$/)/'
  [ "${PIPESTATUS[0]}" -eq 0 ]
}

session_mutter() {
  start mutter.log mutter --headless --wayland --no-x11 --virtual-monitor 1280x800 \
    --wayland-display="mirvane-mutter-$$"
  within 20 test -S "$XDG_RUNTIME_DIR/mirvane-mutter-$$" ||
    { echo "  FAIL mutter did not start"; return 1; }
  export WAYLAND_DISPLAY=mirvane-mutter-$$
  # A notification area here, to see the tray icon work under Wayland too.
  start watcher.log "$build/tests/desktop/mirvane_status_notifier_watcher"
  within 20 grep -q '^ready' watcher.log || { echo "  FAIL the watcher did not start"; return 1; }
  # Too tall for the 800-pixel monitor, the window is fitted to it by mutter, but never below
  # its least size.
  sizes="1004 701 1280 800"
  wayland_checks mutter
  check "the tray icon shows under Wayland too" within 20 grep -q '^item ' watcher.log
}

# The process id of the Mirvane whose window is active, as the accessibility bus tells.
atspi_active() { [ "$(/usr/bin/python3 "$here/atspi_windows.py" active 2>>atspi.log)" = "$1" ]; }
not_active() { ! atspi_active "$1"; }
# A launcher's token, as GNOME's launcher makes one: the id of a launch mutter has been told of,
# here over startup notification through Xwayland, with the launch time (see uptime_ms).
launcher_token() {
  local token="mirvane-launch-$$-$((++launches))_TIME$(uptime_ms)"
  DISPLAY=$x_display XAUTHORITY=$x_authority /usr/bin/python3 "$here/launch_notice.py" "$token" \
    2>>launch.log && echo "$token"
}
launches=0
# What the first window's log says of its activations with a token.
activations_told() { [ "$(grep -c "$1" first.log)" -eq "$2" ]; }

# mutter with Xwayland, as in a GNOME session, where the launcher's token reaches a second start.
session_mutter_activation() {
  start mutter.log mutter --headless --wayland --virtual-monitor 1280x800 \
    --wayland-display="mirvane-mutter-$$"
  within 20 test -S "$XDG_RUNTIME_DIR/mirvane-mutter-$$" &&
    within 20 grep -q 'Using public X11 display' mutter.log ||
    { echo "  FAIL mutter did not start with Xwayland"; return 1; }
  export WAYLAND_DISPLAY=mirvane-mutter-$$
  x_display=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' mutter.log | head -n1)
  x_authority=$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -n1)
  start_accessibility_bus || { echo "  FAIL the accessibility bus did not start"; return 1; }
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_LOGGING_RULES=mirvane.activation.info=true
  sizes="1004 701 1280 800"

  local token
  token=$(launcher_token) || { echo "  FAIL no launch notice reached mutter"; return 1; }
  start first.log env XDG_ACTIVATION_TOKEN="$token" "$mirvane"
  local first=$started
  check "a start with the launcher's token shows its window" within 30 atspi_shows "$first"
  check "... and activates it with the token" \
    within 20 activations_told 'the window took the activation' 1
  # Another program's window, which takes the activation: a Mirvane of another session.
  start other.log env XDG_SESSION_ID=mirvane-other-session-$$ "$mirvane"
  local other=$started
  within 30 atspi_active "$other" || { echo "  FAIL the other window took no activation"; return 1; }

  check "a second start with the launcher's token ends with 0" \
    second_start second.log XDG_ACTIVATION_TOKEN="$(launcher_token)"
  check "... and the first window takes the activation from the other" \
    within 20 atspi_active "$first"
  check "... in place, by the token" within 20 activations_told 'the window took the activation' 2
  check "... and alone" atspi_shows "$first" "$other"

  /usr/bin/python3 "$here/atspi_windows.py" press "Hide to tray" "$first"
  check "Hide to tray minimizes the window (no notification area here)" \
    within 20 not_active "$first"
  check "a second start with the launcher's token brings it back active" \
    second_start second2.log XDG_ACTIVATION_TOKEN="$(launcher_token)"
  check "... by the token" within 20 activations_told 'the window took the activation' 3
  within 20 atspi_active "$first"

  second_start other2.log XDG_SESSION_ID=mirvane-other-session-$$ \
    XDG_ACTIVATION_TOKEN="$(launcher_token)"
  within 20 atspi_active "$other" || { echo "  FAIL the other window took no activation"; return 1; }
  check "a second start with a token mutter refuses ends with 0" \
    second_start second3.log XDG_ACTIVATION_TOKEN=mirvane-unknown-$$
  check "... the refusal is seen" within 20 activations_told 'the token was refused' 1
  check "... and the window, shown anew, takes the activation" within 20 atspi_active "$first"
}

session_weston() {
  # The offscreen rendering of the same window, to compare the screenshot with.
  QT_QPA_PLATFORM=offscreen "$build/tests/desktop/mirvane_window_snapshot" offscreen.png \
    "mirvane-snapshot-$$" >snapshot.log 2>&1 || { echo "  FAIL no offscreen rendering"; return 1; }
  start weston.log weston --backend=headless-backend.so --use-pixman --socket="mirvane-weston-$$" \
    --width=1600 --height=1000 --idle-time=0 --debug
  within 20 test -S "$XDG_RUNTIME_DIR/mirvane-weston-$$" ||
    { echo "  FAIL weston did not start"; return 1; }
  export WAYLAND_DISPLAY=mirvane-weston-$$
  sizes="1164 801 1164 801"
  wayland_checks weston
}

# --- No display ---

# With no display, then with displays named that do not answer (no server behind them).
session_no_display() {
  ulimit -c unlimited
  local unused=1
  while [ -e "/tmp/.X11-unix/X$unused" ]; do unused=$((unused + 1)); done
  no_display_checks "no display" env -u DISPLAY -u WAYLAND_DISPLAY
  no_display_checks "displays that do not answer" env DISPLAY=:$unused \
    WAYLAND_DISPLAY=mirvane-none-$$
}

no_display_checks() {
  local what=$1
  shift
  rm -f core*
  "$@" "$mirvane" >stdout.log 2>stderr.log
  local rc=$?
  check "$what: mirvane ends with exit code 3" test "$rc" -eq 3
  check "... saying so in one line on stderr that names mirvane-sheet" \
    test "$(wc -l <stderr.log)" -eq 1 -a "$(grep -c 'mirvane-sheet' stderr.log)" -eq 1
  sed 's/^/  (stderr: /; s/$/)/' stderr.log
  check "... and leaves no core file" test -z "$(find . -maxdepth 1 -name 'core*' -print -quit)"
}

case $session in
  no-display) session_no_display ;;
  x11-tray) session_x11_tray ;;
  x11-no-tray) session_x11_no_tray ;;
  x11-xembed-tray) session_x11_xembed_tray ;;
  x11-accessibility) session_x11_accessibility ;;
  mutter) session_mutter ;;
  mutter-activation) session_mutter_activation ;;
  weston) session_weston ;;
  *) echo "unknown session $session"; exit 2 ;;
esac
[ $? -eq 0 ] || failures=$((failures + 1))
end_all
[ "$failures" -eq 0 ]
