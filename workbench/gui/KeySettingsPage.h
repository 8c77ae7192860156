#pragma once

#include <array>
#include <string_view>

#include "ZTPanel.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace odz {

class TRaRaru;

// One key of the page: its box, the engine's name for the key, the box's hint and the picture above
// the box (none for the escape key). Line is the row of the page the box sits in, from 0.
struct TKeySettingRow {
    std::string_view editName;
    std::string_view keyName;
    std::string_view hint;
    std::string_view pictureName;
    int line;
};

// The eleven keys in the order of the engine's key string.
inline constexpr std::array<TKeySettingRow, 11> kKeySettingRows = {{
    {"SacEdit", "Sac", QT_TRANSLATE_NOOP("odz::TKeySettingsPage", "Change key for Acute"), "AsacImage", 0},
    {"HuyenEdit", "Huyen", "", "HuyenImage", 0},
    {"HoiEdit", "Hoi", QT_TRANSLATE_NOOP("odz::TKeySettingsPage", "Change key for Hookabove"), "AhoiImage",
     0},
    {"NgaEdit", "Nga", QT_TRANSLATE_NOOP("odz::TKeySettingsPage", "Change key for Tilde"), "ANgaImage", 0},
    {"NangEdit", "Nang", QT_TRANSLATE_NOOP("odz::TKeySettingsPage", "Change key for Dot below"), "ANangImage",
     0},
    {"MuEdit", "Mu", QT_TRANSLATE_NOOP("odz::TKeySettingsPage", "Change key for Circumflex"), "AMuImage", 1},
    {"AAEdit", "AA", QT_TRANSLATE_NOOP("odz::TKeySettingsPage", "Change key for Breve"), "AaaImage", 1},
    {"OOEdit", "OO", QT_TRANSLATE_NOOP("odz::TKeySettingsPage", "Change key for Horn"), "OOImage", 1},
    {"DHoaEdit", "DHoa", QT_TRANSLATE_NOOP("odz::TKeySettingsPage", "Change key for D bar"), "DHoabarImage",
     2},
    {"DthEdit", "dTh", QT_TRANSLATE_NOOP("odz::TKeySettingsPage", "Change key for d bar"), "DThbarImage", 2},
    {"EscapeEdit", "Escape", "", "", 2},
}};

// The page where the user picks the keys that type the Vietnamese marks in VIQR text: one box per key
// with a picture of the mark above it. The page opens showing the engine's keys; OK hands the boxes to
// the engine, which keeps them for this session (they are saved to the settings file when the program
// ends).
class TKeySettingsPage : public TZTPanel {
    Q_OBJECT
public:
    explicit TKeySettingsPage(TRaRaru& engine, QWidget* parent = nullptr);

    // Fills every box with the engine's key.
    void ShowKeySettings();
    // Gives the engine the key of every box that holds a printable ASCII character other than blank;
    // any other box leaves its key as it was. The boxes then show the keys in effect.
    void OKSettingsButtonClick();
    // Returns the engine to the standard key set and shows it.
    void KeyVIQRButtonClick();

    // The box of a key by the engine's name ("Sac", ... "Escape"); nullptr for any other name.
    QLineEdit* KeyEdit(std::string_view keyName) const;

signals:
    void HelpRequested();

private:
    TRaRaru& FEngine;
    std::array<QLineEdit*, kKeySettingRows.size()> FEdits{};
};

}  // namespace odz
