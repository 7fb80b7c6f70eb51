#pragma once

#include <QCoreApplication>
#include <QString>

// The window's own texts (UTF-8): titles, names, tips, menu entries and the
// messages of its boxes. The engine's messages stay with the engine; the
// dialogs' captions, control texts and the names of boxes without a label
// stand in their forms (ui/*.ui). The texts are Chinese, the window's own
// language; WindowText gives a text in the language the window shows.
namespace WindowTexts {

// Message boxes.
inline constexpr char kErrorTitle[] = QT_TRANSLATE_NOOP("WindowTexts", "发生错误");
inline constexpr char kComputeOutOfMemory[] =
    QT_TRANSLATE_NOOP("WindowTexts", "内存不足，无法完成计算。");
inline constexpr char kOutOfMemory[] = QT_TRANSLATE_NOOP("WindowTexts", "内存不足，操作未能完成。");
inline constexpr char kUnexpectedError[] =
    QT_TRANSLATE_NOOP("WindowTexts", "发生意外错误，操作未能完成。");

// The main window.
inline constexpr char kNaturalFormTooLarge[] =
    QT_TRANSLATE_NOOP("WindowTexts", "（自然书写形式过大，无法显示）");
inline constexpr char kNewVariableName[] = QT_TRANSLATE_NOOP("WindowTexts", "请输入变量名");
inline constexpr char kNewVariableValue[] = QT_TRANSLATE_NOOP("WindowTexts", "0.0");
inline constexpr char kNameColumn[] = QT_TRANSLATE_NOOP("WindowTexts", "变量名");
inline constexpr char kValueColumn[] = QT_TRANSLATE_NOOP("WindowTexts", "值");

// Button tips, which are also the buttons' names to a screen reader.
inline constexpr char kExitTip[] = QT_TRANSLATE_NOOP("WindowTexts", "退出");
inline constexpr char kPinTip[] = QT_TRANSLATE_NOOP("WindowTexts", "窗口置顶");
inline constexpr char kUnpinTip[] = QT_TRANSLATE_NOOP("WindowTexts", "取消窗口置顶");
inline constexpr char kEditorTip[] = QT_TRANSLATE_NOOP("WindowTexts", "扩展表达式输入框");
inline constexpr char kAboutTip[] = QT_TRANSLATE_NOOP("WindowTexts", "关于本软件");
inline constexpr char kMoreTip[] = QT_TRANSLATE_NOOP("WindowTexts", "更多功能");
inline constexpr char kLessTip[] = QT_TRANSLATE_NOOP("WindowTexts", "精简模式");
inline constexpr char kHelpTip[] = QT_TRANSLATE_NOOP("WindowTexts", "帮助");

// The window menu, which a right click on the free surface opens.
inline constexpr char kMinimizeMenu[] = QT_TRANSLATE_NOOP("WindowTexts", "最小化(&N)");
inline constexpr char kCloseMenu[] = QT_TRANSLATE_NOOP("WindowTexts", "关闭(&C)");
inline constexpr char kAboutMenu[] = QT_TRANSLATE_NOOP("WindowTexts", "关于 Tallyfern(&A)...");

// What a screen reader calls the main window, whose title is English.
inline constexpr char kWindowName[] = QT_TRANSLATE_NOOP("WindowTexts", "Tallyfern 自然书写计算器");

// The window menu's switch for computing the expression while it is typed.
inline constexpr char kComputeWhileTypingMenu[] =
    QT_TRANSLATE_NOOP("WindowTexts", "输入时计算(&T)");

}  // namespace WindowTexts

// `text`, one of the texts above, in the window's language.
inline QString WindowText(const char* text) {
    return QCoreApplication::translate("WindowTexts", text);
}
