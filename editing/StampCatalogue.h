// The eighteen fixed stamps a press places on the board, with what the stamp buttons show.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace tivla {

inline constexpr int kFirstStampKind = 1;
inline constexpr int kLastStampKind = 18;
inline constexpr int kStampCount = kLastStampKind - kFirstStampKind + 1;
// The largest stamp (the 3x3 block) has nine cells; nothing else may grow past it, because a
// stamp is drawn on every pointer move in draw mode.
inline constexpr std::size_t kMaxStampCells = 9;

inline constexpr std::string_view kBrushPanelCaption = "Кисти";
inline constexpr std::string_view kFigurePanelCaption = "Фигурки";

enum class StampPanel { Brushes, Figures };

// Stamp 1 flips its single cell (only ever to alive in draw mode); all others only set cells.
enum class StampEffect { Toggle, Set };

// dx counts columns to the right, dy rows downward, from the anchor (the grid's current cell).
struct StampOffset {
    std::int8_t dx = 0;
    std::int8_t dy = 0;
};

struct Stamp {
    int kind = 0;
    StampPanel panel = StampPanel::Brushes;
    // RadioButton1 to RadioButton18.
    int radioButton = 0;
    // UTF-8; captions repeat, so a stamp is known by its kind only.
    std::string_view caption;
    StampEffect effect = StampEffect::Set;
    std::array<StampOffset, kMaxStampCells> offsets{};
    std::size_t cellCount = 0;

    constexpr std::span<const StampOffset> cells() const { return {offsets.data(), cellCount}; }
};

namespace detail {

constexpr Stamp makeStamp(int kind, StampPanel panel, std::string_view caption, StampEffect effect,
                          std::initializer_list<StampOffset> cells) {
    Stamp stamp{kind, panel, kind, caption, effect, {}, cells.size()};
    std::size_t i = 0;
    for (const StampOffset& offset : cells) {
        stamp.offsets[i++] = offset;
    }
    return stamp;
}

} // namespace detail

// Indexed by kind - 1.
inline constexpr std::array<Stamp, kStampCount> kStampCatalogue{{
    detail::makeStamp(1, StampPanel::Brushes, "Один", StampEffect::Toggle, {{0, 0}}),
    detail::makeStamp(2, StampPanel::Brushes, "2х2", StampEffect::Set,
                      {{0, 0}, {1, 0}, {0, 1}, {1, 1}}),
    detail::makeStamp(
        3, StampPanel::Brushes, "3х3", StampEffect::Set,
        {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}),
    detail::makeStamp(4, StampPanel::Brushes, "Палка", StampEffect::Set, {{0, -1}, {0, 0}, {0, 1}}),
    detail::makeStamp(5, StampPanel::Brushes, "Палка", StampEffect::Set, {{-1, 0}, {0, 0}, {1, 0}}),
    detail::makeStamp(6, StampPanel::Brushes, "Крест", StampEffect::Set,
                      {{0, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}}),
    detail::makeStamp(7, StampPanel::Brushes, "Глайдер", StampEffect::Set,
                      {{0, 0}, {1, 1}, {-1, 2}, {0, 2}, {1, 2}}),
    detail::makeStamp(8, StampPanel::Brushes, "Пять", StampEffect::Set,
                      {{-1, -1}, {1, -1}, {0, 0}, {-1, 1}, {1, 1}}),
    detail::makeStamp(9, StampPanel::Brushes, "Периметр", StampEffect::Set,
                      {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}),
    detail::makeStamp(10, StampPanel::Brushes, "Угол", StampEffect::Set,
                      {{1, -1}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}),
    detail::makeStamp(11, StampPanel::Brushes, "Угол", StampEffect::Set,
                      {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {-1, 1}}),
    detail::makeStamp(12, StampPanel::Figures, "Долгожитель(1105)", StampEffect::Set,
                      {{0, -1}, {1, -1}, {2, -1}, {-1, 0}, {-1, 1}}),
    detail::makeStamp(13, StampPanel::Figures, "Долгожитель", StampEffect::Set,
                      {{0, -1}, {1, -1}, {2, -1}, {3, 0}, {3, 1}, {4, 1}}),
    detail::makeStamp(14, StampPanel::Figures, "Дрозд", StampEffect::Set,
                      {{-1, -2}, {0, -2}, {1, -2}, {0, 0}, {0, 1}, {0, 2}}),
    detail::makeStamp(15, StampPanel::Figures, "Долгожитель", StampEffect::Set,
                      {{-1, -1}, {-2, 0}, {-1, 0}, {1, 0}, {2, 0}, {3, 0}}),
    detail::makeStamp(16, StampPanel::Figures, "Гептамино", StampEffect::Set,
                      {{0, -2}, {0, -1}, {-1, 0}, {1, 0}, {-1, 1}, {1, 1}, {2, 1}}),
    detail::makeStamp(17, StampPanel::Figures, "Желудь(клотик)", StampEffect::Set,
                      {{-2, -2}, {0, -1}, {-3, 0}, {-2, 0}, {1, 0}, {2, 0}, {3, 0}}),
    detail::makeStamp(18, StampPanel::Figures, "Долгожитель", StampEffect::Set,
                      {{1, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}}),
}};

// The stamp of a StampKind, or nullptr for a kind outside 1 to 18.
constexpr const Stamp* findStamp(int kind) {
    if (kind < kFirstStampKind || kind > kLastStampKind) {
        return nullptr;
    }
    return &kStampCatalogue[static_cast<std::size_t>(kind - kFirstStampKind)];
}

namespace detail {

constexpr bool catalogueIsConsistent() {
    for (std::size_t i = 0; i < kStampCatalogue.size(); ++i) {
        const Stamp& stamp = kStampCatalogue[i];
        if (stamp.kind != static_cast<int>(i) + kFirstStampKind || stamp.cellCount == 0 ||
            stamp.cellCount > kMaxStampCells) {
            return false;
        }
    }
    return true;
}

static_assert(catalogueIsConsistent());

} // namespace detail

} // namespace tivla
