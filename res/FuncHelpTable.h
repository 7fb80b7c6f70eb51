#pragma once

#include <span>

// The help window's texts on the library functions (UTF-8), in the order the
// window adds them to its list.
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
    "函数名：%s\n\n简\u3000介：%s\n\n功\u3000能：%"
    "s\n\n用\u3000法：\n\n\u3000\u3000%s";
