#pragma once

#include <QColor>
#include <QPixmap>
#include <string_view>

namespace odz {

// The pictures of the key settings page: a letter carrying the mark a VIQR key types. The letter is
// drawn in kKeyPictureLetterColor, the mark in kKeyPictureMarkColor, on a transparent background.
inline constexpr QRgb kKeyPictureLetterColor = 0xFF000080;  // navy
inline constexpr QRgb kKeyPictureMarkColor = 0xFFCC0000;    // dark red

// The picture for a key of the engine ("Sac", "Huyen", "Hoi", "Nga", "Nang", "Mu", "AA", "OO", "DHoa",
// "dTh"): á à ả ã ạ â ă ơ Đ đ, size by size device-independent pixels drawn for the pixel ratio. A
// null pixmap for any other name ("Escape" has no picture) or a size below 8.
QPixmap KeyPicture(std::string_view keyName, int size, qreal pixelRatio = 1.0);

}  // namespace odz
