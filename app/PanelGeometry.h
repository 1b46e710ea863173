// Where the main window's four sliding panels start and where their slides end; the layout,
// the slides and the tests read them here.
#pragma once

#include <QRect>

namespace tivla {

// A shut stamp or statistics panel shows only the strip that carries its caption.
inline constexpr int kPanelStripHeight = 15;
inline constexpr int kBrushesOpenHeight = 121;
inline constexpr int kFiguresOpenHeight = 137;
inline constexpr int kSettingsOpenHeight = 97;
inline constexpr int kSettingsShutHeight = 0;
inline constexpr int kStatisticsOpenHeight = 265;

// GroupBox4, GroupBox5, GroupBox1 and GroupBox2 as the window starts. The settings panel
// starts one pixel high, so its first opening moves the statistics panel one pixel less far
// than every later one.
inline constexpr QRect kBrushesPanelAtStart{200, 112, 121, kPanelStripHeight};
inline constexpr QRect kFiguresPanelAtStart{200, 136, 121, kPanelStripHeight};
inline constexpr QRect kSettingsPanelAtStart{0, 248, 137, 1};
inline constexpr QRect kStatisticsPanelAtStart{8, 256, 185, kPanelStripHeight};

} // namespace tivla
