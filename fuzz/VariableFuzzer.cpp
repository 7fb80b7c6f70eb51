// The checks of a user variable's name and value. The input is lines: the
// names already present, then the new name, then its value text.
#include <cmath>
#include <string>
#include <vector>

#include "DecimalText.h"
#include "FuzzSupport.h"
#include "VarValidation.h"

namespace {

bool IsNameByte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines;
    std::string_view text = Fuzz::AsText(data, size);
    for (;;) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    const std::string value = lines.back();
    lines.pop_back();
    const std::string name = lines.empty() ? std::string() : lines.back();
    if (!lines.empty())
        lines.pop_back();

    const auto nameRejection = CheckVariableName(name, lines);
    bool taken = false;
    for (const std::string& other : lines) {
        FUZZ_CHECK(NamesEqualIgnoringCase(other, name) == NamesEqualIgnoringCase(name, other));
        taken = taken || NamesEqualIgnoringCase(name, other);
    }
    bool wellFormed = !name.empty() && !(name[0] >= '0' && name[0] <= '9');
    for (const char c : name)
        wellFormed = wellFormed && IsNameByte(c);
    FUZZ_CHECK(nameRejection.has_value() == (taken || !wellFormed));
    FUZZ_CHECK(!nameRejection || (nameRejection->message && nameRejection->title));

    const auto valueRejection = CheckVariableValue(value);
    const std::optional<double> read = ReadVariableValue(value);
    FUZZ_CHECK(valueRejection.has_value() == !read.has_value());
    if (read) {
        FUZZ_CHECK(!std::isnan(*read));
        // What is accepted is one whole decimal number after white space.
        std::string_view number = value;
        while (!number.empty() && (number[0] == ' ' || (number[0] >= '\t' && number[0] <= '\r')))
            number.remove_prefix(1);
        FUZZ_CHECK(ScanDecimal(number) == number.size());
        FUZZ_CHECK(*read == DecimalToDouble(number));
    }
    return 0;
}
