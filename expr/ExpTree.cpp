#include "ExpTree.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::string_view kTen = "10";

// Storage a tree keeps for the next expression; beyond it, a large one's
// memory goes back when the next tree begins.
constexpr std::size_t kKeptNodes = 4096;

// A tree of a long text takes tens of megabytes that the kernel hands out
// page by page as the parser writes them: with 4 KiB pages, taking them is
// a fifth of the whole computation of a long sum. Large pages, where the
// system gives them on request, cut that to a few steps. Only whole large
// pages inside the block are asked for.
void AskForLargePages(const void* block, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    constexpr std::size_t kWorthIt = 4 * kLargePage;
    if (bytes < kWorthIt)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t from = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t to = (start + bytes) & ~(kLargePage - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)block;
    (void)bytes;
#endif
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c) || c == '_';
}

// A node keeps where its text starts; where it ends follows from the
// grammar, which no other character continues: a number is digits with an
// optional fraction, a name letters, digits and '_'.
std::string_view TextFrom(std::string_view text, std::size_t start, ExpNodeKind kind) {
    std::size_t end = start;
    if (kind == ExpNodeKind::Number) {
        while (end < text.size() && IsDigit(text[end]))
            ++end;
        if (end + 1 < text.size() && text[end] == '.' && IsDigit(text[end + 1])) {
            ++end;
            while (end < text.size() && IsDigit(text[end]))
                ++end;
        }
    } else {
        while (end < text.size() && IsNameChar(text[end]))
            ++end;
    }
    return text.substr(start, end - start);
}

}  // namespace

CExpTree::CExpTree(const CExpTree& other)
    : m_nodes(other.m_nodes), m_ownSource(other.m_source), m_source(m_ownSource),
      m_composed(other.m_composed) {}

CExpTree& CExpTree::operator=(const CExpTree& other) {
    if (this != &other) {
        CExpTree copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CExpNode CExpTree::Root() const {
    return m_nodes.empty() ? CExpNode() : CExpNode(this, Size() - 1);
}

std::string_view CExpTree::TextOf(std::uint32_t index) const {
    const Node& node = m_nodes[index];
    switch (node.textPlace) {
        case TextPlace::Source:
            return TextFrom(m_source, node.textStart, node.kind);
        case TextPlace::Composed:
            return TextFrom(m_composed, node.textStart, node.kind);
        case TextPlace::Ten:
            return kTen;
        case TextPlace::None:
            break;
    }
    return {};
}

void CExpTree::Begin(std::string_view source, bool keepCopy, std::size_t expectedNodes) {
    Clear();
    if (keepCopy) {
        m_ownSource.assign(source);
        m_source = m_ownSource;
    } else {
        m_source = source;
    }
    m_nodes.reserve(expectedNodes);
    AskForLargePages(m_nodes.data(), m_nodes.capacity() * sizeof(Node));
}

std::uint32_t CExpTree::Compose(std::string_view a, std::string_view b) {
    const auto start = static_cast<std::uint32_t>(m_composed.size());
    m_composed += a;
    m_composed += b;
    // A separator, so that the text's end is found as in the source.
    m_composed += ' ';
    return start;
}

void CExpTree::ReleaseLargeStorage() {
    if (m_nodes.capacity() > kKeptNodes)
        std::vector<Node>().swap(m_nodes);
    if (m_ownSource.capacity() > kKeptNodes)
        std::string().swap(m_ownSource);
    if (m_composed.capacity() > kKeptNodes)
        std::string().swap(m_composed);
}

void CExpTree::Clear() {
    ReleaseLargeStorage();
    m_nodes.clear();
    m_ownSource.clear();
    m_composed.clear();
    m_source = {};
}
