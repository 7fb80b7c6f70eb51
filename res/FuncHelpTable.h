#pragma once

#include <QtGlobal>
#include <span>

// The help window's texts on the library functions (UTF-8, Chinese), in the
// order the window adds them to its list. The window shows them translated
// in the context "FuncHelp", the names as they are.
struct FuncHelpText {
    const char* name;
    const char* title;
    const char* purpose;
    const char* usage;
};

std::span<const FuncHelpText> FuncHelpTexts();

// How a selected entry is shown: name, title, purpose and usage in this
// order, each replacing one %s.
inline constexpr char kFuncHelpFormat[] =
    QT_TRANSLATE_NOOP("FuncHelp", "函数名：%s\n\n简　介：%s\n\n功　能：%s\n\n用　法：\n\n　　%s");
