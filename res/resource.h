#pragma once

// Resource ids of the window program: dialogs, strings, icons and controls.

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_CALC_DIALOG = 102;
inline constexpr int IDD_EXPR_EDIT = 129;
inline constexpr int IDD_HELP = 175;

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

// Controls. 1 and 2 are the dialogs' OK and Cancel.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;  // the help window's hidden "Hide" button
inline constexpr int IDC_HIDE = 1000;
inline constexpr int IDC_EXPR = 1001;
inline constexpr int IDC_COMPUTE = 1002;
inline constexpr int IDC_RESULT = 1003;
inline constexpr int IDC_MODE = 1004;
inline constexpr int IDC_NATURAL = 1005;
inline constexpr int IDC_EDIT_EXPR = 1006;
inline constexpr int IDC_ABOUT = 1007;
inline constexpr int IDC_VARS = 1008;
inline constexpr int IDC_ADD_VAR = 1009;
inline constexpr int IDC_DELETE_VAR = 1010;
inline constexpr int IDC_HISTORY = 1011;
inline constexpr int IDC_TOPMOST = 1012;
inline constexpr int IDC_MARKER = 1013;
inline constexpr int IDC_HELP = 1014;
inline constexpr int IDC_FUNC_LIST = 1016;
inline constexpr int IDC_FUNC_TEXT = 1017;
inline constexpr int IDC_CELL_EDIT = 10101;  // the variable grid's cell editor
