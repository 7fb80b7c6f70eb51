#pragma once

// The window's own texts (UTF-8): titles, names, tips, menu entries and the
// messages of its boxes. The engine's messages stay with the engine; the
// dialogs' captions, control texts and the names of boxes without a label
// stand in their forms (ui/*.ui).
namespace WindowTexts {

// Message boxes.
inline constexpr char kErrorTitle[] = "发生错误";
inline constexpr char kComputeOutOfMemory[] = "内存不足，无法完成计算。";
inline constexpr char kOutOfMemory[] = "内存不足，操作未能完成。";
inline constexpr char kUnexpectedError[] = "发生意外错误，操作未能完成。";

// The main window.
inline constexpr char kNaturalFormTooLarge[] = "（自然书写形式过大，无法显示）";
inline constexpr char kNewVariableName[] = "请输入变量名";
inline constexpr char kNewVariableValue[] = "0.0";
inline constexpr char kNameColumn[] = "变量名";
inline constexpr char kValueColumn[] = "值";

// Button tips, which are also the buttons' names to a screen reader.
inline constexpr char kExitTip[] = "退出";
inline constexpr char kPinTip[] = "窗口置顶";
inline constexpr char kUnpinTip[] = "取消窗口置顶";
inline constexpr char kEditorTip[] = "扩展表达式输入框";
inline constexpr char kAboutTip[] = "关于本软件";
inline constexpr char kMoreTip[] = "更多功能";
inline constexpr char kLessTip[] = "精简模式";
inline constexpr char kHelpTip[] = "帮助";

// The window menu, which a right click on the free surface opens.
inline constexpr char kMinimizeMenu[] = "最小化(&N)";
inline constexpr char kCloseMenu[] = "关闭(&C)";
inline constexpr char kAboutMenu[] = "关于 Tallyfern(&A)...";

// What a screen reader calls the main window, whose title is English.
inline constexpr char kWindowName[] = "Tallyfern 自然书写计算器";

}  // namespace WindowTexts
