// Bytes held elsewhere read as a stream, without a copy: fuzzer inputs run to a hundred
// megabytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <streambuf>

namespace tivla::test {

class MemoryBuffer : public std::streambuf {
public:
    MemoryBuffer(const std::uint8_t* data, std::size_t size) {
        char* begin = reinterpret_cast<char*>(const_cast<std::uint8_t*>(data));
        setg(begin, begin, begin + size);
    }
};

} // namespace tivla::test
