#include "LetterLookup.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "Encodings.h"

namespace odz {

int FindLetterCode(std::string_view code, const TVnLetterTable& table) {
    for (int k = 0; k <= kLastLetter; ++k) {
        if (SlotCode(table[k]) == code) return k;
    }
    return -1;
}

bool HasTwoByteCodes(const TVnLetterTable& table) {
    return std::any_of(table.begin(), table.begin() + kLastLetter + 1,
                       [](const TVnSlot& slot) { return slot[1] != 0; });
}

// Letters lie below U+1F00; a direct table answers them all. (The letter table it is made from is
// constant-initialised, so this is ready before anything else at start-up may ask.)
const std::array<std::int16_t, kCodePointLetterCount> CodePointLetters = [] {
    std::array<std::int16_t, kCodePointLetterCount> table;
    table.fill(-1);
    for (int k = kLastLetter; k >= 1; --k) {
        if (UnicodeTable[k] >= 0x80) table[UnicodeTable[k]] = static_cast<std::int16_t>(k);
    }
    return table;
}();

namespace {

// JoinMark() worked out.
int JoinMarkTo(int letter, char32_t mark) {
    if (letter < 0 || letter >= kCapitalDStroke) return -1;
    const int tone = LetterTone(letter);
    int newTone = 0;
    int shape = 0;
    switch (mark) {
        case 0x0301:
        case 0x0341:
            newTone = 1;
            break;
        case 0x0300:
        case 0x0340:
            newTone = 2;
            break;
        case 0x0309:
            newTone = 3;
            break;
        case 0x0303:
            newTone = 4;
            break;
        case 0x0323:
            newTone = 5;
            break;
        case 0x0306:
            shape = 1;
            break;
        case 0x0302:
            shape = 2;
            break;
        case 0x031B:
            shape = 3;
            break;
        default:
            return -1;
    }
    if (newTone != 0) return tone == 0 ? letter + newTone : -1;
    if (LetterShape(letter) != 0) return -1;
    // Groups of six within a family of 72: A Ă Â E Ê I O Ô Ơ U Ư Y.
    int group = -1;
    switch ((letter % 72) / 6) {
        case 0:  // A: breve or circumflex
            group = shape == 1 ? 1 : (shape == 2 ? 2 : -1);
            break;
        case 3:  // E: circumflex
            group = shape == 2 ? 4 : -1;
            break;
        case 6:  // O: circumflex or horn
            group = shape == 2 ? 7 : (shape == 3 ? 8 : -1);
            break;
        case 9:  // U: horn
            group = shape == 3 ? 10 : -1;
            break;
        default:
            break;
    }
    return group < 0 ? -1 : letter - letter % 72 + group * 6 + tone;
}

}  // namespace

// Worked out once for every vowel and mark, as the walks join marks character by character.
const std::array<std::array<std::int16_t, kJoiningMarkSpan>, kCapitalDStroke> MarkJoins = [] {
    std::array<std::array<std::int16_t, kJoiningMarkSpan>, kCapitalDStroke> table{};
    for (int letter = 0; letter < kCapitalDStroke; ++letter) {
        for (char32_t at = 0; at < kJoiningMarkSpan; ++at)
            table[letter][at] = static_cast<std::int16_t>(JoinMarkTo(letter, 0x300 + at));
    }
    return table;
}();

int VowelOfCodePoint(char32_t code) {
    if (code < 0x80) return PlainVowelIndex(static_cast<std::uint8_t>(code));
    const int k = LetterOfCodePoint(code);
    return k >= 1 && k < kCapitalDStroke ? k : -1;
}

void CopyHtmlTag(std::size_t& position, std::string_view input, std::string& output) {
    if (!StartsTag(input, position)) return;
    const auto end = TagEnd(input, position);
    output.append(input.substr(position, end - position));
    position = end;
}

TLegacyIndex::TLegacyIndex(const TVnLetterTable& table) {
    FSingle.fill(-1);
    FTwoByte = HasTwoByteCodes(table);
    if (FTwoByte) FPairs.assign(1 << 16, -1);
    // Walking backwards leaves the lowest index in place: the first match of a forward scan.
    for (int k = kLastLetter; k >= 0; --k) {
        const auto code = SlotCode(table[k]);
        for (const char c : code) FUsed[static_cast<std::uint8_t>(c)] = true;
        if (code.size() == 1) {
            FSingle[static_cast<std::uint8_t>(code[0])] = static_cast<std::int16_t>(k);
        } else if (code.size() == 2) {
            FPairs[(static_cast<std::uint8_t>(code[0]) << 8) | static_cast<std::uint8_t>(code[1])] =
                static_cast<std::int16_t>(k);
        }
    }
}

const TLegacyIndex& LegacyIndexFor(const TVnLetterTable& table) {
    static const std::array<const TVnLetterTable*, 6> constants = {&ZTWinTable,   &VisciiTable, &VpsTable,
                                                                   &VniWindTable, &Tcvn1Table,  &Tcvn2Table};
    // Each indexed when first asked for: a two-byte table's index is 128 KB to fill.
    static std::array<std::once_flag, 6> made;
    static std::array<std::unique_ptr<TLegacyIndex>, 6> indexes;
    for (std::size_t i = 0; i < constants.size(); ++i) {
        if (*constants[i] != table) continue;
        std::call_once(made[i], [i] { indexes[i] = std::make_unique<TLegacyIndex>(*constants[i]); });
        return *indexes[i];
    }
    // Other content (the empty source table before a source is chosen) is indexed on first use.
    static std::mutex mutex;
    static std::vector<std::pair<TVnLetterTable, std::unique_ptr<TLegacyIndex>>> others;
    const std::lock_guard lock(mutex);
    for (const auto& [content, index] : others) {
        if (content == table) return *index;
    }
    others.emplace_back(table, std::make_unique<TLegacyIndex>(table));
    return *others.back().second;
}

}  // namespace odz
