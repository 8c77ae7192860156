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
