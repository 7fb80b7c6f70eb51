#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ExpNode.h"

// A parsed expression: all its nodes in one array, with the text they were
// read from beside it.
//
// The array is in post-order: every node follows its whole subtree, the
// children in source order, so the root is the last node, a node's last
// child stands right before it, and each earlier child right before the
// subtree of the next. This is the order in which the parser finishes the
// nodes, so it writes the array front to back with no tree to rearrange
// afterwards, and it is the order of evaluation: the evaluator, like the
// measuring of the natural form, is one forward loop over the array; the
// drawing, which places a parent before its children, one backward loop.
// Copying a tree copies the array; freeing it frees two blocks.
class CExpTree {
  public:
    // How a node's text is found: its text's kind and where it starts.
    enum class TextPlace : std::uint8_t {
        None,
        Source,    // in the expression text
        Composed,  // in the tree's own composed texts ("0.5" for .5)
        Ten,       // the base of a power of ten written with e or E
    };

    // One stored node: 16 bytes, so that a long sum costs 32 bytes a term.
    struct Node {
        union {
            double value;  // a number's value
            struct {
                std::uint32_t size;      // nodes in the subtree of an inner node
                std::uint32_t argCount;  // a call's arguments
            } inner;
        };
        std::uint32_t textStart;  // a leaf's text, a call's name (its end follows from the grammar)
        ExpNodeKind kind;
        char op;
        TextPlace textPlace;
        bool inArgument;  // a variable inside the arguments of a call
    };
    static_assert(sizeof(Node) == 16);

    CExpTree() = default;
    // A copy owns its text, even when the original only views it.
    CExpTree(const CExpTree& other);
    CExpTree& operator=(const CExpTree& other);
    CExpTree(CExpTree&&) noexcept = default;
    CExpTree& operator=(CExpTree&&) noexcept = default;
    virtual ~CExpTree() = default;

    bool IsEmpty() const { return m_nodes.empty(); }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(m_nodes.size()); }
    // The root (the last node), or a null node for an empty tree.
    CExpNode Root() const;
    CExpNode At(std::uint32_t index) const { return CExpNode(this, index); }
    std::span<const Node> Nodes() const { return m_nodes; }
    const Node& NodeAt(std::uint32_t index) const { return m_nodes[index]; }

    // The index of the first node of the subtree whose root is `index`.
    std::uint32_t SubtreeStart(std::uint32_t index) const {
        return index + 1 - SubtreeSize(index);
    }
    std::uint32_t SubtreeSize(std::uint32_t index) const {
        const Node& node = m_nodes[index];
        return node.kind == ExpNodeKind::Number || node.kind == ExpNodeKind::Variable
                   ? 1
                   : node.inner.size;
    }
    std::string_view TextOf(std::uint32_t index) const;
    // The text the tree was read from.
    std::string_view Source() const { return m_source; }

    // The parser's side: starts a tree over `source`, which the tree either
    // copies or only views (then the caller keeps it alive and unchanged as
    // long as the tree is used). Keeps the storage of an earlier tree.
    void Begin(std::string_view source, bool keepCopy, std::size_t expectedNodes);
    void Append(const Node& node) { m_nodes.push_back(node); }
    // Keeps `text` among the composed texts; returns where it starts there.
    std::uint32_t Compose(std::string_view a, std::string_view b);
    // Gives back storage far beyond what a short expression needs.
    void ReleaseLargeStorage();
    void Clear();

  private:
    std::vector<Node> m_nodes;
    std::string m_ownSource;
    std::string_view m_source;
    std::string m_composed;
};
