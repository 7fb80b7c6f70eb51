#include "FunctionHelps.h"

#include <QCoreApplication>
#include <algorithm>

#include "BuiltinFunctions.h"
#include "FuncHelpTable.h"

namespace {

QString Translated(const char* text) {
    return QCoreApplication::translate("FuncHelp", text);
}

// The help entry of `function` or of the function it is another name for:
// both share one formula.
const FuncHelpText* HelpOf(const BuiltinFunction& function) {
    const auto texts = FuncHelpTexts();
    const auto named = [&](std::string_view name) {
        return std::find_if(texts.begin(), texts.end(),
                            [&](const FuncHelpText& text) { return name == text.name; });
    };
    if (const auto own = named(function.name); own != texts.end())
        return &*own;
    for (const BuiltinFunction& other : BuiltinFunctions()) {
        if (other.formula != function.formula)
            continue;
        if (const auto shared = named(other.name); shared != texts.end())
            return &*shared;
    }
    return nullptr;
}

QString BareCall(const QString& name, int argCount) {
    static const char16_t kArguments[] = u"xyzuvw";
    QStringList arguments;
    for (int i = 0; i < argCount; ++i)
        arguments.append(QString(QChar(kArguments[i % 6])));
    return name + u'(' + arguments.join(QStringLiteral(", ")) + u')';
}

}  // namespace

QList<FunctionHelp> FunctionHelps() {
    QList<FunctionHelp> helps;
    for (const BuiltinFunction& function : BuiltinFunctions()) {
        const QString name = QString::fromLatin1(function.name);
        const FuncHelpText* help = HelpOf(function);
        helps.append({name, help ? Translated(help->title) : QString(),
                      help ? Translated(help->usage) : BareCall(name, function.argCount)});
    }
    return helps;
}
