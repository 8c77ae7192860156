// Letter lookups: the reverse indexes answer exactly what the first-match scans answer, for every code.
// Letters written with combining marks convert as the precomposed letters do. Reading back VIQR that the
// engine wrote gives the original text, on random texts full of the characters that tempt the reader to join
// neighbours, with the default keys and with changed keys.

#include <algorithm>
#include <random>
#include <set>

#include "Encodings.h"
#include "IconvReference.h"
#include "LetterLookup.h"
#include "LineConverter.h"
#include "TRaRaru.h"
#include "TestSupport.h"
#include "TextDecoders.h"
#include "TextSinks.h"
#include "ViqrKeys.h"

namespace odz {
namespace {

const std::pair<const char*, const TVnLetterTable*> kTables[] = {
    {"ZTWin", &ZTWinTable},     {"VISCII", &VisciiTable}, {"VPS", &VpsTable},
    {"VNIWind", &VniWindTable}, {"TCVN1", &Tcvn1Table},   {"TCVN2", &Tcvn2Table}};

TEST(Lookup, LegacyIndexEqualsTheScanForEveryOneAndTwoByteCode) {
    for (const auto& [name, table] : kTables) {
        const TLegacyIndex& index = LegacyIndexFor(*table);
        for (int a = 0; a < 256; ++a) {
            const char first = static_cast<char>(a);
            ASSERT_EQ(index.Single(static_cast<std::uint8_t>(a)),
                      FindLetterCode(std::string_view(&first, 1), *table))
                << name << " " << a;
            for (int b = 0; b < 256; ++b) {
                const char pair[2] = {first, static_cast<char>(b)};
                ASSERT_EQ(index.Pair(static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)),
                          FindLetterCode(std::string_view(pair, 2), *table))
                    << name << " " << a << " " << b;
                // Streams are cut before a last byte that may begin a letter: no byte may end one too.
                if (index.Pair(static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)) >= 1) {
                    ASSERT_FALSE(IsVowelBase(static_cast<std::uint8_t>(b)) ||
                                 index.Single(static_cast<std::uint8_t>(b)) >= 1)
                        << name << " " << a << " " << b;
                }
            }
        }
    }
}

TEST(Lookup, CodePointIndexEqualsTheTable) {
    for (char32_t code = 0; code < 0x11000; ++code) {
        int expected = -1;
        for (int k = 1; k <= kLastLetter; ++k) {
            if (UnicodeTable[k] == code && code >= 0x80) {
                expected = k;
                break;
            }
        }
        ASSERT_EQ(LetterOfCodePoint(code), expected) << std::hex << static_cast<std::uint32_t>(code);
    }
}

// The plain scan of the VIQR table: indexes 1 to 146, the first equal entry.
int ScanViqrTable(const TViqrTable& table, std::string_view text) {
    for (int k = 1; k < kLetterCount; ++k) {
        if (table[k] == text) return k;
    }
    return 0;
}

void ExpectViqrIndexEqualsScan(const std::string& keys) {
    TRaRaru engine("/nonexistent/odizodoruz.ini");
    engine.SetTransDau(keys);
    engine.BuildViqrTable();
    std::string text;
    const auto check = [&] {
        ASSERT_EQ(engine.FindViqrLetter(text), ScanViqrTable(engine.ViqrTable(), text))
            << "keys " << keys << " text " << test::Hex(text);
    };
    for (int a = 0; a < 256; ++a) {
        text.assign(1, static_cast<char>(a));
        check();
        for (int b = 0; b < 256; ++b) {
            text.assign({static_cast<char>(a), static_cast<char>(b)});
            check();
        }
    }
    // Three-character spellings: a base letter and two printable keys.
    for (const char a : std::string_view("AEIOUYaeiouyDdx")) {
        for (int b = 0x20; b < 0x7F; ++b) {
            for (int c = 0x20; c < 0x7F; ++c) {
                text.assign({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
                check();
            }
        }
    }
}

TEST(Lookup, ViqrIndexEqualsTheScanWithDefaultAndCollidingKeys) {
    ExpectViqrIndexEqualsScan(std::string(kDefaultViqrKeys));
    ExpectViqrIndexEqualsScan("''?~.^^+Dd\\");  // Sac = Huyen and Mu = AA: the lower index wins
    ExpectViqrIndexEqualsScan("1234567890!");
}

std::string Convert(TEncodingKind from, TEncodingKind to, const std::string& text, const TViqrKeys& keys) {
    TConversionSetup setup;
    setup.sourceKind = from;
    setup.targetKind = to;
    setup.keys = keys;
    return MakeLineConverter(setup)->ConvertToString(text);
}

std::string ToViqr(const std::string& utf8, const TViqrKeys& keys) {
    return Convert(TEncodingKind::Utf8, TEncodingKind::Viqr, utf8, keys);
}

std::string FromViqr(const std::string& viqr, const TViqrKeys& keys) {
    return Convert(TEncodingKind::Viqr, TEncodingKind::Utf8, viqr, keys);
}

// Random lines of letters, vowels, the keys themselves, d and D, and ordinary characters.
std::string RandomLine(std::mt19937& random, const TViqrKeys& keys) {
    std::string pool = "AEIOUYaeiouydDbcx 19.,;:-";
    pool += keys.AsString();
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> kind(0, 2);
    std::uniform_int_distribution<int> letter(1, kLastLetter);
    std::uniform_int_distribution<std::size_t> ascii(0, pool.size() - 1);
    std::string line;
    for (int i = length(random); i > 0; --i) {
        if (kind(random) == 0) {
            AppendUtf8(line, UnicodeTable[letter(random)]);
        } else {
            line.push_back(pool[ascii(random)]);
        }
    }
    return line;
}

TViqrKeys RandomKeys(std::mt19937& random) {
    // Any eleven different printable characters other than the vowels; the Escape key is not d or D,
    // since a reader could not then tell a literal d from an escape.
    std::string candidates;
    for (char c = 0x21; c < 0x7F; ++c) {
        if (std::string_view("AEIOUYaeiouy").find(c) == std::string_view::npos) candidates.push_back(c);
    }
    for (;;) {
        std::shuffle(candidates.begin(), candidates.end(), random);
        TViqrKeys keys;
        for (int k = 0; k < kViqrKeyCount; ++k) keys.keys[k] = candidates[k];
        if (keys[kEscape] != 'd' && keys[kEscape] != 'D') return keys;
    }
}

// With the default keys (now and then a line far longer than what the writer holds back), then with
// random key sets, the first two where one d is the other's partner key (đ written dD, Đ written Dd).
TEST(ViqrRoundTrip, DefaultAndChangedKeys) {
    std::mt19937 random(2024);
    const std::string_view awkward[] = {"m|$h9>Pz(DV", "'`?~.^(+d#\\"};
    for (int set = -1; set < 300; ++set) {
        TViqrKeys keys = set < 0 ? TViqrKeys::Defaults() : RandomKeys(random);
        if (set == 0 || set == 1) {
            std::copy(awkward[set].begin(), awkward[set].end(), keys.keys.begin());
            const std::string pairs = "idĐY dđ Dđ DĐ đd Đd đD ĐD (Đ Đ( d(";
            ASSERT_EQ(FromViqr(ToViqr(pairs, keys), keys), pairs) << keys.AsString();
        }
        for (int i = 0; i < (set < 0 ? 20000 : 200); ++i) {
            std::string line = RandomLine(random, keys);
            while (set < 0 && i % 1000 == 999 && line.size() < 6000) line += RandomLine(random, keys);
            const std::string viqr = ToViqr(line, keys);
            ASSERT_EQ(FromViqr(viqr, keys), line) << "keys " << keys.AsString() << " VIQR: " << viqr;
        }
    }
}

TConversionSetup SetupFor(TEncodingKind source, TEncoding target, bool compose = false) {
    TConversionSetup setup;
    setup.sourceKind = source;
    setup.targetKind = EncodingInfo(target).kind;
    if (const TVnLetterTable* table = LegacyTableFor(target)) setup.targetTable = *table;
    setup.compose = compose;
    return setup;
}

// Every vowel letter written decomposed, in each order its marks are found in (the canonical order of
// Unicode's decomposition, shape then tone, tone then shape, a shaped base with its tone, a toned base
// with its shape, the alternative grave and acute), from UTF-8, references and UTF-16, into every target
// that joins marks, converts as the precomposed letter does. The decompositions are made here from the
// letters' base, shape and tone; Windows-1258 written from them equals what the C library writes for
// the precomposed letters.
TEST(Composition, EveryDecomposedLetterConvertsLikeThePrecomposedOne) {
    const auto combiningClass = [](char32_t mark) {
        return mark == 0x31B ? 216 : (mark == 0x323 ? 220 : 230);
    };
    std::u32string decomposed;
    std::string precomposed;
    for (int k = 1; k < kCapitalDStroke; ++k) {
        const int tone = LetterTone(k);
        const char32_t base = static_cast<char32_t>(LetterBase(k));
        const char32_t shape = std::array<char32_t, 4>{0, 0x306, 0x302, 0x31B}[LetterShape(k)];
        const char32_t toneMark = ToneMark(tone);
        const auto alternative = [](char32_t mark) {
            return mark == 0x300 ? 0x340 : (mark == 0x301 ? 0x341 : mark);
        };
        std::vector<std::u32string> forms;
        std::u32string canonical{base};
        for (const char32_t mark : {shape, toneMark}) {
            if (mark != 0) canonical += mark;
        }
        std::stable_sort(canonical.begin() + 1, canonical.end(),
                         [&](char32_t a, char32_t b) { return combiningClass(a) < combiningClass(b); });
        forms.push_back(canonical);
        if (shape != 0 && tone != 0) {
            forms.push_back({base, shape, toneMark});
            forms.push_back({base, toneMark, shape});
            forms.push_back({base, alternative(toneMark), shape});
            forms.push_back({UnicodeTable[k - tone], toneMark});
            forms.push_back({UnicodeTable[PlainVowelIndex(static_cast<std::uint8_t>(base)) + tone], shape});
        }
        for (const std::u32string& form : forms) {
            decomposed += form + U' ';
            precomposed += Utf8Table[k] + ' ';
        }
    }
    std::string utf8;
    std::string references;
    for (const char32_t c : decomposed) {
        AppendUtf8(utf8, c);
        if (c < 0x80) {
            references += static_cast<char>(c);
        } else {
            references += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ';';
        }
    }
    std::string cp1258;
    ASSERT_TRUE(test::Iconv("CP1258", "UTF-8", precomposed, cp1258));
    EXPECT_EQ(
        test::Hex(MakeLineConverter(SetupFor(TEncodingKind::Utf8, TEncoding::Cp1258))->ConvertToString(utf8)),
        test::Hex(cp1258));

    for (int t = 0; t < kEncodingCount; ++t) {
        const TEncoding target = EncodingAt(t).encoding;
        if (target == TEncoding::Utf16) continue;
        const std::string expected =
            MakeLineConverter(SetupFor(TEncodingKind::Utf8, target))->ConvertToString(precomposed);
        for (const TEncodingKind source : {TEncodingKind::Utf8, TEncodingKind::Ncr, TEncodingKind::Utf16}) {
            if (source == EncodingInfo(target).kind) continue;
            const auto converter = MakeLineConverter(SetupFor(source, target, true));
            std::string ours;
            if (source == TEncodingKind::Utf16) {
                TByteBuffer out;
                converter->ConvertCodePoints(decomposed, true, out);
                ours = std::string(out.View().substr(0, out.Size() - converter->LineEnd().size()));
            } else {
                ours = converter->ConvertToString(source == TEncodingKind::Ncr ? references : utf8);
            }
            EXPECT_EQ(test::Hex(ours), test::Hex(expected))
                << EncodingAt(t).identifier << " from kind " << static_cast<int>(source);
        }
    }
}

// The ten marks that join a vowel, and nothing else, from the whole of Unicode and beyond.
TEST(Composition, TheTenJoiningMarksAndNoOther) {
    const std::set<char32_t> marks = {0x300, 0x301, 0x302, 0x303, 0x306, 0x309, 0x31B, 0x323, 0x340, 0x341};
    for (char32_t code = 0; code <= 0x110000; ++code)
        ASSERT_EQ(IsJoiningMark(code), marks.count(code) == 1) << static_cast<std::uint32_t>(code);
    EXPECT_FALSE(IsJoiningMark(0xFFFFFFFF));
}

// Marks that join nothing stay characters of their own; Unicode targets keep decomposed letters unless
// asked to join them; Windows-1258 and composite UTF-8 sources always have them joined.
TEST(Composition, WhatJoinsAndWhatStays) {
    struct TCase {
        const char* what;
        TEncodingKind source;
        TEncoding target;
        bool compose;
        std::string input;
        std::string expected;
    };
    const TCase cases[] = {
        {"a mark after a consonant", TEncodingKind::Utf8, TEncoding::Viscii, false, "x\xCC\x81", "x&#769;"},
        {"a second tone", TEncodingKind::Utf8, TEncoding::Viscii, false, "\xC3\xA1\xCC\x81", "\xE1&#769;"},
        {"a second shape, and the tone after it", TEncodingKind::Utf8, TEncoding::Viscii, false,
         "a\xCC\x82\xCC\x82\xCC\x81", "\xE2&#770;&#769;"},
        {"a shape the vowel does not take", TEncodingKind::Utf8, TEncoding::Viscii, false, "i\xCC\x82",
         "i&#770;"},
        {"no tone on d with stroke", TEncodingKind::Utf8, TEncoding::Viscii, false, "\xC4\x90\xCC\x81",
         "\xD0&#769;"},
        {"no mark across a tag", TEncodingKind::Utf8, TEncoding::Viscii, false, "a<b>\xCC\x81", "a<b>&#769;"},
        {"Unicode kept as it is", TEncodingKind::Utf8, TEncoding::Utf8, false, "a\xCC\x81", "a\xCC\x81"},
        {"Unicode joined when asked", TEncodingKind::Utf8, TEncoding::Utf8, true, "a\xCC\x81", "\xC3\xA1"},
        {"references when asked", TEncodingKind::Utf8, TEncoding::DecimalNcr, true, "a\xCC\x81o\xCC\x9B",
         "&#225;&#417;"},
        {"a mark reference that joins nothing is kept as written", TEncodingKind::Ncr, TEncoding::Viscii,
         false, "x&#0769 &#226;&#769", "x&#0769 \xA4"},
        {"references kept in Unicode", TEncodingKind::Ncr, TEncoding::Utf8, false, "a&#769;", "a&#769;"},
        {"a lone tone mark in Windows-1258", TEncodingKind::Utf8, TEncoding::Cp1258, false, "x\xCC\x81",
         "x\xEC"},
        {"what Windows-1258 lacks", TEncodingKind::Utf8, TEncoding::Cp1258, false, "\xC7\xB8\xC5\xA0",
         "&#504;&#352;"},
        {"Windows-1258 tone bytes join", TEncodingKind::Cp1258, TEncoding::Utf8, false, "a\xEC\xE2\xCCx\xEC",
         "\xC3\xA1\xE1\xBA\xA7x\xCC\x81"},
        {"composite UTF-8 read", TEncodingKind::Utf8Nfd, TEncoding::Utf8, false, "a\xCC\x81", "\xC3\xA1"},
        {"composite UTF-8 written", TEncodingKind::Utf8, TEncoding::Utf8Nfd, false,
         "\xE1\xBA\xA5\x61\xCC\x82\xCC\x81\xC4\x91\xC3\xBD",
         "\xC3\xA2\xCC\x81\xC3\xA2\xCC\x81\xC4\x91y\xCC\x81"},
    };
    for (const TCase& c : cases) {
        TConversionSetup setup = SetupFor(c.source, c.target, c.compose);
        setup.tags = true;
        EXPECT_EQ(test::Hex(MakeLineConverter(setup)->ConvertToString(c.input)), test::Hex(c.expected))
            << c.what;
    }
}

// The tables the usual conversions walk give what the decoders and writers give one character at a
// time, from every source into every target: every letter, letters written with marks, characters no
// target table holds, every byte of the 8-bit sources, markup, references and line ends of every kind,
// with marks joined and not, markup on and off.
TEST(Tables, AgreeWithOneCharacterAtATime) {
    std::string text;
    // Line ends of every kind at every place in a block of sixteen bytes, CR LF across blocks too.
    for (int i = 0; i < 20; ++i)
        text += std::string(static_cast<std::size_t>(i), 'x') + (i % 4 ? "\r\n" : "\n\r");
    for (int k = 1; k <= kLastLetter; ++k) AppendUtf8(text, UnicodeTable[k]);
    text +=
        " a\xCC\x82\xCC\x81 e\xCC\xA3\xCC\x82 x\xCC\x81\xCC\x81 u\xCC\x9B\xCC\x80\xCC\x80 \xC3\x90\xC2\xA9"
        "\xE2\x80\x93\xF0\x9F\x98\x80<b title=\"a.b\">&#7871;&#769;</b> Ha. a^' dd\\\r\nA\rB\n\r\n";
    for (int s = 0; s < kEncodingCount; ++s) {
        const TEncodingInfo& source = EncodingAt(s);
        TConversionSetup write = SetupFor(TEncodingKind::Utf8, source.encoding);
        std::string input = MakeLineConverter(write)->ConvertToString(text);
        if (source.kind != TEncodingKind::Utf16 && source.kind != TEncodingKind::Utf8) {
            for (int b = 1; b < 256; ++b) input.push_back(static_cast<char>(b));
            // References as people write them: leading zeros, no ";", marks as references, none at all.
            if (source.kind == TEncodingKind::Ncr) {
                input +=
                    "a&#769;&#770; "
                    "A&#000000000000000000000000000000770;&#00000000000000000000000000000000769;x "
                    "&#7871&#769 &#97;\xCC\x81 &#65;&#769; &#;&&#x41; "
                    "&#1234567890123456789012345678901234567; "
                    "e&#803&#770;&#768; &#272;&#769; \xE2&#769; o&#795;\xCC\x80&#769;&#769; "
                    "a&#700;o&#8220;u&#0;i&#77;e&#8;\r\n";  // after vowels, no marks though close to them
            }
        } else if (source.kind == TEncodingKind::Utf8) {
            // Bytes that are no UTF-8 are Windows-1252, vowels among them, which marks join too.
            // Sequences cut short, continuation bytes too many.
            input.insert(0,
                         "\xE2\xCC\x81 \xD5\xCC\x83\xCC\x81 \xE1\xBA\xCC\x80\r\n\xC3\xA0\x80\xBF "
                         "\xE1\xBA\xA1\x80 \xE1\xBA \xC3\r\n");
        }
        for (int t = 0; t < kEncodingCount; ++t) {
            if (t == s) continue;
            for (const bool options : {false, true}) {
                TConversionSetup setup = SetupFor(source.kind, EncodingAt(t).encoding, options);
                if (const TVnLetterTable* table = LegacyTableFor(source.encoding)) setup.sourceTable = *table;
                setup.tags = options;
                setup.edhIsDStroke = options;
                // Keys that collide: a tone key that is a shape key too, two shape keys alike, a vowel.
                if (options) std::copy_n("'e?~(^((zd#", kViqrKeyCount, setup.keys.keys.begin());
                TByteBuffer tables;
                TByteBuffer characters;
                if (source.kind == TEncodingKind::Utf16) {
                    // Units by the tables; code points, every line end one LF, one at a time.
                    if (!TakesUtf16Units(setup)) continue;
                    const std::u32string all = DecodeUtf8Or1252(text);
                    std::string units;
                    std::u32string codes;
                    for (std::size_t i = 0; i < all.size(); ++i) {
                        const char32_t c = all[i];
                        for (const char32_t u :
                             c < 0x10000 ? std::u32string{c}
                                         : std::u32string{0xD7C0 + (c >> 10), 0xDC00 | (c & 0x3FF)}) {
                            units += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
                        }
                        codes.push_back(c == U'\r' ? U'\n' : c);
                        if (c == U'\r' && i + 1 < all.size() && all[i + 1] == U'\n')
                            units += {'\n', '\0'}, ++i;
                    }
                    MakeLineConverter(setup)->ConvertStream(units, true, tables);
                    MakeCharacterLineConverter(setup)->ConvertCodePoints(codes, true, characters);
                } else {
                    MakeLineConverter(setup)->ConvertStream(input, true, tables);
                    MakeCharacterLineConverter(setup)->ConvertStream(input, true, characters);
                    // Handed over in pieces, each starting with what the one before left.
                    for (const std::size_t size : {1, 7, 61}) {
                        const auto converter = MakeLineConverter(setup);
                        TByteBuffer pieces;
                        std::string carry;
                        for (std::size_t at = 0; at < input.size();) {
                            carry += input.substr(at, size);
                            at += size;
                            const bool last = at >= input.size();
                            const std::size_t used = converter->ConvertStream(carry, last, pieces);
                            ASSERT_LE(carry.size() - used, kMaxStreamCarry);
                            carry.erase(0, used);
                        }
                        EXPECT_EQ(test::Hex(pieces.View()), test::Hex(tables.View()))
                            << source.identifier << " to " << EncodingAt(t).identifier << " in pieces of "
                            << size;
                    }
                }
                EXPECT_EQ(test::Hex(tables.View()), test::Hex(characters.View()))
                    << source.identifier << " to " << EncodingAt(t).identifier
                    << (options ? ", options" : "");
            }
        }
    }
}

}  // namespace
}  // namespace odz
