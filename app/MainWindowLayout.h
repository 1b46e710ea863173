// Creates every control of the main window at its place with its text, font, colour,
// tooltip and starting state.
#pragma once

#include <QString>

namespace tivla {

class TForm1;

inline const QString kStatisticsShutCaption = QStringLiteral("Показать статистику");
// Begins with a Latin capital C; the panel's state is read from this caption.
inline const QString kStatisticsOpenCaption = QStringLiteral("C") + QStringLiteral("татистика");
inline const QString kPinReleasedCaption = QStringLiteral("Окрыть и зафиксировать");
inline const QString kPinPinnedCaption = QStringLiteral("Свернуть");
inline const QString kHideLinesCaption = QStringLiteral("Убрать сетку");
inline const QString kShowLinesCaption = QStringLiteral("Показать сетку");

class MainWindowLayout {
public:
    static void build(TForm1& form);

private:
    static void buildTitleArea(TForm1& form);
    static void buildToolColumn(TForm1& form);
    static void buildRunBoxes(TForm1& form);
    static void buildStampPanels(TForm1& form);
    static void buildSettingsPanel(TForm1& form);
    static void buildStatisticsPanel(TForm1& form);
    static void setTabOrder(TForm1& form);
};

} // namespace tivla
