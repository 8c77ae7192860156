#include "ViqrKeys.h"

namespace odz {

const std::array<std::string_view, kViqrKeyCount> ViqrKeyNames = {
    "Sac", "Huyen", "Hoi", "Nga", "Nang", "Mu", "AA", "OO", "DHoa", "dTh", "Escape"};

std::optional<TViqrKey> ViqrKeyByName(std::string_view name) {
    for (int k = 0; k < kViqrKeyCount; ++k) {
        if (ViqrKeyNames[k] == name) return static_cast<TViqrKey>(k);
    }
    return std::nullopt;
}

TViqrKeys TViqrKeys::Defaults() {
    TViqrKeys result;
    for (int k = 0; k < kViqrKeyCount; ++k) result.keys[k] = kDefaultViqrKeys[k];
    return result;
}

TViqrTable MakeViqrTable(const TViqrKeys& keys) {
    static constexpr TViqrKey kShapeKeys[] = {kViqrKeyCount, kAA, kMu, kOO};
    static constexpr TViqrKey kToneKeys[] = {kViqrKeyCount, kSac, kHuyen, kHoi, kNga, kNang};
    TViqrTable table;
    for (int k = 0; k < kCapitalDStroke; ++k) {
        std::string spelling(1, LetterBase(k));
        if (const int shape = LetterShape(k); shape != 0) spelling.push_back(keys[kShapeKeys[shape]]);
        if (const int tone = LetterTone(k); tone != 0) spelling.push_back(keys[kToneKeys[tone]]);
        table[k] = std::move(spelling);
    }
    table[kCapitalDStroke] = std::string{'D', keys[kDHoa]};
    table[kSmallDStroke] = std::string{'d', keys[kdTh]};
    table[kClosingIndex] = std::string(1, '\0');
    return table;
}

std::uint32_t TViqrIndex::Pack(std::string_view text) {
    std::uint32_t packed = static_cast<std::uint32_t>(text.size()) << 24;
    for (std::size_t i = 0; i < text.size(); ++i) {
        packed |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[i])) << (8 * i);
    }
    return packed;
}

TViqrIndex::TViqrIndex(const TViqrTable& table) {
    for (int k = 1; k < kLetterCount; ++k) {
        if (!table[k].empty() && table[k].size() <= 3) FSpellings.emplace(Pack(table[k]), k);
    }
    FVowel.fill(-1);
    constexpr std::string_view kVowels = "AEIOUYaeiouy";
    for (std::size_t v = 0; v < kVowels.size(); ++v)
        FVowel[static_cast<std::uint8_t>(kVowels[v])] = static_cast<std::int8_t>(v);
    // The keys the vowel letters are spelled with get slots; equal keys share one.
    int slots = 0;
    for (int k = 1; k < kCapitalDStroke; ++k) {
        for (std::size_t i = 1; i < table[k].size(); ++i) {
            auto& slot = FKeySlot[static_cast<std::uint8_t>(table[k][i])];
            if (slot == 0) slot = static_cast<std::uint8_t>(++slots);
        }
    }
    // Walking backwards leaves the lowest index in place: the first match, as Find() gives.
    for (int k = kCapitalDStroke - 1; k >= 1; --k) {
        const std::string& spelling = table[k];
        if (spelling.size() < 2 || FVowel[static_cast<std::uint8_t>(spelling[0])] < 0) continue;
        const int v = FVowel[static_cast<std::uint8_t>(spelling[0])];
        const int s = FKeySlot[static_cast<std::uint8_t>(spelling[1])];
        const int t = spelling.size() == 3 ? FKeySlot[static_cast<std::uint8_t>(spelling[2])] : 0;
        FVowelSpellings[(v * kSlots + s) * kSlots + t] = static_cast<std::int16_t>(k);
    }
}

int TViqrIndex::Find(std::string_view text) const {
    if (text.empty() || text.size() > 3) return 0;
    const auto found = FSpellings.find(Pack(text));
    return found == FSpellings.end() ? 0 : found->second;
}

}  // namespace odz
