#include "EngineTexts.h"

#include <QCoreApplication>

#include "ExpCompute.h"
#include "ExpException.h"
#include "UiText.h"
#include "VarValidation.h"

namespace {

constexpr char kContext[] = "EngineTexts";

// A text to translate, with what tells it from another of the same Chinese
// wording.
struct Source {
    const char* text;
    const char* disambiguation;
};

QString Translated(const Source& source) {
    return QCoreApplication::translate(kContext, source.text, source.disambiguation);
}

// The compute command's error box by the error's code: what went wrong,
// then an empty line, four blanks and the expression from the error's
// position on (%1; for an undefined variable %1 is its name and %2 that
// excerpt).
Source ErrorFrame(int code) {
    switch (code) {
        case EXP_ERR_BRACKET:
            return QT_TRANSLATE_NOOP3("EngineTexts", "在以下位置发生 \"括号不匹配\" 错误\n\n    %1",
                                      "");
        case EXP_ERR_DIVZERO:
            return QT_TRANSLATE_NOOP3("EngineTexts", "在以下位置发生 \"除数为零\" 错误\n\n    %1",
                                      "");
        case EXP_ERR_OPERATOR:
            return QT_TRANSLATE_NOOP3("EngineTexts", "在以下位置发生 \"运算符\" 错误\n\n    %1",
                                      "");
        // Chinese calls both out of range.
        case EXP_ERR_NAN:
            return QT_TRANSLATE_NOOP3("EngineTexts", "在以下位置发生 \"越界\" 错误\n\n    %1",
                                      "not a number");
        case EXP_ERR_INFINITE:
            return QT_TRANSLATE_NOOP3("EngineTexts", "在以下位置发生 \"越界\" 错误\n\n    %1",
                                      "infinite");
        case EXP_ERR_OPERAND:
            return QT_TRANSLATE_NOOP3("EngineTexts", "在以下位置发生 \"操作数\" 错误\n\n    %1",
                                      "");
        case EXP_ERR_UNDEFINED:
            return QT_TRANSLATE_NOOP3("EngineTexts",
                                      "在以下位置发生 \"变量 %1 未定义\" 错误\n\n    %2", "");
        case EXP_ERR_EXPRESSION:
        default:
            return QT_TRANSLATE_NOOP3("EngineTexts", "在以下位置发生 \"表达式\" 错误\n\n    %1",
                                      "");
    }
}

Source RejectionMessage(VarProblem problem) {
    switch (problem) {
        case VarProblem::NameTaken:
            return QT_TRANSLATE_NOOP3("EngineTexts", "该变量名已存在。", "");
        case VarProblem::NameStart:
            return QT_TRANSLATE_NOOP3("EngineTexts", "变量名应该以英文字母或下划线开头。", "");
        case VarProblem::NameCharacters:
            return QT_TRANSLATE_NOOP3("EngineTexts", "变量名中应该只含英文字母、数字或下划线。",
                                      "");
        case VarProblem::ValueNotNumber:
            break;
    }
    return QT_TRANSLATE_NOOP3("EngineTexts", "请输入数值型的数据。", "");
}

Source RejectionTitle(VarProblem problem) {
    if (problem == VarProblem::ValueNotNumber)
        return QT_TRANSLATE_NOOP3("EngineTexts", "数据格式错误", "");
    return QT_TRANSLATE_NOOP3("EngineTexts", "错误", "");
}

}  // namespace

QString ComputeErrorText(const ExpException& error, std::string_view stripped) {
    const QString frame = Translated(ErrorFrame(error.GetCode()));
    const QString excerpt = FromEngineText(ErrorExcerpt(error, stripped));
    // Both at once: neither may take the other's text for a place marker.
    if (error.GetCode() == EXP_ERR_UNDEFINED)
        return frame.arg(FromEngineText(error.GetName()), excerpt);
    return frame.arg(excerpt);
}

QString VarRejectionText(const VarRejection& rejection) {
    return Translated(RejectionMessage(rejection.problem));
}

QString VarRejectionTitle(const VarRejection& rejection) {
    return Translated(RejectionTitle(rejection.problem));
}
