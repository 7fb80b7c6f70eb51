#include "VariableDefinitions.h"

#include <string>
#include <vector>

#include "ConsoleOutput.h"
#include "ConsoleText.h"
#include "DecimalText.h"
#include "VarValidation.h"

namespace {

void ReportRejection(const VarRejection& rejection, ConsoleOutput& output) {
    std::string text = ToConsoleText(rejection.message);
    text += '\n';
    output.Error(text);
}

}  // namespace

std::optional<VarTable> DefineVariables(std::span<const VariableDefinition> definitions,
                                        ConsoleOutput& output) {
    VarTable table;
    std::vector<std::string> names;
    names.reserve(definitions.size());
    std::string nameStorage;
    std::string valueStorage;
    for (const VariableDefinition& definition : definitions) {
        const std::string_view name = ToEngineText(definition.name, nameStorage);
        const std::string_view value = ToEngineText(definition.value, valueStorage);
        if (const auto rejection = CheckVariableName(name, names)) {
            ReportRejection(*rejection, output);
            return std::nullopt;
        }
        if (const auto rejection = CheckVariableValue(value)) {
            ReportRejection(*rejection, output);
            return std::nullopt;
        }
        table.Insert(name, *ReadVariableValue(value));
        names.emplace_back(name);
    }
    return table;
}
