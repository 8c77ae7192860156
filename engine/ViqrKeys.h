#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "LetterTables.h"

namespace odz {

// The eleven VIQR keys in the order of the key string.
enum TViqrKey { kSac, kHuyen, kHoi, kNga, kNang, kMu, kAA, kOO, kDHoa, kdTh, kEscape, kViqrKeyCount };

// The key names, in key-string order: "Sac", "Huyen", ... "Escape".
extern const std::array<std::string_view, kViqrKeyCount> ViqrKeyNames;
// The default key string: ' ` ? ~ . ^ ( + D d and backslash.
constexpr std::string_view kDefaultViqrKeys = "'`?~.^(+Dd\\";

std::optional<TViqrKey> ViqrKeyByName(std::string_view name);

// A key set: eleven single-byte characters.
struct TViqrKeys {
    std::array<char, kViqrKeyCount> keys{};

    static TViqrKeys Defaults();
    char operator[](TViqrKey key) const { return keys[key]; }
    bool IsToneKey(char c) const {
        return c == keys[kSac] || c == keys[kHuyen] || c == keys[kHoi] || c == keys[kNga] || c == keys[kNang];
    }
    bool IsShapeKey(char c) const { return c == keys[kMu] || c == keys[kAA] || c == keys[kOO]; }
    std::string AsString() const { return {keys.begin(), keys.end()}; }
    bool operator==(const TViqrKeys&) const = default;
};

// The VIQR spelling of every letter index, built from a key set.
using TViqrTable = std::array<std::string, kLetterCount>;
TViqrTable MakeViqrTable(const TViqrKeys& keys);

// Reverse index of a VIQR table: answers what a scan of indexes 1 to 146 answers, first match winning.
class TViqrIndex {
public:
    TViqrIndex() = default;
    explicit TViqrIndex(const TViqrTable& table);
    // The letter index spelled by the text, or 0 when no entry is spelled so.
    int Find(std::string_view text) const;
    // The same for a vowel base followed by one key and, when third is not -1, a second key; the
    // reading rule asks nothing else, so this is a plain table look-up.
    int FindVowel(char vowel, char second, int third) const {
        const int v = FVowel[static_cast<std::uint8_t>(vowel)];
        const int s = FKeySlot[static_cast<std::uint8_t>(second)];
        const int t = third < 0 ? 0 : FKeySlot[static_cast<std::uint8_t>(third)];
        if (v < 0 || s == 0 || (third >= 0 && t == 0)) return 0;
        return FVowelSpellings[(v * kSlots + s) * kSlots + t];
    }

private:
    static constexpr int kSlots = 9;  // no key, or one of at most eight tone and shape keys
    static std::uint32_t Pack(std::string_view text);
    std::unordered_map<std::uint32_t, int> FSpellings;
    std::array<std::int8_t, 256> FVowel{};
    std::array<std::uint8_t, 256> FKeySlot{};
    std::array<std::int16_t, 12 * kSlots * kSlots> FVowelSpellings{};
};

}  // namespace odz
