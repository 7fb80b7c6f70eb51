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
// The window menu's entry (F5) that opens the graph of the expression.
inline constexpr char kGraphMenu[] = QT_TRANSLATE_NOOP("WindowTexts", "函数图像(&G)");

// What the window keeps between runs: its window menu entries and its
// messages. %1 and %2 are filled in where the message is shown.
inline constexpr char kKeepSessionMenu[] =
    QT_TRANSLATE_NOOP("WindowTexts", "退出后保留历史和变量(&K)");
inline constexpr char kClearHistoryMenu[] = QT_TRANSLATE_NOOP("WindowTexts", "清除历史(&H)");
inline constexpr char kClearHistoryQuestion[] =
    QT_TRANSLATE_NOOP("WindowTexts", "清除全部历史记录？清除后无法恢复。");
inline constexpr char kSessionTitle[] = QT_TRANSLATE_NOOP("WindowTexts", "历史和变量");
inline constexpr char kSessionSkipped[] =
    QT_TRANSLATE_NOOP("WindowTexts", "上次保留的历史和变量未能全部读回（%1），原文件已另存为 %2。");
inline constexpr char kSessionNotRead[] =
    QT_TRANSLATE_NOOP("WindowTexts", "%1 无法读取或不属于本用户，历史和变量未读回，也不会写入。");
inline constexpr char kSessionUnwritable[] =
    QT_TRANSLATE_NOOP("WindowTexts", "无法保存历史和变量（%1），之后每次更改时会再试。");
inline constexpr char kSessionTooLarge[] = QT_TRANSLATE_NOOP("WindowTexts", "文件过大，未读取");
inline constexpr char kSessionDamaged[] = QT_TRANSLATE_NOOP("WindowTexts", "文件不完整或已损坏");
inline constexpr char kSessionNewer[] = QT_TRANSLATE_NOOP("WindowTexts", "文件来自更新的版本");
inline constexpr char kSessionNotUtf8[] = QT_TRANSLATE_NOOP("WindowTexts", "文件含有非 UTF-8 文字");
inline constexpr char kSessionSkippedHistory[] = QT_TRANSLATE_NOOP("WindowTexts", "跳过 %1 条历史");
inline constexpr char kSessionSkippedVariables[] =
    QT_TRANSLATE_NOOP("WindowTexts", "跳过 %1 个变量");

// Searching the history and taking it away: the filter field over the
// history, the window menu's entries and what saving them says.
inline constexpr char kHistoryFilterName[] = QT_TRANSLATE_NOOP("WindowTexts", "筛选历史");
inline constexpr char kHistoryFilterHint[] =
    QT_TRANSLATE_NOOP("WindowTexts", "筛选历史（Enter 取用，Esc 关闭）");
inline constexpr char kHistoryFilterCount[] = QT_TRANSLATE_NOOP("WindowTexts", "%1 条历史");
inline constexpr char kSaveHistoryTextMenu[] =
    QT_TRANSLATE_NOOP("WindowTexts", "历史另存为文本(&S)...");
inline constexpr char kSaveHistoryCsvMenu[] =
    QT_TRANSLATE_NOOP("WindowTexts", "历史另存为 CSV(&V)...");
inline constexpr char kSaveHistoryMarkdownMenu[] =
    QT_TRANSLATE_NOOP("WindowTexts", "历史另存为 Markdown(&M)...");
inline constexpr char kCopyHistoryMenu[] = QT_TRANSLATE_NOOP("WindowTexts", "复制选中的历史(&Y)");
inline constexpr char kSaveHistoryTitle[] = QT_TRANSLATE_NOOP("WindowTexts", "保存历史");
inline constexpr char kTextFiles[] = QT_TRANSLATE_NOOP("WindowTexts", "文本文件 (*.txt)");
inline constexpr char kCsvFiles[] = QT_TRANSLATE_NOOP("WindowTexts", "CSV 文件 (*.csv)");
inline constexpr char kMarkdownFiles[] = QT_TRANSLATE_NOOP("WindowTexts", "Markdown 文件 (*.md)");
inline constexpr char kHistoryNotSaved[] =
    QT_TRANSLATE_NOOP("WindowTexts", "无法保存历史到 %1（%2）。");
inline constexpr char kExpressionHeader[] = QT_TRANSLATE_NOOP("WindowTexts", "表达式");
inline constexpr char kResultHeader[] = QT_TRANSLATE_NOOP("WindowTexts", "结果");

}  // namespace WindowTexts

// `text`, one of the texts above, in the window's language.
inline QString WindowText(const char* text) {
    return QCoreApplication::translate("WindowTexts", text);
}
