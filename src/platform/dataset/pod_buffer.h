#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace ziro {

// A growable array of plain values on malloc/realloc. Unlike std::vector it
// can give back its unused tail in place (realloc shrinks a large block
// without copying) and grows without zero-filling, which matters for the
// table's byte arena: it is sized to the whole file up front and trimmed
// after loading.
template <typename T>
class PodBuffer
{
    static_assert(std::is_trivially_copyable_v<T>);

public:
    PodBuffer() = default;
    ~PodBuffer() { std::free(m_data); }
    PodBuffer(const PodBuffer&) = delete;
    PodBuffer& operator=(const PodBuffer&) = delete;
    PodBuffer(PodBuffer&& other) noexcept { swap(other); }
    PodBuffer& operator=(PodBuffer&& other) noexcept
    {
        PodBuffer(std::move(other)).swap(*this);
        return *this;
    }
    void swap(PodBuffer& other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
    }

    T* data() { return m_data; }
    const T* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_capacity; }
    bool empty() const { return m_size == 0; }
    T& operator[](std::size_t i) { return m_data[i]; }
    const T& operator[](std::size_t i) const { return m_data[i]; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_size; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_size; }

    void reserve(std::size_t capacity)
    {
        if (capacity > m_capacity)
            reallocate(capacity);
    }
    // Appends `count` uninitialised elements and returns the first.
    T* grow(std::size_t count)
    {
        if (m_size + count > m_capacity)
            reallocate(std::max(m_size + count, m_capacity + m_capacity / 2 + 16));
        T* first = m_data + m_size;
        m_size += count;
        return first;
    }
    void push_back(const T& value) { *grow(1) = value; }
    void append(const T* values, std::size_t count)
    {
        if (count)
            std::memcpy(grow(count), values, count * sizeof(T));
    }
    // Drops elements from the end (never grows).
    void truncate(std::size_t size)
    {
        if (size < m_size)
            m_size = size;
    }
    void clear() { m_size = 0; }
    void shrinkToFit()
    {
        if (m_capacity > m_size)
            reallocate(m_size);
    }

private:
    void reallocate(std::size_t capacity)
    {
        if (capacity == 0) {
            std::free(m_data);
            m_data = nullptr;
            m_capacity = 0;
            return;
        }
        void* moved = std::realloc(m_data, capacity * sizeof(T));
        if (!moved)
            throw std::bad_alloc();
        m_data = static_cast<T*>(moved);
        m_capacity = capacity;
    }

    T* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

}  // namespace ziro
