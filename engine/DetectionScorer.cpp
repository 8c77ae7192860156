#include "DetectionScorer.h"

#include <array>

#include "LetterLookup.h"

namespace odz {

namespace {

// Punctuation and signs that stand between words in real text: typographic quotes and dashes, the
// ellipsis, the non-breaking space, guillemets, the euro, dong, copyright and registered signs. The
// other signs of the code pages are rare in text, and where a reading makes them out of letters, faults.
bool IsPunctuation(char32_t code) {
    switch (code) {
        case 0xA0:
        case 0xA9:
        case 0xAB:
        case 0xAE:
        case 0xBB:
        case 0x2013:
        case 0x2014:
        case 0x2018:
        case 0x2019:
        case 0x201C:
        case 0x201D:
        case 0x2026:
        case 0x20AB:
        case 0x20AC:
            return true;
        default:
            return false;
    }
}

int ToneOfMark(char32_t code) {
    switch (code) {
        case 0x0300:
        case 0x0340:
            return 2;
        case 0x0301:
        case 0x0341:
            return 1;
        case 0x0309:
            return 3;
        case 0x0303:
            return 4;
        case 0x0323:
            return 5;
        default:
            return 0;
    }
}

}  // namespace

const TVnLetterForm& TWordScorer::AsciiForm(std::uint8_t b) {
    static const auto forms = [] {
        std::array<TVnLetterForm, 256> built{};
        for (int c = 0; c < 128; ++c) built[c] = LetterFormOfCodePoint(static_cast<char32_t>(c));
        return built;
    }();
    return forms[b];
}

bool TWordScorer::Combine(char32_t code) {
    if (FCount == 0 || FCount > kMaxSyllableLetters) return false;
    TVnLetter& last = FLetters[FCount - 1];
    if (!IsVnVowel(last)) return false;
    if (const int tone = ToneOfMark(code); tone != 0) {
        if (FTone != 0) FBroken = true;
        FTone = tone;
    } else if (code == 0x0302 && (last == vl_a || last == vl_e || last == vl_o)) {
        last = last == vl_a ? vl_aCircumflex : last == vl_e ? vl_eCircumflex : vl_oCircumflex;
    } else if (code == 0x0306 && last == vl_a) {
        last = vl_aBreve;
    } else if (code == 0x031B && (last == vl_o || last == vl_u)) {
        last = last == vl_o ? vl_oHorn : vl_uHorn;
    } else {
        return false;
    }
    FMarked = true;
    ++FCombined;
    return true;
}

void TWordScorer::Char(char32_t code) {
    Mix(code);
    if (code >= 0x0300 && code <= 0x036F) {
        if (!Combine(code)) Foreign();
        return;
    }
    if (IsPunctuation(code)) {
        EndWord();
        return;
    }
    // Everything else, a foreign letter or a sign, stands where a letter of a word would.
    Foreign();
}

void TWordScorer::EndWord() {
    if (FCount == 0) return;
    if (FMarked) {
        ++FWords;
        const bool capitals = FCapitals <= 1 || FCapitals == FCount;
        if (!FBroken && capitals && IsSyllable(FLetters, FCount, FTone)) {
            ++FSyllables;
            FOneLetter += FCount == 1;
        } else {
            ++FFaults;
        }
    }
    FCount = 0;
    FTone = 0;
    FCapitals = 0;
    FMarked = false;
    FBroken = false;
}

}  // namespace odz
