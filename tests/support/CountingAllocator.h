// Counts the bytes the program holds through operator new, so a test measures memory without
// asking the code it measures. Include it in one file of a test executable only: it replaces
// the global operator new and delete.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace tivla::test {

inline std::atomic<std::int64_t>& heldBytes() {
    static std::atomic<std::int64_t> bytes{0};
    return bytes;
}

// Each block carries its size in front, aligned as operator new must align.
inline constexpr std::size_t kCountedHeader = alignof(std::max_align_t);

inline void* countedNew(std::size_t size) {
    void* block = std::malloc(size + kCountedHeader);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(block) = size;
    heldBytes() += static_cast<std::int64_t>(size);
    return static_cast<char*>(block) + kCountedHeader;
}

inline void countedDelete(void* pointer) noexcept {
    if (pointer != nullptr) {
        void* block = static_cast<char*>(pointer) - kCountedHeader;
        heldBytes() -= static_cast<std::int64_t>(*static_cast<std::size_t*>(block));
        std::free(block);
    }
}

} // namespace tivla::test

void* operator new(std::size_t size) {
    return tivla::test::countedNew(size);
}
void* operator new[](std::size_t size) {
    return tivla::test::countedNew(size);
}
void operator delete(void* pointer) noexcept {
    tivla::test::countedDelete(pointer);
}
void operator delete[](void* pointer) noexcept {
    tivla::test::countedDelete(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    tivla::test::countedDelete(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    tivla::test::countedDelete(pointer);
}
