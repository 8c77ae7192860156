// The readings detection compares. The words of a sample that hold bytes of 80 hex and above (or
// control codes, which some encodings use for capitals) are found once; each 8-bit reading then decodes
// only those words, with the engine's decoders, and judges them. Once one reading leads every reading
// of another text by far, the rest of the sample is only checked for bytes that could still tell
// equal readings apart. VIQR and references are judged on the words that hold their marks.

#include "DetectionReadings.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "DetectionScorer.h"
#include "Encodings.h"
#include "TextDecoders.h"

namespace odz {

namespace {

// A character decoded from UTF-16 or a code page: a letter of the tables when it is one.
template <class Sink>
void EmitCode(char32_t code, Sink& sink) {
    if (code < 0x80) {
        sink.Ascii(static_cast<std::uint8_t>(code));
    } else if (const int k = LetterOfCodePoint(code); k >= 1) {
        sink.Letter(k);
    } else {
        sink.Char(code);
    }
}

// Windows-1258, with its tone-mark bytes handed on as combining characters.
class TCp1258Decoder {
public:
    template <class Sink>
    std::size_t Decode(std::string_view line, std::size_t limit, bool, TDecodeState&, Sink& sink) const {
        for (std::size_t i = 0; i < limit; ++i) {
            const auto b = static_cast<std::uint8_t>(line[i]);
            if (b < 0x80) {
                sink.Ascii(b);
            } else {
                EmitCode(Windows1258ToUnicode(b), sink);
            }
        }
        return limit;
    }
};

// The candidates, by their position in DetectorCandidates().
enum TCandidateIndex {
    ci_Viqr = 0,
    ci_ZTWin = 1,
    ci_Viscii = 2,
    ci_Vps = 3,
    ci_VniWind = 4,
    ci_Tcvn1 = 5,
    ci_Tcvn2 = 6,
    ci_Ncr = 7,
    ci_Utf8 = 8,
    ci_Utf16 = 9,
    ci_Cp1258 = 10,
    ci_Decomposed = 11,
};
static_assert(ci_Viqr == static_cast<int>(TEncoding::Viqr) &&
              ci_Tcvn2 == static_cast<int>(TEncoding::Tcvn2) &&
              ci_Utf16 == static_cast<int>(TEncoding::Utf16) &&
              ci_Cp1258 == static_cast<int>(TEncoding::Cp1258) &&
              ci_Decomposed == static_cast<int>(TEncoding::Utf8Nfd));

// The 8-bit readings, judged word by word. Adding one is an entry here and a case in ReadWord().
constexpr std::array<int, 8> kByteReadings = {ci_ZTWin, ci_Viscii, ci_Vps,  ci_VniWind,
                                              ci_Tcvn1, ci_Tcvn2,  ci_Utf8, ci_Cp1258};
constexpr std::size_t kUtf8Reading = 6;

const TVnLetterTable* TableOf(int candidate) {
    switch (candidate) {
        case ci_ZTWin:
            return &ZTWinTable;
        case ci_Viscii:
            return &VisciiTable;
        case ci_Vps:
            return &VpsTable;
        case ci_VniWind:
            return &VniWindTable;
        case ci_Tcvn1:
            return &Tcvn1Table;
        case ci_Tcvn2:
            return &Tcvn2Table;
        default:
            return nullptr;
    }
}

template <class Sink>
void ReadWord(int candidate, std::string_view word, Sink& sink) {
    static const TSingleByteDecoder viscii(LegacyIndexFor(VisciiTable));
    static const TSingleByteDecoder vps(LegacyIndexFor(VpsTable));
    static const TSingleByteDecoder tcvn1(LegacyIndexFor(Tcvn1Table));
    static const TTwoByteDecoder ztwin(LegacyIndexFor(ZTWinTable));
    static const TTwoByteDecoder vni(LegacyIndexFor(VniWindTable));
    static const TTwoByteDecoder tcvn2(LegacyIndexFor(Tcvn2Table));
    static const TUtf8Decoder utf8(false);
    static const TCp1258Decoder cp1258;
    TDecodeState state;
    switch (candidate) {
        case ci_ZTWin:
            ztwin.Decode(word, word.size(), false, state, sink);
            break;
        case ci_Viscii:
            viscii.Decode(word, word.size(), false, state, sink);
            break;
        case ci_Vps:
            vps.Decode(word, word.size(), false, state, sink);
            break;
        case ci_VniWind:
            vni.Decode(word, word.size(), false, state, sink);
            break;
        case ci_Tcvn1:
            tcvn1.Decode(word, word.size(), false, state, sink);
            break;
        case ci_Tcvn2:
            tcvn2.Decode(word, word.size(), false, state, sink);
            break;
        case ci_Utf8:
            utf8.Decode(word, word.size(), false, state, sink);
            break;
        default:
            cp1258.Decode(word, word.size(), false, state, sink);
            break;
    }
    // The word ends here (and the fingerprint notes where).
    sink.Ascii(' ');
}

// For each 8-bit reading: what one byte alone reads as, and whether a byte may read otherwise in
// company (the second byte of a two-byte code; any byte of a UTF-8 sequence).
struct TByteMeanings {
    std::array<std::array<char32_t, 256>, kByteReadings.size()> alone{};
    std::array<std::array<bool, 256>, kByteReadings.size()> inCompany{};
};

const TByteMeanings& ByteMeanings() {
    static const TByteMeanings meanings = [] {
        TByteMeanings built;
        for (std::size_t r = 0; r < kByteReadings.size(); ++r) {
            const int candidate = kByteReadings[r];
            const TVnLetterTable* table = TableOf(candidate);
            for (int b = 0; b < 256; ++b) {
                const auto byte = static_cast<std::uint8_t>(b);
                char32_t code = b < 0x80 ? static_cast<char32_t>(b) : Windows1252ToUnicode(byte);
                if (table != nullptr) {
                    const int k = LegacyIndexFor(*table).Single(byte);
                    if (k >= 1) code = UnicodeTable[k];
                } else if (candidate == ci_Cp1258 && b >= 0x80) {
                    code = Windows1258ToUnicode(byte);
                } else if (candidate == ci_Utf8 && b >= 0x80) {
                    built.inCompany[r][b] = true;
                }
                built.alone[r][b] = code;
            }
            if (table != nullptr) {
                for (int k = 0; k <= kLastLetter; ++k) {
                    if ((*table)[k][1] != 0) built.inCompany[r][(*table)[k][1]] = true;
                }
            }
        }
        return built;
    }();
    return meanings;
}

// Characters of the scripts and signs real text holds; UTF-8 sequences of others come by chance out
// of legacy bytes.
bool IsPlausible(char32_t code) {
    return (code >= 0xA0 && code <= 0x24F) || (code >= 0x300 && code <= 0x4FF) ||
           (code >= 0x1E00 && code <= 0x1EFF) || (code >= 0x2000 && code <= 0x27FF) ||
           (code >= 0x3000 && code <= 0x9FFF) || (code >= 0xAC00 && code <= 0xD7AF) ||
           (code >= 0xFF00 && code <= 0xFFEF) || (code >= 0x1F300 && code <= 0x1FAFF);
}

constexpr bool IsAsciiLetter(std::uint8_t b) {
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}

// A control code that is no line end, tab, form feed, escape or end-of-file mark: in some encodings
// a capital letter, in the others a fault.
constexpr bool IsOddControl(std::uint8_t b) {
    return b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A && b != 0x1B;
}

// A byte of a word of an 8-bit reading: an ASCII letter, a byte of 80 hex and above, a control code
// some encodings use for capitals.
constexpr bool IsWordByte(std::uint8_t b) {
    return b >= 0x80 || IsOddControl(b) || IsAsciiLetter(b);
}

struct TWord {
    std::uint32_t start;
    std::uint32_t length;
};

// The words of a sample that hold a byte of 80 hex and above or a control code, found as they are
// asked for.
class TWordCursor {
public:
    explicit TWordCursor(std::string_view sample) : FSample(sample) {}

    // The next word, or false at the end of the sample.
    bool Next(TWord& word) {
        const std::size_t n = FSample.size();
        std::size_t i = FPosition;
        while (i < n) {
            // Skip to the next odd byte, then take the word around it.
            while (i < n && !IsOdd(static_cast<std::uint8_t>(FSample[i]))) ++i;
            if (i == n) break;
            std::size_t start = i;
            while (start > FPosition && IsAsciiLetter(static_cast<std::uint8_t>(FSample[start - 1]))) --start;
            std::size_t end = i + 1;
            while (end < n && IsWordByte(static_cast<std::uint8_t>(FSample[end]))) ++end;
            FPosition = end;
            word = {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)};
            return true;
        }
        FPosition = n;
        return false;
    }
    std::size_t Position() const { return FPosition; }

private:
    static bool IsOdd(std::uint8_t b) { return b >= 0x80 || IsOddControl(b); }

    std::string_view FSample;
    std::size_t FPosition = 0;
};

// Bytes of 80 hex and above, eight at a time.
std::size_t CountHighBytes(std::string_view sample) {
    std::size_t count = 0;
    std::size_t i = 0;
    for (; i + 8 <= sample.size(); i += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, sample.data() + i, 8);
        count += static_cast<std::size_t>(std::popcount(eight & 0x8080808080808080ULL));
    }
    for (; i < sample.size(); ++i) count += static_cast<std::uint8_t>(sample[i]) >> 7;
    return count;
}

bool HasReferences(std::string_view sample) {
    for (std::size_t at = sample.find("&#"); at != std::string_view::npos; at = sample.find("&#", at + 1)) {
        if (at + 2 < sample.size() && sample[at + 2] >= '0' && sample[at + 2] <= '9') return true;
    }
    return false;
}

// UTF-8 sequences of a part of a sample: the valid ones of plausible characters, and the bytes that
// are no UTF-8.
struct TUtf8Count {
    int sequences = 0;
    int invalid = 0;

    // Counts from `from` on to `to` (or a little past it, to the end of a sequence); returns where
    // it stopped.
    std::size_t Count(std::string_view sample, std::size_t from, std::size_t to) {
        const std::size_t n = sample.size();
        std::size_t i = from;
        while (i < to) {
            const auto b = static_cast<std::uint8_t>(sample[i]);
            if (b < 0x80) {
                ++i;
                continue;
            }
            char32_t code = 0;
            const std::size_t length = DecodeUtf8At(sample, i, code);
            if (length == 0) {
                // A sequence cut by the end of the sample is no fault.
                if (n - i >= 4 || (b & 0xC0) != 0xC0) ++invalid;
                ++i;
            } else {
                if (IsPlausible(code)) ++sequences;
                i += length;
            }
        }
        return i;
    }
};

// The bytes that could read otherwise in the two readings.
std::array<bool, 256> Telling(std::size_t a, std::size_t b) {
    const TByteMeanings& m = ByteMeanings();
    std::array<bool, 256> telling{};
    for (int byte = 0; byte < 256; ++byte)
        telling[byte] = m.alone[a][byte] != m.alone[b][byte] || m.inCompany[a][byte] || m.inCompany[b][byte];
    return telling;
}

bool AnyOf(const std::array<bool, 256>& bytes, std::string_view text) {
    for (const char c : text) {
        if (bytes[static_cast<std::uint8_t>(c)]) return true;
    }
    return false;
}

// The words that hold the marks of a reading of ASCII text: around each place `nextSpot` finds (from a
// position on), the run of `inRun` bytes, decoded alone. Returns how many runs were read.
template <class Decoder, class InRun, class NextSpot>
int ReadMarkedRuns(std::string_view sample, const Decoder& decoder, InRun&& inRun, NextSpot&& nextSpot,
                   TWordScorer& sink) {
    int runs = 0;
    const std::size_t n = sample.size();
    std::size_t done = 0;
    // A thousand words with marks say enough.
    for (std::size_t spot = nextSpot(0); spot < n && runs < 1000; spot = nextSpot(done)) {
        std::size_t start = spot;
        while (start > done && inRun(static_cast<std::uint8_t>(sample[start - 1]))) --start;
        std::size_t end = spot + 1;
        while (end < n && inRun(static_cast<std::uint8_t>(sample[end]))) ++end;
        TDecodeState state;
        decoder.Decode(sample.substr(start, end - start), end - start, false, state, sink);
        sink.Ascii(' ');
        ++runs;
        done = end;
    }
    return runs;
}

std::uint64_t Combine(std::uint64_t a, std::uint64_t b) {
    return (a ^ (b + 0x9E3779B97F4A7C15ULL + (a << 6) + (a >> 2))) * 0x100000001B3ULL;
}

struct TRaw {
    int candidate;
    double score;
    double bonus;
    int syllables;
    int faults;
    std::uint64_t fingerprint;
    int byteReading;  // its place in kByteReadings, or -1
};

TRaw Raw(int candidate, const TWordScorer& sink, double bonus, double faultWeight, int byteReading = -1) {
    return {candidate,     sink.Evidence() + bonus - faultWeight * sink.Faults(),
            bonus,         sink.Syllables(),
            sink.Faults(), sink.Fingerprint(),
            byteReading};
}

void ReadUtf16(std::string_view sample, bool bigEndian, TWordScorer& sink) {
    const auto unit = [&](std::size_t at) {
        const auto a = static_cast<std::uint8_t>(sample[at]);
        const auto b = static_cast<std::uint8_t>(sample[at + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::size_t i = sample.size() >= 2 && unit(0) == 0xFEFF ? 2 : 0;
    for (; i + 1 < sample.size(); i += 2) {
        char32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < sample.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        EmitCode(code, sink);
    }
    sink.Finish();
}

// Zero bytes: UTF-16 when one byte of most units is zero and the other almost never; else binary.
void LookForUtf16(std::string_view sample, TSampleFacts& facts) {
    const std::size_t n = sample.size();
    if (n >= 2) {
        const auto a = static_cast<std::uint8_t>(sample[0]);
        const auto b = static_cast<std::uint8_t>(sample[1]);
        facts.utf16Mark = (a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF);
        facts.bigEndian = a == 0xFE && b == 0xFF;
    }
    std::size_t zeros[2] = {0, 0};
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        zeros[0] += sample[i] == '\0';
        zeros[1] += sample[i + 1] == '\0';
    }
    if (n % 2 == 1 && sample[n - 1] == '\0') ++zeros[0];
    facts.utf16 = facts.utf16Mark;
    if (facts.utf16Mark || zeros[0] + zeros[1] == 0) return;
    const std::size_t units = n / 2;
    const bool little = zeros[1] * 10 >= units * 3 && zeros[0] * 20 <= units;
    const bool big = zeros[0] * 10 >= units * 3 && zeros[1] * 20 <= units;
    facts.utf16 = little || big;
    facts.bigEndian = big && !little;
    facts.binary = !facts.utf16;
}

// Numbers the groups: readings with one fingerprint, and no byte in the part not judged that could
// tell them apart, read the same text.
std::vector<TReadingScore> Grouped(const std::vector<TRaw>& raw, std::string_view rest,
                                   const std::array<bool, kByteReadings.size()>& judgedToTheEnd) {
    std::vector<TReadingScore> scores;
    std::vector<std::size_t> heads;
    for (const TRaw& r : raw) {
        TReadingScore s{r.candidate, r.score, r.bonus, r.syllables, r.faults, -1};
        for (std::size_t h = 0; h < heads.size() && s.group < 0; ++h) {
            const TRaw& head = raw[heads[h]];
            const bool bytes = head.byteReading >= 0 && r.byteReading >= 0;
            const bool judged = !bytes || (judgedToTheEnd[static_cast<std::size_t>(head.byteReading)] &&
                                           judgedToTheEnd[static_cast<std::size_t>(r.byteReading)]);
            if (head.fingerprint == r.fingerprint &&
                (judged || !AnyOf(Telling(static_cast<std::size_t>(head.byteReading),
                                          static_cast<std::size_t>(r.byteReading)),
                                  rest)))
                s.group = static_cast<int>(h);
        }
        if (s.group < 0) {
            s.group = static_cast<int>(heads.size());
            heads.push_back(&r - raw.data());
        }
        scores.push_back(s);
    }
    return scores;
}

}  // namespace

std::vector<TReadingScore> ScoreReadings(std::string_view sample, const TViqrKeys& keys,
                                         TSampleFacts& facts) {
    LookForUtf16(sample, facts);
    if (facts.binary) return {};
    if (facts.utf16) {
        // A byte-order mark, or zeros in every other byte: no 8-bit reading comes near.
        TWordScorer sink;
        ReadUtf16(sample, facts.bigEndian, sink);
        facts.highBytes = true;
        return Grouped({Raw(ci_Utf16, sink, 4.0, 3.0)}, std::string_view(), {});
    }
    const std::size_t highBytes = CountHighBytes(sample);
    TWordCursor cursor(sample);
    std::vector<TWord> words;
    TWord first{};
    if (cursor.Next(first)) words.push_back(first);
    facts.highBytes = highBytes > 0 || !words.empty();

    // References and VIQR: only the words holding their marks read otherwise than in UTF-8.
    TWordScorer ncr;
    int references = 0;
    if (HasReferences(sample)) {
        references = ReadMarkedRuns(
            sample, TNcrDecoder(),
            [](std::uint8_t b) {
                return IsAsciiLetter(b) || (b >= '0' && b <= '9') || b == '&' || b == '#' || b == ';';
            },
            [&](std::size_t from) { return std::min(sample.find("&#", from), sample.size()); }, ncr);
        ncr.Finish();
    }
    TWordScorer viqr;
    // A VIQR file is ASCII; text with many bytes above it is no VIQR.
    if (highBytes * 50 <= sample.size()) {
        static const TViqrIndex defaultIndex(MakeViqrTable(TViqrKeys::Defaults()));
        const bool own = keys != TViqrKeys::Defaults();
        const TViqrIndex ownIndex = own ? TViqrIndex(MakeViqrTable(keys)) : TViqrIndex();
        const TViqrIndex& index = own ? ownIndex : defaultIndex;
        std::array<bool, 256> isKey{};
        for (const char key : keys.keys) isKey[static_cast<std::uint8_t>(key)] = true;
        ReadMarkedRuns(
            sample, TViqrDecoder(keys, index), [&](std::uint8_t b) { return IsAsciiLetter(b) || isKey[b]; },
            [&](std::size_t from) {
                // A key after a letter.
                for (std::size_t j = std::max<std::size_t>(from, 1); j < sample.size(); ++j) {
                    if (isKey[static_cast<std::uint8_t>(sample[j])] &&
                        IsAsciiLetter(static_cast<std::uint8_t>(sample[j - 1])))
                        return j;
                }
                return sample.size();
            },
            viqr);
        viqr.Finish();
    }
    const bool extras = ncr.Words() > 0 || viqr.Words() > 0;

    // The 8-bit readings, a few hundred words at a time, until one leads every reading of another text
    // far and nothing in the rest of the sample could tell it from those of the same text.
    std::array<TWordScorer, kByteReadings.size()> sinks;
    TUtf8Count utf8Count;
    std::size_t utf8Counted = 0;
    const auto utf8Valid = [&] { return utf8Count.invalid == 0; };
    const auto score = [&](std::size_t r) {
        if (r != kUtf8Reading) return sinks[r].Evidence() - 3.0 * sinks[r].Faults();
        // UTF-8 without a fault is evidence by its structure; text in UTF-8 holds foreign words too.
        return utf8Valid() ? sinks[r].Evidence() + 2.0 * utf8Count.sequences - sinks[r].Faults()
                           : sinks[r].Evidence() - 3.0 * sinks[r].Faults();
    };
    std::size_t done = 0;
    std::size_t restFrom = sample.size();  // where the part not judged starts
    std::array<bool, kByteReadings.size()> judgedToTheEnd{};
    std::size_t nextCheck = 512;
    TWord word{};
    for (bool more = !words.empty(); more;) {
        while (words.size() < nextCheck && (more = cursor.Next(word))) words.push_back(word);
        for (std::size_t r = 0; r < kByteReadings.size(); ++r) {
            for (std::size_t w = done; w < words.size(); ++w) {
                ReadWord(kByteReadings[r], sample.substr(words[w].start, words[w].length), sinks[r]);
            }
        }
        done = words.size();
        nextCheck *= 2;
        utf8Counted = utf8Count.Count(sample, utf8Counted,
                                      more ? words.back().start + words.back().length : sample.size());
        if (extras || !more) continue;
        std::size_t leader = 0;
        for (std::size_t r = 1; r < kByteReadings.size(); ++r) {
            if (score(r) > score(leader)) leader = r;
        }
        if (sinks[leader].Faults() * 10 > sinks[leader].Words()) continue;
        // The readings that come close to the leader (those of the same text so far among them) read
        // the rest alike but for the words with a byte that could tell two of them apart: only those
        // words are judged further, by them alone. The others are left far behind.
        std::vector<std::size_t> close{leader};
        for (std::size_t r = 0; r < kByteReadings.size(); ++r) {
            if (r != leader &&
                (sinks[r].Fingerprint() == sinks[leader].Fingerprint() || score(leader) - score(r) < 40))
                close.push_back(r);
        }
        if (close.size() > 3) continue;
        std::array<bool, 256> telling{};
        for (std::size_t i = 0; i < close.size(); ++i) {
            for (std::size_t j = i + 1; j < close.size(); ++j) {
                const auto bytes = Telling(close[i], close[j]);
                for (int b = 0; b < 256; ++b) telling[b] = telling[b] || bytes[b];
            }
        }
        restFrom = cursor.Position();
        if (close.size() > 1 && AnyOf(telling, sample.substr(restFrom))) {
            for (const std::size_t r : close) judgedToTheEnd[r] = true;
            // Each telling byte, with the word around it.
            for (std::size_t i = restFrom; i < sample.size(); ++i) {
                if (!telling[static_cast<std::uint8_t>(sample[i])]) continue;
                std::size_t start = i;
                while (start > restFrom && IsWordByte(static_cast<std::uint8_t>(sample[start - 1]))) --start;
                std::size_t end = i + 1;
                while (end < sample.size() && IsWordByte(static_cast<std::uint8_t>(sample[end]))) ++end;
                const std::string_view text = sample.substr(start, end - start);
                for (const std::size_t r : close) ReadWord(kByteReadings[r], text, sinks[r]);
                i = end;
            }
        }
        break;
    }
    const double utf8Bonus = utf8Valid() ? 2.0 * utf8Count.sequences : 0.0;
    const double utf8FaultWeight = utf8Valid() ? 1.0 : 3.0;

    std::vector<TRaw> raw;
    for (std::size_t r = 0; r < kByteReadings.size(); ++r) {
        const bool utf8 = r == kUtf8Reading;
        raw.push_back(Raw(kByteReadings[r], sinks[r], utf8 ? utf8Bonus : 0.0, utf8 ? utf8FaultWeight : 3.0,
                          static_cast<int>(r)));
        if (utf8 && sinks[r].Combined() > 0) {
            raw.push_back(raw.back());
            raw.back().candidate = ci_Decomposed;
        }
    }
    const TRaw utf8 = raw[kUtf8Reading];
    // The words with references or VIQR marks are judged on top of what the UTF-8 reading found.
    const auto onUtf8 = [&](int candidate, const TWordScorer& sink, double bonus) {
        TRaw r = Raw(candidate, sink, bonus, 3.0);
        r.score += utf8.score;
        r.bonus += utf8.bonus;
        r.syllables += utf8.syllables;
        r.faults += utf8.faults;
        r.fingerprint = Combine(utf8.fingerprint, sink.Fingerprint());
        return r;
    };
    // Text that holds most of its letters in UTF-8 quotes its references: they count against it.
    if (ncr.Words() > 0) {
        raw.push_back(onUtf8(ci_Ncr, ncr, utf8.syllables > ncr.Words() ? -1.0 * references : references));
    }
    if (viqr.Words() > 0) raw.push_back(onUtf8(ci_Viqr, viqr, 0.0));
    return Grouped(raw, sample.substr(restFrom), judgedToTheEnd);
}

}  // namespace odz
