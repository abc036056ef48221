// The ids of the windows' controls and commands; every button and selector signal of the main
// window reaches the command dispatcher under one of these.
#pragma once

namespace mirvane::shell {

inline constexpr int IDOK = 1;      // Enter: does nothing
inline constexpr int IDCANCEL = 2;  // Escape: hide to the tray

inline constexpr int IDC_LOCATION = 100;
inline constexpr int IDC_YEAR_LIST = 101;
inline constexpr int IDC_COMPOSE = 102;
inline constexpr int IDC_OPEN_PAIR = 103;
inline constexpr int IDC_COLUMNS = 104;
inline constexpr int IDC_PNG_WIDTH = 105;
inline constexpr int IDC_EXPORT = 106;
inline constexpr int IDC_OPEN_EXPORTS = 107;
inline constexpr int IDC_HELP = 108;
inline constexpr int IDC_HIDE_TO_TRAY = 109;
inline constexpr int IDC_EXIT = 110;

// The modal windows'.
inline constexpr int IDC_PAIR_PATH = 301;
inline constexpr int IDC_PAIR_ERROR = 302;
inline constexpr int IDC_PAIR_OPEN = 303;
inline constexpr int IDC_MODAL_CLOSE = 304;
inline constexpr int IDC_PAIR_BROWSE = 305;
inline constexpr int IDC_HELP_TEXT = 310;

}  // namespace mirvane::shell
