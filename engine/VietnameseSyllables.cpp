#include "VietnameseSyllables.h"

#include <array>

#include "LetterLookup.h"
#include "LetterTables.h"

namespace odz {

namespace {

// The final consonants, as bits of a nucleus's mask; kOpen: the nucleus may end the syllable.
enum TFinal : std::uint16_t {
    kFinalC = 1 << 0,
    kFinalCh = 1 << 1,
    kFinalM = 1 << 2,
    kFinalN = 1 << 3,
    kFinalNg = 1 << 4,
    kFinalNh = 1 << 5,
    kFinalP = 1 << 6,
    kFinalT = 1 << 7,
    kOpen = 1 << 8,
};
constexpr std::uint16_t kStopFinals = kFinalC | kFinalCh | kFinalP | kFinalT;

struct TNucleus {
    std::string_view spelling;  // vowels: a e i o u y, with ( for the breve, ^ circumflex, + horn
    std::uint16_t finals;
};

constexpr std::uint16_t kCMNNgPT = kFinalC | kFinalM | kFinalN | kFinalNg | kFinalP | kFinalT;

// Every vowel nucleus of the language with the finals it takes.
constexpr TNucleus kNuclei[] = {
    {"a", kOpen | kCMNNgPT | kFinalCh | kFinalNh},
    {"a(", kCMNNgPT},
    {"a^", kCMNNgPT},
    {"e", kOpen | kCMNNgPT},
    {"e^", kOpen | kFinalCh | kFinalM | kFinalN | kFinalNh | kFinalP | kFinalT},
    {"i", kOpen | kFinalCh | kFinalM | kFinalN | kFinalNh | kFinalP | kFinalT},
    {"o", kOpen | kCMNNgPT},
    {"o^", kOpen | kCMNNgPT},
    {"o+", kOpen | kFinalM | kFinalN | kFinalP | kFinalT},
    {"u", kOpen | kCMNNgPT},
    {"u+", kOpen | kFinalC | kFinalM | kFinalN | kFinalNg | kFinalT},
    {"y", kOpen},
    {"ai", kOpen},
    {"ao", kOpen},
    {"au", kOpen},
    {"ay", kOpen},
    {"a^u", kOpen},
    {"a^y", kOpen},
    {"eo", kOpen},
    {"e^u", kOpen},
    {"ia", kOpen},
    {"iu", kOpen},
    {"ie^", kCMNNgPT},
    {"oa", kOpen | kCMNNgPT | kFinalCh | kFinalNh},
    {"oa(", kFinalC | kFinalM | kFinalN | kFinalNg | kFinalT},
    {"oe", kOpen | kFinalN | kFinalT},
    {"oi", kOpen},
    {"oo", kFinalC | kFinalNg},
    {"o^i", kOpen},
    {"o+i", kOpen},
    {"ua", kOpen},
    {"ua^", kFinalC | kFinalN | kFinalNg | kFinalT},
    {"ue^", kOpen | kFinalCh | kFinalN | kFinalNh | kFinalT},
    {"ui", kOpen},
    {"uo^", kFinalC | kFinalM | kFinalN | kFinalNg | kFinalT},
    {"uo+", kOpen},
    {"uy", kOpen | kFinalCh | kFinalN | kFinalNh | kFinalP | kFinalT},
    {"u+a", kOpen},
    {"u+i", kOpen},
    {"u+u", kOpen},
    {"u+o+", kCMNNgPT},
    {"ye^", kCMNNgPT},
    {"ie^u", kOpen},
    {"ye^u", kOpen},
    {"oai", kOpen},
    {"oay", kOpen},
    {"oeo", kOpen},
    {"ua^y", kOpen},
    {"uo^i", kOpen},
    {"u+o+i", kOpen},
    {"u+o+u", kOpen},
    {"uya", kOpen},
    {"uye^", kFinalN | kFinalT},
    {"uyu", kOpen},
};

constexpr int kVowelSlots = 13;  // no vowel, or one of the twelve

constexpr int NucleusKey(int a, int b, int c) {
    return (a + 1) + kVowelSlots * ((b + 1) + kVowelSlots * (c + 1));
}

TVnLetter VowelOf(char base, char mark) {
    switch (base) {
        case 'a':
            return mark == '(' ? vl_aBreve : mark == '^' ? vl_aCircumflex : vl_a;
        case 'e':
            return mark == '^' ? vl_eCircumflex : vl_e;
        case 'i':
            return vl_i;
        case 'o':
            return mark == '^' ? vl_oCircumflex : mark == '+' ? vl_oHorn : vl_o;
        case 'u':
            return mark == '+' ? vl_uHorn : vl_u;
        default:
            return vl_y;
    }
}

// The finals each nucleus takes, by the key of its vowels; 0 for no nucleus.
const std::array<std::uint16_t, kVowelSlots * kVowelSlots * kVowelSlots>& NucleusTable() {
    static const auto table = [] {
        std::array<std::uint16_t, kVowelSlots * kVowelSlots * kVowelSlots> built{};
        for (const TNucleus& nucleus : kNuclei) {
            int vowels[3] = {-1, -1, -1};
            int count = 0;
            const std::string_view s = nucleus.spelling;
            for (std::size_t i = 0; i < s.size(); ++i) {
                const char mark = i + 1 < s.size() ? s[i + 1] : '\0';
                const bool marked = mark == '(' || mark == '^' || mark == '+';
                vowels[count++] = VowelOf(s[i], marked ? mark : '\0');
                if (marked) ++i;
            }
            built[NucleusKey(vowels[0], vowels[1], vowels[2])] = nucleus.finals;
        }
        return built;
    }();
    return table;
}

// The final consonant spelled by the letters, as its bit; 0 for none that Vietnamese has.
std::uint16_t FinalOf(const TVnLetter* letters, int count) {
    if (count == 1) {
        switch (letters[0]) {
            case vl_c:
                return kFinalC;
            case vl_m:
                return kFinalM;
            case vl_n:
                return kFinalN;
            case vl_p:
                return kFinalP;
            case vl_t:
                return kFinalT;
            default:
                return 0;
        }
    }
    if (count == 2 && letters[1] == vl_h) {
        if (letters[0] == vl_c) return kFinalCh;
        if (letters[0] == vl_n) return kFinalNh;
    }
    if (count == 2 && letters[0] == vl_n && letters[1] == vl_g) return kFinalNg;
    return 0;
}

bool IsFrontVowel(TVnLetter letter) {
    return letter == vl_e || letter == vl_eCircumflex || letter == vl_i;
}

// The initial consonants: which are spelled so, and before which vowels.
enum TOnset { on_None, on_Plain, on_C, on_G, on_Gh, on_Ng, on_Ngh, on_Q, on_Invalid };

TOnset OnsetOf(const TVnLetter* letters, int count) {
    if (count == 0) return on_None;
    const TVnLetter a = letters[0];
    if (count == 1) {
        switch (a) {
            case vl_c:
                return on_C;
            case vl_g:
                return on_G;
            case vl_q:
                return on_Q;
            case vl_foreign:
                return on_Invalid;
            default:
                return on_Plain;
        }
    }
    const TVnLetter b = letters[1];
    if (count == 2) {
        if (b == vl_h) {
            switch (a) {
                case vl_c:
                case vl_k:
                case vl_n:
                case vl_p:
                case vl_t:
                    return on_Plain;
                case vl_g:
                    return on_Gh;
                default:
                    return on_Invalid;
            }
        }
        if (a == vl_n && b == vl_g) return on_Ng;
        if (a == vl_t && b == vl_r) return on_Plain;
        return on_Invalid;
    }
    if (count == 3 && a == vl_n && b == vl_g && letters[2] == vl_h) return on_Ngh;
    return on_Invalid;
}

}  // namespace

TVnLetterForm LetterFormOfIndex(int index) {
    static const auto forms = [] {
        std::array<TVnLetterForm, kLastLetter + 1> built{};
        for (int k = 0; k < kCapitalDStroke; ++k) {
            const char base = LetterBase(k);
            const int shape = LetterShape(k);
            const char small = static_cast<char>(base | 0x20);
            const char mark = shape == 1 ? '(' : shape == 2 ? '^' : shape == 3 ? '+' : '\0';
            built[k] = {VowelOf(small, mark), static_cast<std::uint8_t>(LetterTone(k)), k < 72, true};
        }
        built[kCapitalDStroke] = {vl_dStroke, 0, true, true};
        built[kSmallDStroke] = {vl_dStroke, 0, false, true};
        return built;
    }();
    return index >= 0 && index <= kLastLetter ? forms[index] : TVnLetterForm{};
}

TVnLetterForm LetterFormOfCodePoint(char32_t code) {
    static const auto ascii = [] {
        std::array<TVnLetterForm, 128> built{};
        constexpr TVnLetter kLetters[26] = {
            vl_a, vl_b, vl_c, vl_d, vl_e, vl_foreign, vl_g, vl_h, vl_i, vl_foreign, vl_k, vl_l, vl_m,
            vl_n, vl_o, vl_p, vl_q, vl_r, vl_s,       vl_t, vl_u, vl_v, vl_foreign, vl_x, vl_y, vl_foreign};
        for (int i = 0; i < 26; ++i) {
            built['A' + i] = {kLetters[i], 0, true, true};
            built['a' + i] = {kLetters[i], 0, false, true};
        }
        return built;
    }();
    if (code < 0x80) return ascii[code];
    return LetterFormOfIndex(LetterOfCodePoint(code));
}

// The tones a vowel standing alone takes as a word of its own (à, ở, ý...): a byte that a wrong reading
// turns into a lone letter seldom makes one of these.
constexpr std::uint8_t kAloneTones[vl_y + 1] = {
    0b101111,  // a: a á à ả ạ
    0,         // ă
    0,         // â
    0b000111,  // e: e é è
    0b001111,  // ê: ê ế ề ể
    0b001111,  // i: i í ì ỉ
    0b000011,  // o: o ó
    0b001111,  // ô: ô ố ồ ổ
    0b101111,  // ơ: ơ ớ ờ ở ợ
    0b101111,  // u: u ú ù ủ ụ
    0b001111,  // ư: ư ứ ừ ử
    0b001011,  // y: y ý ỷ
};

bool IsSyllable(const TVnLetter* letters, int count, int tone) {
    if (count <= 0 || count > kMaxSyllableLetters) return false;
    if (count == 1) return IsVnVowel(letters[0]) && (kAloneTones[letters[0]] >> tone & 1) != 0;
    int start = 0;
    while (start < count && !IsVnVowel(letters[start])) ++start;
    if (start == count) return false;
    TOnset onset = OnsetOf(letters, start);
    if (onset == on_Invalid) return false;
    // "gi" before a vowel and "qu" are initial consonants of their own.
    if (onset == on_G && letters[start] == vl_i && start + 1 < count && IsVnVowel(letters[start + 1])) {
        ++start;
        onset = on_Plain;
    } else if (onset == on_Q) {
        if (letters[start] != vl_u || start + 1 >= count || !IsVnVowel(letters[start + 1])) return false;
        ++start;
        onset = on_Plain;
    }
    int end = start;
    while (end < count && IsVnVowel(letters[end])) ++end;
    const int vowels = end - start;
    if (vowels > 3) return false;
    const TVnLetter first = letters[start];
    switch (onset) {
        case on_C:
            if (IsFrontVowel(first) || first == vl_y) return false;
            break;
        case on_Gh:
        case on_Ngh:
            if (!IsFrontVowel(first)) return false;
            break;
        case on_G:
        case on_Ng:
            if (first == vl_e || first == vl_eCircumflex || (onset == on_Ng && first == vl_i)) return false;
            break;
        default:
            break;
    }
    // A syllable that starts with "yê" has no initial consonant but "qu".
    const bool afterGi = start >= 2 && letters[start - 1] == vl_i && letters[start - 2] == vl_g &&
                         OnsetOf(letters, start - 1) == on_G;
    if (first == vl_y && vowels > 1 && start > 0 && letters[start - 1] != vl_u) return false;
    const auto& nuclei = NucleusTable();
    const int v1 = vowels > 1 ? letters[start + 1] : -1;
    const int v2 = vowels > 2 ? letters[start + 2] : -1;
    std::uint16_t finals = nuclei[NucleusKey(first, v1, v2)];
    // "giêng", "giết": the i of "gi" stands for the i of "iê".
    if (afterGi && first == vl_eCircumflex) finals = nuclei[NucleusKey(vl_i, vl_eCircumflex, v1)];
    if (finals == 0) return false;
    std::uint16_t final = kOpen;
    if (end < count) final = FinalOf(letters + end, count - end);
    if ((finals & final) == 0) return false;
    if ((final & kStopFinals) != 0 && tone != 1 && tone != 5) return false;
    return true;
}

bool IsVietnameseSyllable(std::u32string_view word) {
    if (word.empty() || word.size() > static_cast<std::size_t>(kMaxSyllableLetters)) return false;
    TVnLetter letters[kMaxSyllableLetters];
    int tone = 0;
    int capitals = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const TVnLetterForm form = LetterFormOfCodePoint(word[i]);
        if (!form.known) return false;
        if (form.tone != 0) {
            if (tone != 0) return false;
            tone = form.tone;
        }
        if (form.capital) {
            // Only the first letter, or every letter, is a capital.
            if (i != static_cast<std::size_t>(capitals)) return false;
            ++capitals;
        }
        letters[i] = form.letter;
    }
    if (capitals > 1 && capitals != static_cast<int>(word.size())) return false;
    return IsSyllable(letters, static_cast<int>(word.size()), tone);
}

}  // namespace odz
