#include "FuncHelpTable.h"

namespace {

// "ln" and "lg" are listed although the function library does not provide
// them; an expression calling them reports an unknown function.
constexpr FuncHelpText kEntries[] = {
    {"sin", "正弦函数", "求角x的正弦值", "sin(x)\n\u3000\u3000x为以弧度表示的角"},
    {"cos", "余弦函数", "求角x的余弦值", "cos(x)\n\u3000\u3000x为以弧度表示的角"},
    {"tan", "正切函数", "求角x的正切值", "tan(x)\n\u3000\u3000x为以弧度表示的角"},
    {"cot", "余切函数", "求角x的余切值", "cot(x)\n\u3000\u3000x为以弧度表示的角"},
    {"asin", "反正弦函数", "求值x的反正弦值", "asin(x)\n\u3000\u3000x∈[-1, 1]"},
    {"acos", "反余弦函数", "求值x的反余弦值", "acos(x)\n\u3000\u3000x∈[-1, 1]"},
    {"atan", "反正切函数", "求值x的反正切值", "atan(x)\n"},
    {"rtod", "弧度化角度", "将弧度值转化为相应的角度值", "rtod(x)\n\u3000\u3000x为角的弧度表示值"},
    {"dtor", "角度化弧度", "将角度值转化为相应的弧度值", "dtor(x)\n\u3000\u3000x为角的角度表示值"},
    {"dtodms", "角度化度分秒",
     "将角度值转化为d.mmss表示的角度值\n\u3000\u3000比如：3.01度化为度分秒表示形式为3."
     "0036，即3度0分36秒",
     "dtodms(x)\n\u3000\u3000x为角的一般角度表示法"},
    {"dmstod", "度分秒化角度",
     "将d.mmss表示的角度值转化为一般的角度值\n\u3000\u3000比如：3."
     "0036，即3度0分36秒化为一般的角度值为3.01度",
     "dmstod(x)\n\u3000\u3000x为角的度分秒表示法"},
    {"ln", "自然对数", "求一个数的自然对数", "ln(x)"},
    {"lg", "以10为底的对数", "求一个数的以10为底的对数", "lg(x)"},
    {"log", "一般对数", "求以a为底，b为真数的对数", "log(a, b)"},
    {"abs", "绝对值", "求一个数的绝对值", "abs(x)"},
};

}  // namespace

std::span<const FuncHelpText> FuncHelpTexts() {
    return kEntries;
}
