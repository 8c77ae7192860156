// The VIQR reader and writer under random key sets: reading any bytes must not fail, and a text of
// ASCII and Vietnamese letters written as VIQR reads back as itself.

#include <string>

#include "FuzzSupport.h"
#include "LetterLookup.h"
#include "LineConverter.h"
#include "TextSinks.h"

using namespace odz;

namespace {

// Eleven different printable characters other than the vowels, the Escape key not d or D (a reader
// could not tell a literal d from an escape then); none when the input does not make such a set.
std::optional<TViqrKeys> Keys(fuzz::TInput& input) {
    if (input.Flag()) return TViqrKeys::Defaults();
    TViqrKeys keys;
    for (int k = 0; k < kViqrKeyCount; ++k) {
        const char c = static_cast<char>(0x21 + input.Pick(0x7F - 0x21));
        if (IsVowelBase(static_cast<std::uint8_t>(c))) return std::nullopt;
        for (int j = 0; j < k; ++j) {
            if (keys.keys[j] == c) return std::nullopt;
        }
        keys.keys[k] = c;
    }
    if (keys[kEscape] == 'd' || keys[kEscape] == 'D') return std::nullopt;
    return keys;
}

std::string Convert(TEncodingKind from, TEncodingKind to, const TViqrKeys& keys, bool tags,
                    std::string_view text) {
    TConversionSetup setup;
    setup.sourceKind = from;
    setup.targetKind = to;
    setup.keys = keys;
    setup.tags = tags;
    return MakeLineConverter(setup)->ConvertToString(text);
}

// Each byte picks a printable ASCII character or one of the letters.
std::string Text(std::string_view bytes) {
    std::string text;
    for (const char b : bytes) {
        const auto pick = static_cast<std::uint8_t>(b);
        if (pick < 0x5F) {
            text.push_back(static_cast<char>(0x20 + pick));
        } else {
            AppendUtf8(text, UnicodeTable[1 + (pick - 0x5F) % kLastLetter]);
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput input(data, size);
    const auto keys = Keys(input);
    if (!keys) return 0;
    const bool tags = input.Flag();
    const std::string_view rest = input.Rest();
    Convert(TEncodingKind::Viqr, TEncodingKind::Utf8, *keys, tags, rest);

    const std::string text = Text(rest);
    const std::string viqr = Convert(TEncodingKind::Utf8, TEncodingKind::Viqr, *keys, false, text);
    fuzz::Check(Convert(TEncodingKind::Viqr, TEncodingKind::Utf8, *keys, false, viqr) == text,
                "VIQR written by the engine reads back as the original text");
    return 0;
}
