#pragma once

// The main window's design: its size and place on a 1024 x 768 screen, the panes' widths, the filter
// choices and the encoding lists.

#include <QPoint>
#include <QSize>
#include <QStringList>
#include <optional>

#include "Encodings.h"

class QComboBox;

namespace odz {

inline constexpr QPoint kDesignPosition{50, 144};
inline constexpr QSize kDesignSize{848, 551};
inline constexpr int kSourcePaneWidth = 360;
inline constexpr int kSourceTreeWidth = 132;
inline constexpr int kTargetTreeWidth = 180;

// The items of the filter combo.
QStringList FilterItems();
// The mask a filter position gives the source list; typedText for -1 (a mask the user typed).
QString FilterMask(int position, const QString& typedText);
// The filter position that also ticks "HTML Doc".
inline constexpr int kHtmlFilter = 2;

// Fills an encoding list with the encodings, by their source or target item texts, and chooses none.
// The source list ends with "Detect automatically".
void FillEncodingList(QComboBox& list, bool source);
// The encoding chosen in an encoding list, or none while the list shows its caption or when
// "Detect automatically" is chosen.
std::optional<TEncoding> ChosenEncoding(const QComboBox& list);
// "Detect automatically" is chosen: each file is read as detection finds it.
bool DetectChosen(const QComboBox& list);

}  // namespace odz
