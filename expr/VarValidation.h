#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The checks a user variable passes before it is accepted, in their order:
// the name must be new (letter case ignored), begin with an ASCII letter or
// '_', and go on with ASCII letters, digits or '_'; the value must read
// completely as one decimal number within the range of a double.
enum class VarProblem { NameTaken, NameStart, NameCharacters, ValueNotNumber };

// A refusal: what is wrong, and the engine's Chinese message and box title
// for it (UTF-8), which the console translates; the window words the
// problem itself.
struct VarRejection {
    VarProblem problem;
    const char* message;
    const char* title;
};

// Equal when ASCII letters are compared without regard to case; other bytes
// must match exactly.
bool NamesEqualIgnoringCase(std::string_view a, std::string_view b);

// The first rejection of `name` given the names already present, or none. A
// caller renaming a variable leaves its present name out: a name never
// clashes with itself.
std::optional<VarRejection> CheckVariableName(std::string_view name,
                                              std::span<const std::string> existing);

// The same checks where the caller has already looked the name up: `taken`
// says whether a present name equals it ignoring case. A caller with many
// names keeps them case-folded in a set.
std::optional<VarRejection> CheckVariableName(std::string_view name, bool taken);

// The name with its ASCII letters in lower case: two names are equal ignoring
// case exactly when their folded forms are equal.
std::string FoldNameCase(std::string_view name);

// The rejection of a value text, or none.
std::optional<VarRejection> CheckVariableValue(std::string_view text);
