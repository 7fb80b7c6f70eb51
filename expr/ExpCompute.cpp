#include "ExpCompute.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "CodePage.h"
#include "ExpEvaluator.h"
#include "ExpMessages.h"
#include "ExpOnePassEvaluator.h"
#include "ExpParser.h"
#include "FifteenDigits.h"
#include "Utf8Sequence.h"

namespace {
constexpr std::size_t kExcerptLength = 10;
constexpr int kResultDigits = 15;
constexpr std::size_t kExponentDigits = 3;

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

std::size_t AsciiPrefixLength(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && static_cast<unsigned char>(text[length]) < 0x80)
        ++length;
    return length;
}

// Appends the text from code page byte `from` on that fits in
// kExcerptLength code page bytes, each character as typed (a byte that
// begins no UTF-8 character as '?'). A double-byte character cut by either
// end shows as one U+FFFD, as its lone byte always has.
void AppendExcerpt(std::string_view text, std::size_t from, std::string& out) {
    // Up to the first non-ASCII byte, code page bytes are the text's bytes.
    std::size_t at = std::min(from, AsciiPrefixLength(text));
    std::size_t codePageAt = at;
    std::size_t budget = kExcerptLength;
    while (at < text.size() && budget > 0) {
        const std::size_t sequence = Utf8SequenceLength(text.substr(at));
        const std::size_t length = std::max<std::size_t>(sequence, 1);
        const std::string_view character = text.substr(at, length);
        const std::size_t width = CodePage936Width(character);
        if (codePageAt + width > from) {
            if (codePageAt < from || width > budget) {
                out += kReplacementCharacter;
                budget = budget > width ? budget - 1 : 0;
            } else {
                out += sequence == 0 ? std::string_view("?") : character;
                budget -= width;
            }
        }
        codePageAt += width;
        at += length;
    }
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

namespace {

// Whether `text` holds no blank. Blanks are control characters or the
// space: the least byte, found with no early exit, which the compiler
// vectorises, clears most texts before a closer look.
bool HasNoBlank(std::string_view text) {
    unsigned char least = 0xff;
    for (const char c : text)
        least = std::min(least, static_cast<unsigned char>(c));
    return least > static_cast<unsigned char>(' ') ||
           std::none_of(text.begin(), text.end(), IsBlank);
}

}  // namespace

std::string_view StripWhitespace(std::string_view text, std::string& storage) {
    if (HasNoBlank(text))
        return text;
    storage.clear();
    AppendStripped(text, storage);
    return storage;
}

ComputedExpression ComputeExpressionTree(std::string_view stripped, const VarTable& vars,
                                         const std::atomic<bool>* cancel) {
    ExpParser parser(stripped);
    parser.SetCancel(cancel);
    ExpEvaluator evaluator;
    evaluator.m_cancel = cancel;
    // The evaluator borrows the parsed tree rather than a copy of it, and
    // gives it back afterwards.
    evaluator.m_tree = parser.Parse();
    // The caller's table is read where it stands: copying a few hundred
    // thousand variables would cost more than most computations.
    evaluator.m_readVariables = &vars;
    evaluator.m_funcs.SetVariables(&vars);
    const double value = evaluator.CheckEvaluated(evaluator.Evaluate(*evaluator.m_tree));
    return {value, std::move(evaluator.m_tree)};
}

double ComputeExpression(std::string_view stripped, const VarTable& vars) {
    // No tree is asked for: the value is computed while the text is read.
    const ExpFuncTable funcs = [&vars] {
        ExpFuncTable table;
        table.SetVariables(&vars);
        return table;
    }();
    ExpOnePassEvaluator evaluator(vars, funcs);
    return ExpParser().Compute(stripped, evaluator);
}

std::string_view FormatResult(double value, char (&buffer)[kFormattedResultSize]) {
    // Most results take the quick way; the rest, to_chars' own.
    const char* printed = WriteFifteenDigits(buffer, value);
    if (printed == nullptr) {
        printed = std::to_chars(buffer, buffer + sizeof buffer - kExponentDigits, value,
                                std::chars_format::general, kResultDigits)
                      .ptr;
    }
    std::size_t length = static_cast<std::size_t>(printed - buffer);
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

std::string ErrorExcerpt(const ExpException& error, std::string_view stripped) {
    std::string excerpt;
    const int position = error.GetPosition();
    if (position >= 0)
        AppendExcerpt(stripped, static_cast<std::size_t>(position), excerpt);
    return excerpt;
}

std::string ComposeErrorMessage(const ExpException& error, std::string_view stripped) {
    std::string text = ExpMessages::kErrorPrefix;
    text += error.GetErrorText();
    text += ExpMessages::kErrorSuffix;
    text += ErrorExcerpt(error, stripped);
    return text;
}
