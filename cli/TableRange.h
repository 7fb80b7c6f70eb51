#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

// The values a variable takes in a table: NAME=FROM:TO:STEP, FROM first,
// then every STEP on as far as TO.
class TableRange {
  public:
    static constexpr std::int64_t kMostLines = 10'000'000;

    // The range, or what is wrong with it (for "tallyfern-cli: option
    // '--table' ..."). The name is only split off here; its checks need the
    // other variables.
    static std::variant<TableRange, std::string> Read(std::string_view text);

    const std::string& Name() const { return m_name; }
    std::int64_t Count() const { return m_count; }
    // The i-th value. Each is computed from FROM afresh, so errors do not
    // add up along the table; where FROM and STEP are short decimals
    // (0.1, 2.5e-3), it is the double nearest to the decimal FROM + i * STEP
    // (0.3, not 0.30000000000000004), which prints and reads back as itself.
    double At(std::int64_t i) const;

  private:
    std::string m_name;
    double m_from = 0;
    double m_step = 0;
    std::int64_t m_count = 0;
    // FROM and STEP as whole numbers of 10^-m_decimals, when they are.
    bool m_decimal = false;
    int m_decimals = 0;
    double m_scaledFrom = 0;
    double m_scaledStep = 0;
};
