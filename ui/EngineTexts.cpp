#include "EngineTexts.h"

#include <QCoreApplication>
#include <string>

#include "ExpCompute.h"
#include "ExpException.h"
#include "ExpMessages.h"
#include "UiText.h"

namespace {

constexpr char kContext[] = "EngineTexts";

// Every text of ExpMessages.h, for the translation tools; the frame and the
// undefined-variable message with their parts as arguments.
[[maybe_unused]] constexpr const char* kTexts[] = {
    QT_TRANSLATE_NOOP("EngineTexts", "括号不匹配"),
    QT_TRANSLATE_NOOP("EngineTexts", "表达式"),
    QT_TRANSLATE_NOOP("EngineTexts", "除数为零"),
    QT_TRANSLATE_NOOP("EngineTexts", "运算符"),
    QT_TRANSLATE_NOOP("EngineTexts", "越界"),
    QT_TRANSLATE_NOOP("EngineTexts", "操作数"),
    QT_TRANSLATE_NOOP("EngineTexts", "该变量名已存在。"),
    QT_TRANSLATE_NOOP("EngineTexts", "变量名应该以英文字母或下划线开头。"),
    QT_TRANSLATE_NOOP("EngineTexts", "变量名中应该只含英文字母、数字或下划线。"),
    QT_TRANSLATE_NOOP("EngineTexts", "请输入数值型的数据。"),
    QT_TRANSLATE_NOOP("EngineTexts", "错误"),
    QT_TRANSLATE_NOOP("EngineTexts", "数据格式错误"),
};
constexpr char kUndefined[] = QT_TRANSLATE_NOOP("EngineTexts", "变量 %1 未定义");
constexpr char kErrorFrame[] =
    QT_TRANSLATE_NOOP("EngineTexts", "在以下位置发生 \"%1\" 错误\n\n    %2");

QString Translated(const char* text) {
    return QCoreApplication::translate(kContext, text);
}

// The error's name; an undefined variable's message names the variable.
QString ErrorName(const ExpException& error) {
    const QString name = FromEngineText(error.GetErrorText());
    const QString before = FromEngineText(ExpMessages::kUndefinedBefore);
    const QString after = FromEngineText(ExpMessages::kUndefinedAfter);
    if (name.startsWith(before) && name.endsWith(after) &&
        name.size() > before.size() + after.size()) {
        const QString variable =
            name.mid(before.size(), name.size() - before.size() - after.size());
        return Translated(kUndefined).arg(variable);
    }
    return EngineText(name);
}

}  // namespace

QString EngineText(const QString& chinese) {
    return QCoreApplication::translate(kContext, chinese.toUtf8().constData());
}

QString ComputeErrorText(const ExpException& error, std::string_view stripped) {
    // The engine's own composition, less its frame and the name, is the
    // excerpt, cut as the engine cuts it.
    const std::string composed = ComposeErrorMessage(error, stripped);
    const std::size_t frameLength = std::string(ExpMessages::kErrorPrefix).size() +
                                    error.GetErrorText().size() +
                                    std::string(ExpMessages::kErrorSuffix).size();
    const QString excerpt = FromEngineText(composed.substr(std::min(frameLength, composed.size())));
    return Translated(kErrorFrame).arg(ErrorName(error), excerpt);
}
