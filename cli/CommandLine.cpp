#include "CommandLine.h"

#include <charconv>
#include <limits>
#include <string>
#include <string_view>
#include <variant>

#include "AsciiChars.h"

namespace {

// "-2^2", "-.5", "-(1+2)" and a lone "-" belong to the expression.
bool IsExpressionWord(std::string_view word) {
    if (word.size() < 2 || word[0] != '-')
        return true;
    return IsDigit(word[1]) || word[1] == '.' || word[1] == '(';
}

// A width as the user may write any whole number: digits with an optional
// leading '+'. Out of range when it is a number too large for an int.
struct WidthReading {
    std::optional<int> width;
    bool outOfRange = false;
};

WidthReading ReadWidth(std::string_view text) {
    if (text.starts_with('+') && text.size() > 1 && IsDigit(text[1]))
        text.remove_prefix(1);
    int width = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), width);
    if (end != text.data() + text.size())
        return {};
    if (error == std::errc::result_out_of_range)
        return {std::nullopt, text[0] != '-'};
    if (error != std::errc() || width < 1)
        return {};
    return {width};
}

class Parser {
  public:
    explicit Parser(std::span<const char* const> arguments) : m_arguments(arguments) {}

    ParsedCommandLine Parse() {
        bool optionsEnded = false;
        std::vector<std::string_view> words;
        while (m_next < m_arguments.size() && m_result.action == CliAction::Compute) {
            const std::string_view argument = m_arguments[m_next++];
            if (optionsEnded || IsExpressionWord(argument)) {
                words.push_back(argument);
            } else if (argument == "--") {
                optionsEnded = true;
            } else if (argument.starts_with("--")) {
                ParseLongOption(argument.substr(2));
            } else {
                ParseShortOptions(argument.substr(1));
            }
        }
        if (m_result.action == CliAction::Compute && !words.empty())
            m_result.options.expression = Join(words);
        if (m_result.action == CliAction::Compute && m_result.options.table)
            CheckTable();
        return std::move(m_result);
    }

  private:
    static std::string Join(const std::vector<std::string_view>& words) {
        std::string joined;
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (i > 0)
                joined += ' ';
            joined += words[i];
        }
        return joined;
    }

    // A table is of one expression, given with it, and has no room for its
    // drawing.
    void CheckTable() {
        if (!m_result.options.expression)
            Fail("option '--table' needs an EXPRESSION");
        else if (m_result.options.natural)
            Fail("option '--table' does not go with '--natural'");
    }

    void Fail(std::string problem) {
        m_result.action = CliAction::UsageError;
        m_result.problem = "tallyfern-cli: " + std::move(problem);
    }

    // The value of an option that needs one: `attached` when given in the
    // same argument, else the next argument.
    std::optional<std::string_view> TakeValue(std::optional<std::string_view> attached,
                                              std::string_view shownName) {
        if (attached)
            return attached;
        if (m_next < m_arguments.size())
            return std::string_view(m_arguments[m_next++]);
        Fail("option '" + std::string(shownName) + "' needs a value");
        return std::nullopt;
    }

    void ApplyOption(char option, std::optional<std::string_view> value,
                     std::string_view shownName) {
        switch (option) {
            case 'h':
                m_result.action = CliAction::ShowHelp;
                return;
            case 'V':
                m_result.action = CliAction::ShowVersion;
                return;
            case 'n':
                m_result.options.natural = true;
                return;
            case 'v':
                return AddVariable(*value, shownName);
            case 'w':
                return SetWidth(*value, shownName);
            case 'T':
                return SetTable(*value, shownName);
        }
    }

    void AddVariable(std::string_view definition, std::string_view shownName) {
        const std::size_t equals = definition.find('=');
        if (equals == std::string_view::npos) {
            Fail("option '" + std::string(shownName) + "' needs NAME=VALUE, not '" +
                 std::string(definition) + "'");
            return;
        }
        m_result.options.variables.push_back({std::string(definition.substr(0, equals)),
                                              std::string(definition.substr(equals + 1))});
    }

    void SetWidth(std::string_view text, std::string_view shownName) {
        const WidthReading reading = ReadWidth(text);
        if (reading.outOfRange) {
            Fail("option '" + std::string(shownName) + "' takes at most " +
                 std::to_string(std::numeric_limits<int>::max()) + ", not '" + std::string(text) +
                 "'");
            return;
        }
        if (!reading.width) {
            Fail("option '" + std::string(shownName) +
                 "' needs a whole number of at least 1, not '" + std::string(text) + "'");
            return;
        }
        m_result.options.width = *reading.width;
    }

    void SetTable(std::string_view text, std::string_view shownName) {
        auto reading = TableRange::Read(text);
        if (auto* problem = std::get_if<std::string>(&reading))
            return Fail("option '" + std::string(shownName) + "': " + *problem);
        m_result.options.table = std::move(std::get<TableRange>(reading));
    }

    struct LongOption {
        std::string_view name;
        char option;
        bool takesValue;
    };
    static constexpr LongOption kLongOptions[] = {
        {"var", 'v', true},   {"width", 'w', true},    {"natural", 'n', false},
        {"help", 'h', false}, {"version", 'V', false}, {"table", 'T', true},
    };

    void ParseLongOption(std::string_view text) {
        const std::size_t equals = text.find('=');
        const std::string_view name = text.substr(0, equals);
        const std::string shownName = "--" + std::string(name);
        std::optional<std::string_view> attached;
        if (equals != std::string_view::npos)
            attached = text.substr(equals + 1);
        for (const LongOption& option : kLongOptions) {
            if (option.name != name)
                continue;
            if (!option.takesValue) {
                if (attached)
                    return Fail("option '" + shownName + "' takes no value");
                return ApplyOption(option.option, std::nullopt, shownName);
            }
            if (const auto value = TakeValue(attached, shownName))
                ApplyOption(option.option, value, shownName);
            return;
        }
        Fail("unknown option '" + shownName + "'");
    }

    // A cluster such as "-nw30" or "-vx=1": flags may be bundled, and an
    // option that needs a value takes the rest of the cluster if any.
    void ParseShortOptions(std::string_view cluster) {
        for (std::size_t i = 0; i < cluster.size() && m_result.action == CliAction::Compute; ++i) {
            const char option = cluster[i];
            const std::string shownName = std::string("-") + option;
            switch (option) {
                case 'h':
                case 'n':
                    ApplyOption(option, std::nullopt, shownName);
                    break;
                case 'v':
                case 'w': {
                    std::optional<std::string_view> attached;
                    if (i + 1 < cluster.size())
                        attached = cluster.substr(i + 1);
                    if (const auto value = TakeValue(attached, shownName))
                        ApplyOption(option, value, shownName);
                    return;
                }
                default:
                    return Fail("unknown option '" + shownName + "'");
            }
        }
    }

    std::span<const char* const> m_arguments;
    std::size_t m_next = 0;
    ParsedCommandLine m_result;
};

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const char* const> arguments) {
    return Parser(arguments).Parse();
}
