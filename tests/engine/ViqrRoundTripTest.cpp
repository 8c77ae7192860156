// Reading back VIQR that the engine wrote gives the original text, on random texts full of the
// characters that tempt the reader to join neighbours, with the default keys and with changed keys.

#include <algorithm>
#include <random>

#include "LineConverter.h"
#include "TestSupport.h"
#include "TextSinks.h"

namespace odz {
namespace {

std::string ToViqr(const std::string& utf8, const TViqrKeys& keys) {
    TConversionSetup setup;
    setup.sourceKind = TEncodingKind::Utf8;
    setup.targetKind = TEncodingKind::Viqr;
    setup.keys = keys;
    return MakeLineConverter(setup)->ConvertToString(utf8);
}

std::string FromViqr(const std::string& viqr, const TViqrKeys& keys) {
    TConversionSetup setup;
    setup.sourceKind = TEncodingKind::Viqr;
    setup.targetKind = TEncodingKind::Utf8;
    setup.keys = keys;
    return MakeLineConverter(setup)->ConvertToString(viqr);
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

TEST(ViqrRoundTrip, DefaultKeys) {
    std::mt19937 random(1456);
    const TViqrKeys keys = TViqrKeys::Defaults();
    for (int i = 0; i < 20000; ++i) {
        const std::string line = RandomLine(random, keys);
        const std::string viqr = ToViqr(line, keys);
        ASSERT_EQ(FromViqr(viqr, keys), line) << "VIQR: " << viqr;
    }
}

TEST(ViqrRoundTrip, ChangedKeys) {
    std::mt19937 random(2024);
    for (int set = 0; set < 300; ++set) {
        const TViqrKeys keys = RandomKeys(random);
        for (int i = 0; i < 200; ++i) {
            const std::string line = RandomLine(random, keys);
            const std::string viqr = ToViqr(line, keys);
            ASSERT_EQ(FromViqr(viqr, keys), line) << "keys " << keys.AsString() << " VIQR: " << viqr;
        }
    }
}

// The writer's output for a wide range of key sets, odd ones included (keys that are equal, keys that
// are d, D, "<" or vowels), for random lines with and without tags, short and very long, is the output
// the writer was first released with: a digest of it all is kept here.
TEST(ViqrRoundTrip, OutputStaysAsReleased) {
    std::mt19937 random(1992);
    const auto pick = [&](std::string_view from) { return from[random() % from.size()]; };
    const std::string printable = [] {
        std::string all;
        for (char c = 0x21; c < 0x7F; ++c) all.push_back(c);
        return all;
    }();
    std::vector<TViqrKeys> sets = {TViqrKeys::Defaults()};
    for (const std::string_view fixed : {"n9zD;5_7d63", "'`?~.^(+Dd\\", "'`?~.^(+6dd", "dD?~.^(+Dd\\",
                                         "'`?~.^(+Dd'", "<`?~.^(+Dd\\", "'`?~.^(+D<d", "'`?~.^(+D6d"}) {
        TViqrKeys keys;
        for (int k = 0; k < kViqrKeyCount; ++k) keys.keys[k] = fixed[k];
        sets.push_back(keys);
    }
    for (int set = 0; set < 150; ++set) {
        TViqrKeys keys;
        const std::string_view from = set % 3 == 0 ? std::string_view("'`?~.^(+dD\\<") : printable;
        for (int k = 0; k < kViqrKeyCount; ++k) keys.keys[k] = pick(from);
        sets.push_back(keys);
    }
    std::uint64_t digest = 14695981039346656037ull;
    const auto add = [&](std::string_view output) {
        for (const char c : output) digest = (digest ^ static_cast<std::uint8_t>(c)) * 1099511628211ull;
        digest = (digest ^ 0x0A) * 1099511628211ull;
    };
    int index = 0;
    for (const TViqrKeys& keys : sets) {
        std::string pool = "AEIOUYaeiouydDdD<<>> x1.";
        pool += keys.AsString();
        pool += keys.AsString();
        for (const bool tags : {false, true}) {
            TConversionSetup setup;
            setup.sourceKind = TEncodingKind::Utf8;
            setup.targetKind = TEncodingKind::Viqr;
            setup.keys = keys;
            setup.tags = tags;
            const auto converter = MakeLineConverter(setup);
            for (int i = 0; i < 40; ++i) {
                std::string line;
                // Now and then a line far longer than what the writer holds back.
                const std::size_t length = i == 0 && index % 8 == 0 ? 5000 + random() % 4000
                                           : random() % 8 == 0      ? 300 + random() % 700
                                                                    : random() % 40;
                while (line.size() < length) {
                    const auto kind = random() % 8;
                    if (kind < 2) {
                        AppendUtf8(line, UnicodeTable[1 + random() % kLastLetter]);
                    } else if (kind == 2) {
                        AppendUtf8(line, UnicodeTable[kCapitalDStroke + random() % 2]);
                    } else if (kind == 3 && random() % 8 == 0) {
                        line += "\xC2\xA9";
                    } else if (kind == 4 && random() % 16 == 0) {
                        line.append(random() % 300, pick(pool));
                    } else {
                        line.push_back(pick(pool));
                    }
                }
                add(converter->ConvertToString(line));
            }
        }
        ++index;
    }
    // A chain of repairs that runs back over a whole line: with the Escape key d, each dTh key before
    // an escaped one needs an escape too.
    TConversionSetup setup;
    setup.sourceKind = TEncodingKind::Utf8;
    setup.targetKind = TEncodingKind::Viqr;
    for (int k = 0; k < kViqrKeyCount; ++k) setup.keys.keys[k] = std::string_view("'`?~.^(+D6d")[k];
    add(MakeLineConverter(setup)->ConvertToString(std::string(9000, '6') + "d"));
    EXPECT_EQ(digest, 10937554607988901327u);
}

TEST(ViqrRoundTrip, EscapesOnlyWhereTheReaderWouldJoin) {
    const TViqrKeys keys = TViqrKeys::Defaults();
    const std::pair<std::string, std::string> cases[] = {
        {"Ha. Tôi đi.", "Ha\\. To^i ddi\\."},
        {"(ca) 1+1 e( o^", "(ca) 1+1 e\\( o\\^"},
        {"Đ D d đ", "DD D d dd"},
        {"x\\y", "x\\\\y"},
    };
    for (const auto& [text, viqr] : cases) EXPECT_EQ(ToViqr(text, keys), viqr) << text;
}

}  // namespace
}  // namespace odz
