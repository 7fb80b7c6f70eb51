#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

// An array of plain values filled front to back, for the parts of a tree.
// A vector would do, but its append carries the code of growing inline,
// which makes each of a parser's many appends set up a call frame; here
// the fast path is a test and a store, and growing is out of line. Like a
// vector's reserve, Reserve leaves the room unwritten, so that pages a text
// never reaches take no memory. A block of 2 MiB or more starts on a 2 MiB
// boundary, where the system's large pages begin, so that large pages can
// serve it from its first byte (see ExpressionTree).
template <class T>
class AppendArray {
    static_assert(std::is_trivially_copyable_v<T>);

  public:
    AppendArray() = default;
    AppendArray(const AppendArray& other) { *this = other; }
    AppendArray& operator=(const AppendArray& other) {
        if (this != &other) {
            Free();
            Reserve(other.m_size);
            std::copy_n(other.m_data.get(), other.m_size, m_data.get());
            m_size = other.m_size;
        }
        return *this;
    }
    AppendArray(AppendArray&& other) noexcept { *this = std::move(other); }
    AppendArray& operator=(AppendArray&& other) noexcept {
        m_data = std::move(other.m_data);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
        return *this;
    }

    std::size_t Size() const { return m_size; }
    std::size_t Capacity() const { return m_capacity; }
    bool IsFull() const { return m_size == m_capacity; }
    const T* Data() const { return m_data.get(); }
    std::span<const T> View() const { return {m_data.get(), m_size}; }
    const T& operator[](std::size_t index) const { return m_data.get()[index]; }

    // Call only when !IsFull().
    void AppendToRoom(const T& value) { m_data.get()[m_size++] = value; }
    void Append(const T& value) {
        if (IsFull()) [[unlikely]]
            Grow();
        AppendToRoom(value);
    }

    // Room for `capacity` values in all, keeping those there are.
    void Reserve(std::size_t capacity) {
        if (capacity <= m_capacity)
            return;
        const std::size_t bytes = capacity * sizeof(T);
        const std::align_val_t alignment{bytes >= kLargeBlock ? kLargeBlock : kSmallBlock};
        Block larger(static_cast<T*>(::operator new(bytes, alignment)), Release{alignment});
        if (m_size > 0)
            std::memcpy(larger.get(), m_data.get(), m_size * sizeof(T));
        m_data = std::move(larger);
        m_capacity = capacity;
    }
    [[gnu::noinline]] void Grow() { Reserve(std::max<std::size_t>(2 * m_capacity, 16)); }
    void Clear() { m_size = 0; }
    void Free() {
        m_data.reset();
        m_size = 0;
        m_capacity = 0;
    }

  private:
    static constexpr std::size_t kLargeBlock = std::size_t{2} << 20;
    static constexpr std::size_t kSmallBlock = std::max(alignof(T), alignof(std::max_align_t));
    struct Release {
        std::align_val_t alignment;
        void operator()(T* block) const { ::operator delete(block, alignment); }
    };
    using Block = std::unique_ptr<T[], Release>;

    Block m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};
