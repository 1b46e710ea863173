// The textbook two-buffer Life step on a bounded board: the yardstick that tests and
// benchmarks measure the engine against.
#pragma once

#include <cstdint>
#include <vector>

namespace tivla {

class TextbookLife {
public:
    explicit TextbookLife(int size)
        : size_(size), cells_(static_cast<std::size_t>(size * size)), next_(cells_) {}

    int size() const { return size_; }
    bool alive(int column, int row) const { return cells_[index(column, row)] != 0; }
    void set(int column, int row, bool alive) { cells_[index(column, row)] = alive ? 1 : 0; }

    void step() {
        for (int r = 0; r < size_; ++r) {
            for (int c = 0; c < size_; ++c) {
                int n = 0;
                for (int dr = -1; dr <= 1; ++dr) {
                    for (int dc = -1; dc <= 1; ++dc) {
                        const int rr = r + dr;
                        const int cc = c + dc;
                        if ((dr || dc) && rr >= 0 && cc >= 0 && rr < size_ && cc < size_) {
                            n += cells_[index(cc, rr)];
                        }
                    }
                }
                const bool live = cells_[index(c, r)] != 0;
                next_[index(c, r)] = (n == 3 || (live && n == 2)) ? 1 : 0;
            }
        }
        cells_.swap(next_);
    }

private:
    std::size_t index(int column, int row) const {
        return static_cast<std::size_t>(row * size_ + column);
    }

    int size_;
    std::vector<std::uint8_t> cells_;
    std::vector<std::uint8_t> next_;
};

} // namespace tivla
