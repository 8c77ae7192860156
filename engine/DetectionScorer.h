#pragma once

// The sink detection hands one reading of a sample to (the engine's decoders call it as they call the
// sinks of a conversion): it cuts the text into words, judges every word that holds a Vietnamese
// letter by the syllable rules, counts stray symbols and control codes, and keeps a fingerprint of the
// text read, so that two readings of the same text can be told apart from two different texts.

#include <cstdint>

#include "LetterTables.h"
#include "VietnameseSyllables.h"

namespace odz {

class TWordScorer {
public:
    // A letter of the tables (never a plain vowel: the decoders give those as ASCII).
    static constexpr bool kJoinsMarks = false;  // a reference to a mark is scored as the text it is

    void Letter(int index) {
        Mix(UnicodeTable[index]);
        Add(LetterFormOfIndex(index), true);
    }
    void Ascii(std::uint8_t b) {
        Mix(b);
        if (const TVnLetterForm& form = AsciiForm(b); form.known) {
            Add(form, false);
            return;
        }
        EndWord();
        // Controls but tab, line ends, form feed, the end-of-file mark of old editors and escape.
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A && b != 0x1B) ++FFaults;
    }
    // Any other character.
    void Char(char32_t code);
    void TagOpen() {}
    void TagClose() {}
    // The end of the text: the last word is judged.
    void Finish() { EndWord(); }

    int Syllables() const { return FSyllables; }
    // The evidence of the syllables: a word of one letter, which many stray bytes make, counts half.
    double Evidence() const { return FSyllables - 0.5 * FOneLetter; }
    int Faults() const { return FFaults; }
    // Words judged (each a syllable or a fault).
    int Words() const { return FWords; }
    // Combining marks joined to the letter before them.
    int Combined() const { return FCombined; }
    std::uint64_t Fingerprint() const { return FHash; }

private:
    static const TVnLetterForm& AsciiForm(std::uint8_t b);
    void Mix(std::uint32_t code) { FHash = (FHash ^ code) * 0x100000001B3ULL; }
    void Add(const TVnLetterForm& form, bool marked) {
        if (FCount >= kMaxSyllableLetters) {
            FBroken = true;
        } else {
            FLetters[FCount] = form.letter;
        }
        if (form.tone != 0) {
            if (FTone != 0) FBroken = true;
            FTone = form.tone;
        }
        // Only the first letter, or every letter, is a capital.
        if (form.capital) {
            if (FCapitals != FCount) FBroken = true;
            ++FCapitals;
        }
        FMarked |= marked;
        ++FCount;
    }
    // A character that belongs to no Vietnamese word, standing where a letter would.
    void Foreign() {
        FBroken = true;
        FMarked = true;
        ++FCount;
    }
    void EndWord();
    // A combining tone or shape mark: joined to the vowel before it.
    bool Combine(char32_t code);

    TVnLetter FLetters[kMaxSyllableLetters]{};
    int FCount = 0;
    int FTone = 0;
    int FCapitals = 0;
    bool FMarked = false;
    bool FBroken = false;
    int FSyllables = 0;
    int FOneLetter = 0;  // syllables of one letter
    int FFaults = 0;
    int FWords = 0;
    int FCombined = 0;
    std::uint64_t FHash = 0xCBF29CE484222325ULL;
};

}  // namespace odz
