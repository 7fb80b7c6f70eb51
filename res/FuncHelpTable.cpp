#include "FuncHelpTable.h"

#include <QtGlobal>

namespace {

// The functions the help window lists, in its order.
constexpr FuncHelpText kEntries[] = {
    {"sin", QT_TRANSLATE_NOOP("FuncHelp", "正弦函数"),
     QT_TRANSLATE_NOOP("FuncHelp", "求角x的正弦值"),
     QT_TRANSLATE_NOOP("FuncHelp", "sin(x)\n　　x为以弧度表示的角")},
    {"cos", QT_TRANSLATE_NOOP("FuncHelp", "余弦函数"),
     QT_TRANSLATE_NOOP("FuncHelp", "求角x的余弦值"),
     QT_TRANSLATE_NOOP("FuncHelp", "cos(x)\n　　x为以弧度表示的角")},
    {"tan", QT_TRANSLATE_NOOP("FuncHelp", "正切函数"),
     QT_TRANSLATE_NOOP("FuncHelp", "求角x的正切值"),
     QT_TRANSLATE_NOOP("FuncHelp", "tan(x)\n　　x为以弧度表示的角")},
    {"cot", QT_TRANSLATE_NOOP("FuncHelp", "余切函数"),
     QT_TRANSLATE_NOOP("FuncHelp", "求角x的余切值"),
     QT_TRANSLATE_NOOP("FuncHelp", "cot(x)\n　　x为以弧度表示的角")},
    {"asin", QT_TRANSLATE_NOOP("FuncHelp", "反正弦函数"),
     QT_TRANSLATE_NOOP("FuncHelp", "求值x的反正弦值"),
     QT_TRANSLATE_NOOP("FuncHelp", "asin(x)\n　　x∈[-1, 1]")},
    {"acos", QT_TRANSLATE_NOOP("FuncHelp", "反余弦函数"),
     QT_TRANSLATE_NOOP("FuncHelp", "求值x的反余弦值"),
     QT_TRANSLATE_NOOP("FuncHelp", "acos(x)\n　　x∈[-1, 1]")},
    {"atan", QT_TRANSLATE_NOOP("FuncHelp", "反正切函数"),
     QT_TRANSLATE_NOOP("FuncHelp", "求值x的反正切值"), QT_TRANSLATE_NOOP("FuncHelp", "atan(x)\n")},
    {"rtod", QT_TRANSLATE_NOOP("FuncHelp", "弧度化角度"),
     QT_TRANSLATE_NOOP("FuncHelp", "将弧度值转化为相应的角度值"),
     QT_TRANSLATE_NOOP("FuncHelp", "rtod(x)\n　　x为角的弧度表示值")},
    {"dtor", QT_TRANSLATE_NOOP("FuncHelp", "角度化弧度"),
     QT_TRANSLATE_NOOP("FuncHelp", "将角度值转化为相应的弧度值"),
     QT_TRANSLATE_NOOP("FuncHelp", "dtor(x)\n　　x为角的角度表示值")},
    {"dtodms", QT_TRANSLATE_NOOP("FuncHelp", "角度化度分秒"),
     QT_TRANSLATE_NOOP("FuncHelp",
                       "将角度值转化为d.mmss表示的角度值\n　　比如：3.01度化为度分秒表示形式为3."
                       "0036，即3度0分36秒"),
     QT_TRANSLATE_NOOP("FuncHelp", "dtodms(x)\n　　x为角的一般角度表示法")},
    {"dmstod", QT_TRANSLATE_NOOP("FuncHelp", "度分秒化角度"),
     QT_TRANSLATE_NOOP("FuncHelp",
                       "将d.mmss表示的角度值转化为一般的角度值\n　　比如：3."
                       "0036，即3度0分36秒化为一般的角度值为3.01度"),
     QT_TRANSLATE_NOOP("FuncHelp", "dmstod(x)\n　　x为角的度分秒表示法")},
    {"ln", QT_TRANSLATE_NOOP("FuncHelp", "自然对数"),
     QT_TRANSLATE_NOOP("FuncHelp", "求一个数的自然对数"), QT_TRANSLATE_NOOP("FuncHelp", "ln(x)")},
    {"lg", QT_TRANSLATE_NOOP("FuncHelp", "以10为底的对数"),
     QT_TRANSLATE_NOOP("FuncHelp", "求一个数的以10为底的对数"),
     QT_TRANSLATE_NOOP("FuncHelp", "lg(x)")},
    {"log", QT_TRANSLATE_NOOP("FuncHelp", "一般对数"),
     QT_TRANSLATE_NOOP("FuncHelp", "求以a为底，b为真数的对数"),
     QT_TRANSLATE_NOOP("FuncHelp", "log(a, b)")},
    {"abs", QT_TRANSLATE_NOOP("FuncHelp", "绝对值"),
     QT_TRANSLATE_NOOP("FuncHelp", "求一个数的绝对值"), QT_TRANSLATE_NOOP("FuncHelp", "abs(x)")},
};

}  // namespace

std::span<const FuncHelpText> FuncHelpTexts() {
    return kEntries;
}
