#include "PlotVariable.h"

#include <algorithm>

std::vector<std::string> NamesRead(const ExpressionTree& tree) {
    using Tag = ExpressionTree::Tag;
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < tree.Size(); ++i) {
        const Tag tag = tree.TagAt(i);
        if (tag == Tag::Variable || tag == Tag::ArgumentVariable)
            names.emplace_back(tree.TextOf(i));
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::vector<std::string> UndefinedNames(const ExpressionTree& tree, const VarTable& variables) {
    std::vector<std::string> names = NamesRead(tree);
    std::erase_if(names, [&](const std::string& name) { return variables.Find(name).has_value(); });
    return names;
}

std::optional<std::string> ChooseVariable(const ExpressionTree& tree, const VarTable& variables) {
    std::vector<std::string> names = UndefinedNames(tree, variables);
    if (names.size() != 1)
        return std::nullopt;
    return std::move(names.front());
}
