// Where the program's controls are, in logical pixels relative to their window: the places a
// person aims the mouse at.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace tivla::e2e::places {

// The title screen, in screen coordinates.
inline constexpr QRect kTitleScreen{254, 150, 767, 553};
inline constexpr QSize kMainWindowAtStart{968, 640};

// Title area (the framed panel at 15, 8 and what it holds).
inline constexpr QPoint kTitleArea{15, 8};
inline constexpr QRect kTitleAreaFrame{15, 8, 297, 49};
inline constexpr QRect kAboutButton{15 + 9, 8 + 16, 80, 25};
inline constexpr QRect kTitleLabel{15 + 104, 8 + 8, 74, 30};
inline constexpr QRect kMinimiseButton{15 + 225, 8 + 16, 32, 25};
inline constexpr QRect kExitButton{15 + 257, 8 + 16, 33, 25};

// Board size buttons, stacked at the left edge.
inline constexpr QRect kSize40Button{0, 64, 41, 22};
inline constexpr QRect kSize50Button{0, 88, 41, 22};
inline constexpr QRect kSize80Button{0, 112, 41, 22};
inline constexpr QRect kSize100Button{0, 136, 41, 22};
inline constexpr QRect kSize150Button{0, 160, 41, 22};
inline constexpr QRect kSize200Button{0, 184, 41, 22};

// Tool buttons.
inline constexpr QRect kClearButton{48, 64, 25, 25};
inline constexpr QRect kStartStopButton{72, 64, 25, 25};
inline constexpr QRect kOpenButton{48, 88, 25, 25};
inline constexpr QRect kBatchButton{72, 88, 25, 25};
inline constexpr QRect kSaveButton{48, 112, 25, 25};
inline constexpr QRect kAdvanceToButton{72, 112, 25, 25};
inline constexpr QRect kSnapshotButton{48, 136, 49, 25};

// Run parameters.
inline constexpr QRect kSpeedLabel{104, 72, 41, 11};
inline constexpr QRect kIntervalEdit{152, 64, 33, 19};
inline constexpr QRect kStepsLabel{136, 96, 12, 11};
inline constexpr QRect kStepsEdit{152, 88, 33, 19};
inline constexpr QRect kTargetLabel{136, 120, 12, 11};
inline constexpr QRect kTargetEdit{152, 112, 33, 19};

// Editing mode and the stamp panels.
inline constexpr QRect kPokeRadio{192, 64, 65, 17};
inline constexpr QRect kDrawRadio{256, 64, 57, 17};
inline constexpr QRect kPinCheckBox{192, 80, 129, 17};
inline constexpr QRect kBrushPanelShut{200, 112, 121, 15};
inline constexpr QRect kFigurePanelShut{200, 136, 121, 15};
// The open figure panel's radio buttons lie at 8, 16 + 16k inside it, from "Долгожитель"
// (k = 0) down to "Долгожитель(1105)" (k = 6); k = 4 is "Дрозд".
inline constexpr int kFigurePanelOpenHeight = 137;
inline constexpr QRect figureRadio(int k) {
    return {200 + 8, 136 + 16 + 16 * k, 97, 17};
}
inline constexpr int kThrushFigure = 4;

// Grid lines, settings and statistics.
inline constexpr QRect kGridLinesCheckBox{56, 176, 121, 17};
inline constexpr QRect kFillCheckBox{8, 216, 177, 25};
inline constexpr QRect kSettingsPanelShut{0, 248, 137, 1};
// With the settings panel open (97 high) the statistics panel sits 96 lower, at 8, 352.
inline constexpr int kSettingsPanelOpenHeight = 97;
inline constexpr QRect kFillCountOpen{0 + 13, 248 + 35, 52, 23};
inline constexpr QRect kFillButtonOpen{0 + 8, 248 + 64, 105, 25};
inline constexpr QRect kStatisticsPanelShut{8, 256, 185, 15};
inline constexpr int kStatisticsPanelOpenHeight = 265;
inline constexpr QPoint kStatisticsOffsetWithSettingsOpen{0, 96};
// Inside the statistics panel.
inline constexpr QRect kGenerationValue{90, 16, 40, 13};
inline constexpr QRect kChart{8, 80, 169, 177};

// The board.
inline constexpr QPoint kGrid{328, 0};
inline constexpr int kStartBoardSize = 40;
inline constexpr int kStartCellSize = 15;

// A spot of the control panel where the pointer rests without touching anything.
inline constexpr QPoint kRestingPoint{260, 600};

inline constexpr QPoint centre(const QRect& r) {
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

// A radio button or check box is aimed at its indicator, at the left of its box.
inline constexpr QPoint indicator(const QRect& r) {
    return {r.x() + 7, r.y() + r.height() / 2};
}

} // namespace tivla::e2e::places
