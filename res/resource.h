#pragma once

// The ids of the window's icons, which name their drawings in ":/icons".

// Icons (icon groups).
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDI_EXIT = 134;
inline constexpr int IDI_HELP = 139;
inline constexpr int IDI_PIN = 146;
inline constexpr int IDI_UNPIN = 147;
inline constexpr int IDI_MORE = 163;
inline constexpr int IDI_LESS = 164;
inline constexpr int IDI_ADD = 167;
inline constexpr int IDI_DELETE = 168;
inline constexpr int IDI_EDITOR = 173;
