// Counts the bytes held through operator new, so a test measures memory without asking the code
// it measures. Include it in one file of a test executable: it replaces operator new and delete.
#pragma once

#include <malloc.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace tivla::test {
inline std::atomic<std::int64_t>& heldBytes() {
    static std::atomic<std::int64_t> bytes{0};
    return bytes;
}
// Both deletes free here: a sized delete that called the plain one made GCC 14 see a malloc'ed
// block handed to operator delete.
inline void release(void* block) noexcept {
    heldBytes() -= static_cast<std::int64_t>(malloc_usable_size(block));
    std::free(block);
}
} // namespace tivla::test

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    tivla::test::heldBytes() += static_cast<std::int64_t>(malloc_usable_size(block));
    return block;
}
void operator delete(void* block) noexcept {
    tivla::test::release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    tivla::test::release(block);
}
