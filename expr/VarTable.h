#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// User variables by name. Names are byte strings compared byte by byte
// (unsigned, case-sensitive); inserting a name that is already present keeps
// the stored value, so when the grid lists a name twice the upper row wins.
class VarTable {
  public:
    void Clear() { m_entries.clear(); }
    // Whether the pair was added (false when the name was already there).
    bool Insert(std::string_view name, double value) {
        return m_entries.emplace(std::string(name), value).second;
    }
    // Sets the value of `name`, adding it when absent.
    void Set(std::string_view name, double value) {
        m_entries.insert_or_assign(std::string(name), value);
    }
    void Erase(std::string_view name) {
        if (const auto it = m_entries.find(name); it != m_entries.end())
            m_entries.erase(it);
    }
    std::optional<double> Find(std::string_view name) const {
        const auto it = m_entries.find(name);
        if (it == m_entries.end())
            return std::nullopt;
        return it->second;
    }
    void Assign(const VarTable& other) {
        if (this != &other)
            m_entries = other.m_entries;
    }
    std::size_t Size() const { return m_entries.size(); }
    bool IsEmpty() const { return m_entries.empty(); }

  private:
    std::map<std::string, double, std::less<>> m_entries;
};
