#include "VarValidation.h"

#include "AsciiChars.h"
#include "DecimalText.h"
#include "ExpMessages.h"

namespace {

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

std::string FoldNameCase(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        c = FoldCase(c);
    return folded;
}

std::optional<VarRejection> CheckVariableName(std::string_view name,
                                              std::span<const std::string> existing) {
    bool taken = false;
    for (const std::string& other : existing) {
        if (NamesEqualIgnoringCase(name, other)) {
            taken = true;
            break;
        }
    }
    return CheckVariableName(name, taken);
}

std::optional<VarRejection> CheckVariableName(std::string_view name, bool taken) {
    if (taken)
        return VarRejection{VarProblem::NameTaken, ExpMessages::kNameExists,
                            ExpMessages::kNameErrorTitle};
    if (name.empty() || !(IsLetter(name[0]) || name[0] == '_'))
        return VarRejection{VarProblem::NameStart, ExpMessages::kNameFirstByte,
                            ExpMessages::kNameErrorTitle};
    for (const char c : name.substr(1)) {
        if (!IsNameChar(c))
            return VarRejection{VarProblem::NameCharacters, ExpMessages::kNameOtherBytes,
                                ExpMessages::kNameErrorTitle};
    }
    return std::nullopt;
}

std::optional<VarRejection> CheckVariableValue(std::string_view text) {
    if (ReadVariableValue(text))
        return std::nullopt;
    return VarRejection{VarProblem::ValueNotNumber, ExpMessages::kValueNotNumeric,
                        ExpMessages::kValueErrorTitle};
}
