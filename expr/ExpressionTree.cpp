#include "ExpressionTree.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <new>

#include "AsciiChars.h"

namespace {

constexpr std::string_view kTen = "10";

// Storage a tree keeps for the next expression; beyond it, a large one's
// memory goes back when the next tree begins.
constexpr std::size_t kKeptNodes = 4096;

// The most a text of `length` bytes can make: "1e1+" makes six nodes and
// three numbers of four bytes, "f(f(1))" a call every three bytes. Room for
// them is reserved up front, so that no array moves while it grows (a move
// would hold the old and the new array at once); pages that are never
// written take no memory.
std::size_t MostNodes(std::size_t length) {
    return length / 3 * 5 + 5;
}
std::size_t MostNumbers(std::size_t length) {
    return length / 4 * 3 + 3;
}
std::size_t MostCalls(std::size_t length) {
    return length / 3 + 1;
}

// A tree of a long text takes megabytes that the kernel hands out page by
// page as the parser writes them: with 4 KiB pages, taking them is a fifth
// of the whole computation of a long sum. Large pages, where the system
// gives them on request, cut that to a few steps; the arrays' large blocks
// start where a large page does. A large page is resident as a whole once
// touched, so the values and the calls, which a text may hardly use, take
// them only after their first `kLargePage` bytes. Only whole large pages
// inside the block are asked for.
constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
template <class T>
void AskForLargePages(const AppendArray<T>& array, std::uintptr_t after) {
#ifdef MADV_HUGEPAGE
    const std::size_t bytes = array.Capacity() * sizeof(T);
    const auto start = reinterpret_cast<std::uintptr_t>(array.Data());
    const std::uintptr_t from = (start + after + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t to = (start + bytes) & ~(kLargePage - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)array;
    (void)after;
#endif
}

// A node keeps where its text starts; where it ends follows from the
// grammar, which no other character continues: a number is digits with an
// optional fraction, a name letters, digits and '_'.
std::string_view TextFrom(std::string_view text, std::size_t start, bool number) {
    std::size_t end = start;
    if (number) {
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

template <class T>
void ReleaseIfLarge(AppendArray<T>& array) {
    if (array.Capacity() > kKeptNodes)
        array.Free();
}

}  // namespace

ExpressionTree::ExpressionTree(const ExpressionTree& other)
    : m_nodes(other.m_nodes),
      m_values(other.m_values),
      m_calls(other.m_calls),
      m_numberCounts(other.m_numberCounts),
      m_lastSize(other.m_lastSize),
      m_drawn(other.m_drawn),
      m_ownSource(other.m_source),
      m_source(m_ownSource),
      m_composed(other.m_composed) {}

ExpressionTree& ExpressionTree::operator=(const ExpressionTree& other) {
    if (this != &other) {
        ExpressionTree copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::uint32_t ExpressionTree::NumbersBefore(std::uint32_t index) const {
    const std::uint32_t block = index / kCountStep;
    const std::uint32_t from = block * kCountStep;
    const auto counted = std::count_if(m_nodes.Data() + from, m_nodes.Data() + index,
                                       [](const Node& node) { return IsNumber(node.tag); });
    const std::uint32_t before = block == 0 ? 0 : m_numberCounts[block - 1];
    return before + static_cast<std::uint32_t>(counted);
}

std::string_view ExpressionTree::TextOf(std::uint32_t index) const {
    const std::uint32_t word = m_nodes[index].word;
    switch (m_nodes[index].tag) {
        case Tag::Number:
            return TextFrom(m_source, word, true);
        case Tag::ComposedNumber:
            return TextFrom(m_composed, word, true);
        case Tag::Ten:
            return kTen;
        case Tag::Variable:
        case Tag::ArgumentVariable:
            return TextFrom(m_source, word, false);
        case Tag::Call:
            return NameOf(m_calls[word]);
        default:
            return {};
    }
}

std::string_view ExpressionTree::NameOf(const CallData& call) const {
    return TextFrom(m_source, call.nameStart, false);
}

void ExpressionTree::Begin(std::string_view source, bool keepCopy) {
    Clear();
    if (keepCopy) {
        m_ownSource.assign(source);
        m_source = m_ownSource;
    } else {
        m_source = source;
    }
    const std::size_t length = source.size();
    // Room kept from an earlier text is room for this one too.
    if (m_nodes.Capacity() >= MostNodes(length))
        return;
    try {
        Reserve(MostNodes(length), MostNumbers(length), MostCalls(length));
    } catch (const std::bad_alloc&) {
        // Without room for the worst case, the arrays grow as they must.
        // The source stays: the tree may own the text it reads.
        ReleaseLargeArrays();
        Reserve(length / 2, length / 4, 0);
    }
}

void ExpressionTree::Reserve(std::size_t nodes, std::size_t numbers, std::size_t calls) {
    m_nodes.Reserve(nodes);
    m_values.Reserve(numbers);
    m_calls.Reserve(calls);
    m_numberCounts.Reserve(nodes / kCountStep + 1);
    AskForLargePages(m_nodes, 0);
    AskForLargePages(m_values, kLargePage);
    AskForLargePages(m_calls, kLargePage);
}

std::uint32_t ExpressionTree::Compose(std::string_view a, std::string_view b) {
    const auto start = static_cast<std::uint32_t>(m_composed.size());
    m_composed += a;
    m_composed += b;
    // A separator, so that the text's end is found as in the source.
    m_composed += ' ';
    return start;
}

void ExpressionTree::ReleaseLargeArrays() {
    ReleaseIfLarge(m_nodes);
    ReleaseIfLarge(m_values);
    ReleaseIfLarge(m_calls);
    ReleaseIfLarge(m_numberCounts);
}

void ExpressionTree::ReleaseLargeStorage() {
    ReleaseLargeArrays();
    if (m_ownSource.capacity() > kKeptNodes)
        std::string().swap(m_ownSource);
    if (m_composed.capacity() > kKeptNodes)
        std::string().swap(m_composed);
}

void ExpressionTree::Clear() {
    ReleaseLargeStorage();
    m_nodes.Clear();
    m_values.Clear();
    m_calls.Clear();
    m_numberCounts.Clear();
    m_lastSize = 0;
    m_drawn = {};
    m_ownSource.clear();
    m_composed.clear();
    m_source = {};
}
