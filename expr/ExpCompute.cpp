#include "ExpCompute.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "ExpEvaluator.h"
#include "ExpMessages.h"
#include "ExpParser.h"

namespace {
constexpr std::size_t kExcerptLength = 10;
constexpr int kResultDigits = 15;
constexpr std::size_t kExponentDigits = 3;

// Never the first byte of a code page 936 character: it shows as U+FFFD and
// leaves the byte after it to begin the next character.
constexpr char kNotACharacter = '\xff';

bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xfe;
}
bool IsTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xfe && c != 0x7f;
}

// Whether byte `offset` is the second byte of a double-byte character, the
// text read from its start.
bool StartsInsideCharacter(std::string_view text, std::size_t offset) {
    std::size_t i = 0;
    while (i < offset) {
        const bool pair = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
                          IsTrailByte(static_cast<unsigned char>(text[i + 1]));
        i += pair ? 2 : 1;
    }
    return i > offset;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

void AppendStripped(std::string_view text, std::string& stripped) {
    // Most text has few blanks: the runs between them are copied whole.
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t to = from;
        while (to < text.size() && !IsBlank(text[to]))
            ++to;
        stripped.append(text.data() + from, to - from);
        from = to;
        while (from < text.size() && IsBlank(text[from]))
            ++from;
    }
}
}  // namespace

std::string StripWhitespace(std::string_view text) {
    std::string stripped;
    stripped.reserve(text.size());
    AppendStripped(text, stripped);
    return stripped;
}

std::string_view StripWhitespace(std::string_view text, std::string& storage) {
    if (std::none_of(text.begin(), text.end(), IsBlank))
        return text;
    storage.clear();
    AppendStripped(text, storage);
    return storage;
}

ComputedExpression ComputeExpressionTree(std::string_view stripped, const VarTable& vars) {
    ExpParser parser(stripped);
    ExpEvaluator evaluator;
    // The evaluator borrows the parsed tree rather than a copy of it, and
    // gives it back afterwards.
    evaluator.m_tree = parser.Parse();
    evaluator.m_variables.Clear();
    evaluator.m_variables.Assign(vars);
    evaluator.m_funcs.SetVariables(&vars);
    const double value = ExpEvaluator::CheckResult(evaluator.Evaluate(*evaluator.m_tree));
    return {value, std::move(evaluator.m_tree)};
}

double ComputeExpression(std::string_view stripped, const VarTable& vars) {
    return ComputeExpressionTree(stripped, vars).value;
}

std::string_view FormatResult(double value, char (&buffer)[kFormattedResultSize]) {
    const auto printed = std::to_chars(buffer, buffer + sizeof buffer - kExponentDigits, value,
                                       std::chars_format::general, kResultDigits);
    std::size_t length = static_cast<std::size_t>(printed.ptr - buffer);
    // Pad the exponent to three digits: the sign stands right after the 'e'.
    const std::string_view text(buffer, length);
    const std::size_t e = text.find('e');
    if (e != std::string_view::npos) {
        const std::size_t digits = length - (e + 2);
        if (digits < kExponentDigits) {
            const std::size_t pad = kExponentDigits - digits;
            std::copy_backward(buffer + e + 2, buffer + length, buffer + length + pad);
            std::fill_n(buffer + e + 2, pad, '0');
            length += pad;
        }
    }
    return {buffer, length};
}

std::string FormatResult(double value) {
    char buffer[kFormattedResultSize];
    return std::string(FormatResult(value, buffer));
}

std::string ComposeErrorMessage(const ExpException& error, std::string_view stripped) {
    std::string text = ExpMessages::kErrorPrefix;
    text += error.GetErrorText();
    text += ExpMessages::kErrorSuffix;
    const int position = error.GetPosition();
    if (position >= 0 && static_cast<std::size_t>(position) < stripped.size()) {
        const auto from = static_cast<std::size_t>(position);
        const std::size_t excerptStart = text.size();
        text += stripped.substr(from, kExcerptLength);
        // Read alone, the second byte of a double-byte character would pair
        // with the byte after it and show a character the user never typed.
        if (StartsInsideCharacter(stripped, from))
            text[excerptStart] = kNotACharacter;
    }
    return text;
}
