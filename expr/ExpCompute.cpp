#include "ExpCompute.h"

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

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xfe; }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xfe && c != 0x7f; }

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
}  // namespace

std::string StripWhitespace(std::string_view text) {
    // Most text has few blanks: the runs between them are copied whole.
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::string stripped;
    stripped.reserve(text.size());
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t to = from;
        while (to < text.size() && !isBlank(text[to]))
            ++to;
        stripped.append(text.data() + from, to - from);
        from = to;
        while (from < text.size() && isBlank(text[from]))
            ++from;
    }
    return stripped;
}

ComputedExpression ComputeExpressionTree(std::string_view stripped, const VarTable& vars) {
    CExpParser parser(stripped);
    CExpEvaluator evaluator;
    // The evaluator borrows the parsed tree rather than a copy of it, and
    // gives it back afterwards.
    evaluator.m_pTree = parser.Parse();
    evaluator.m_variables.Clear();
    evaluator.m_variables.Assign(vars);
    evaluator.m_funcs.SetVariables(&vars);
    const double value = CExpEvaluator::CheckResult(evaluator.Evaluate(*evaluator.m_pTree));
    return {value, std::move(evaluator.m_pTree)};
}

double ComputeExpression(std::string_view stripped, const VarTable& vars) {
    return ComputeExpressionTree(stripped, vars).value;
}

std::string FormatResult(double value) {
    char text[64];
    const auto printed =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, kResultDigits);
    std::string result(text, printed.ptr);
    // Pad the exponent to three digits: the sign stands right after the 'e'.
    const std::size_t e = result.find('e');
    if (e != std::string::npos) {
        const std::size_t digits = result.size() - (e + 2);
        if (digits < kExponentDigits)
            result.insert(e + 2, kExponentDigits - digits, '0');
    }
    return result;
}

std::string ComposeErrorMessage(const CExpException& error, std::string_view stripped) {
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
