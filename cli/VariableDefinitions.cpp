#include "VariableDefinitions.h"

#include <string>
#include <unordered_set>

#include "ConsoleOutput.h"
#include "ConsoleText.h"
#include "DecimalText.h"
#include "MessageLanguage.h"
#include "VarValidation.h"

namespace {

// Enough to tell one definition from another, short of a page of text.
constexpr std::size_t kMostQuotedBytes = 80;

// "tallyfern-cli: -v x=abc: 请输入数值型的数据。": among many -v options the
// user sees which one was refused.
void ReportRejection(const VariableDefinition& definition, const VarRejection& rejection,
                     ConsoleOutput& output) {
    std::string text = "tallyfern-cli: -v ";
    text += QuotedText(definition.name + '=' + definition.value, kMostQuotedBytes);
    text += ": ";
    text += ToConsoleText(Translated(rejection.message));
    text += '\n';
    output.Error(text);
}

}  // namespace

std::optional<VarTable> DefineVariables(std::span<const VariableDefinition> definitions,
                                        ConsoleOutput& output) {
    VarTable table;
    // The names so far, case-folded: each new one is looked up, not compared
    // with every earlier one.
    std::unordered_set<std::string> foldedNames;
    foldedNames.reserve(definitions.size());
    std::string nameStorage;
    std::string valueStorage;
    for (const VariableDefinition& definition : definitions) {
        const std::string_view name = ToEngineText(definition.name, nameStorage);
        const std::string_view value = ToEngineText(definition.value, valueStorage);
        std::string folded = FoldNameCase(name);
        if (const auto rejection = CheckVariableName(name, foldedNames.contains(folded))) {
            ReportRejection(definition, *rejection, output);
            return std::nullopt;
        }
        if (const auto rejection = CheckVariableValue(value)) {
            ReportRejection(definition, *rejection, output);
            return std::nullopt;
        }
        table.Insert(name, *ReadVariableValue(value));
        foldedNames.insert(std::move(folded));
    }
    return table;
}
