#include "ViqrWriter.h"

#include <algorithm>

#include "LetterTables.h"
#include "TextDecoders.h"

namespace odz {

namespace {

// Items the checking writer keeps behind the point it reads back when none of them is settled. A
// chain of repairs can reach back only through characters whose spelling may still change, and that
// only with an Escape key that is also d, D or another key; a run of more than this many such
// characters in a row is not read back beyond its start.
constexpr std::size_t kKeptItems = 1 << 16;

}  // namespace

TViqrEscapeRule::TViqrEscapeRule(const TViqrKeys& keys) : FKeys(keys) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        std::uint8_t cls = 0;
        if (c == keys[kEscape]) cls |= kEscapeKey;
        if (keys.IsToneKey(c) || keys.IsShapeKey(c)) cls |= kToneOrShape;
        if (c == 'd' || c == keys[kdTh]) cls |= kSmallD;
        if (c == 'D' || c == keys[kDHoa]) cls |= kCapitalD;
        FClass[b] = cls;
    }
}

bool TViqrEscapeRule::Joins(std::uint8_t before, std::uint8_t after) const {
    const char b = static_cast<char>(before);
    const char a = static_cast<char>(after);
    return (b == 'd' && a == FKeys[kdTh]) || (b == FKeys[kdTh] && a == 'd') ||
           (b == 'D' && a == FKeys[kDHoa]) || (b == FKeys[kDHoa] && a == 'D') ||
           (IsVowelBase(before) && (FClass[after] & kToneOrShape) != 0);
}

bool TViqrEscapeRule::Escapes(TBefore before, std::uint8_t x, int nextLetter) const {
    const std::uint8_t cls = FClass[x];
    if (cls == 0) return false;
    if (cls & kEscapeKey) return true;
    const bool literalBefore = before.kind == TBefore::Literal && !before.escaped;
    const bool letterBefore = before.kind == TBefore::Letter;
    if (cls & kToneOrShape) {
        const bool afterVowel =
            (literalBefore && IsVowelBase(before.byte)) || (letterBefore && before.letter < kCapitalDStroke);
        if (afterVowel) return true;
    }
    if ((cls & kSmallD) &&
        ((letterBefore && before.letter == kSmallDStroke) || nextLetter == kSmallDStroke)) {
        return true;
    }
    if ((cls & kCapitalD) &&
        ((letterBefore && before.letter == kCapitalDStroke) || nextLetter == kCapitalDStroke)) {
        return true;
    }
    // With the partner keys swapped or taken by the other d (đ's key is D, say), a d joins the first
    // byte of the Đ after it.
    if (nextLetter >= 0 && nextLetter <= kSmallDStroke && Joins(x, FirstByte(nextLetter))) return true;
    return literalBefore && Joins(before.byte, x);
}

std::uint8_t TViqrEscapeRule::FirstByte(int letter) {
    if (letter < kCapitalDStroke) return static_cast<std::uint8_t>(LetterBase(letter));
    return letter == kCapitalDStroke ? 'D' : 'd';
}

TViqrSpellings::TViqrSpellings(const TViqrTable& table) {
    for (int k = 0; k < kLetterCount; ++k) {
        const std::size_t n = std::min<std::size_t>(table[k].size(), 4);
        std::copy_n(table[k].data(), n, FBytes[k].data());
        FLength[k] = static_cast<std::uint8_t>(n);
    }
}

// ---- The writer that reads back ------------------------------------------------------------------------

TCheckedViqrSink::TCheckedViqrSink(const TViqrKeys& keys, const TViqrTable& table, const TViqrIndex& index)
    : FRule(keys), FSpellings(table), FIndex(&index) {
    // Tried with every byte after it and with the end of the line. A vowel as it stands is never
    // settled alone: the reader looks two bytes past it.
    const auto alone = [&](const TItem& item) {
        char bytes[8];
        const auto length = static_cast<std::size_t>(Spell(item, bytes) - bytes);
        for (int after = -1; after < 256; ++after) {
            bytes[length] = static_cast<char>(after);
            const std::size_t n = length + (after >= 0 ? 1 : 0);
            const TViqrUnit unit = ReadViqrUnit(std::string_view(bytes, n), 0, keys, index);
            const bool right = item.kind == TItem::Letter
                                   ? unit.kind == TViqrUnit::Letter && unit.letter == item.letter
                                   : unit.kind == (item.marked ? TViqrUnit::Escaped : TViqrUnit::Literal);
            if (!right || unit.length != length) return false;
        }
        return true;
    };
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        FByteAlone[b] = !IsVowelBase(byte) && alone({TItem::Literal, false, false, byte, 0});
        FEscapedAlone[b] = !IsVowelBase(static_cast<std::uint8_t>(keys[kEscape])) &&
                           alone({TItem::Literal, true, true, byte, 0});
    }
    for (int k = 1; k <= kLastLetter; ++k) {
        if (!IsPlainVowelIndex(k))
            FLetterAlone[k] = alone({TItem::Letter, false, false, 0, static_cast<std::int16_t>(k)});
    }
    for (const int k : {kCapitalDStroke, kSmallDStroke}) {
        FKeyFirstAlone[k - kCapitalDStroke] =
            alone({TItem::Letter, false, true, 0, static_cast<std::int16_t>(k)});
    }
}

bool TCheckedViqrSink::ReadsBackAlone(const TItem& item) const {
    if (item.kind == TItem::Literal) return item.marked ? FEscapedAlone[item.byte] : FByteAlone[item.byte];
    if (item.marked) return FKeyFirstAlone[item.letter - kCapitalDStroke];
    return FLetterAlone[item.letter];
}

bool TCheckedViqrSink::Needed(const TViqrKeys& keys) {
    for (const char c : {'d', 'D', '<'}) {
        if (keys.IsToneKey(c) || keys.IsShapeKey(c)) return true;
    }
    return keys[kEscape] == 'd' || keys[kEscape] == 'D';
}

void TCheckedViqrSink::Ascii(std::uint8_t b) {
    if (FInTag) {
        if (FTagStreams) {
            Put(static_cast<char>(b));
        } else {
            FTagText.push_back(static_cast<char>(b));
            Advance(false);
        }
        return;
    }
    Push({TItem::Literal, false, false, b, 0});
}

void TCheckedViqrSink::Letter(int k) {
    if (FInTag) {
        if (FTagStreams) {
            Put(FSpellings[k]);
        } else {
            FTagText.append(FSpellings[k]);
            Advance(false);
        }
        return;
    }
    Push({TItem::Letter, false, false, 0, static_cast<std::int16_t>(k)});
}

void TCheckedViqrSink::Char(char32_t code) {
    char reference[16];
    const char* end = PutReference(reference, code);
    ++FReferences;
    for (const char* c = reference; c < end; ++c) Ascii(static_cast<std::uint8_t>(*c));
}

void TCheckedViqrSink::TagOpen() {
    FInTag = true;
    Push({TItem::Tag, false, false, 0, 0});
}

void TCheckedViqrSink::TagClose() {
    FInTag = false;
    FTagStreams = false;
    Advance(false);
}

void TCheckedViqrSink::EndLine() {
    if (FRuleDone < Size()) ApplyRule(Size() - 1, nullptr);
    Advance(true);
    while (FFirst < Size()) EmitFront();
    Put(FTagText);
    Reset();
}

void TCheckedViqrSink::Reset() {
    FItems.clear();
    FHead = FFirst = FRuleDone = FFrom = FSettled = 0;
    FTagText.clear();
    FInTag = false;
    FTagStreams = false;
}

void TCheckedViqrSink::Push(const TItem& item) {
    if (Size() > 0) ApplyRule(Size() - 1, &item);
    FItems.push_back(item);
    Advance(false);
}

// The escape rule for item i, once the item after it (or the end of the line) is known.
void TCheckedViqrSink::ApplyRule(std::size_t i, const TItem* next) {
    TItem& item = At(i);
    if (item.kind == TItem::Literal) {
        TViqrEscapeRule::TBefore before;
        if (i > 0) {
            const TItem& b = At(i - 1);
            if (b.kind == TItem::Literal) {
                before = {TViqrEscapeRule::TBefore::Literal, b.byte, b.ruleEscaped, 0};
            } else if (b.kind == TItem::Letter) {
                before = {TViqrEscapeRule::TBefore::Letter, 0, false, b.letter};
            }
        }
        const int nextLetter = next && next->kind == TItem::Letter ? next->letter : -1;
        item.ruleEscaped = item.marked = FRule.Escapes(before, item.byte, nextLetter);
    }
    FRuleDone = i + 1;
}

char* TCheckedViqrSink::Spell(const TItem& item, char* at) const {
    const TViqrKeys& keys = FRule.Keys();
    if (item.kind == TItem::Literal) {
        if (item.marked) *at++ = keys[kEscape];
        *at++ = static_cast<char>(item.byte);
    } else if (item.marked && item.letter == kSmallDStroke) {
        *at++ = keys[kdTh];
        *at++ = 'd';
    } else if (item.marked && item.letter == kCapitalDStroke) {
        *at++ = keys[kDHoa];
        *at++ = 'D';
    } else {
        const std::string_view spelling = FSpellings[item.letter];
        at = std::copy(spelling.begin(), spelling.end(), at);
    }
    return at;
}

void TCheckedViqrSink::PutItem(const TItem& item) {
    if (item.kind != TItem::Tag) FPos = Spell(item, FPos);
}

bool TCheckedViqrSink::Check(std::size_t j, bool lineEnded, bool& right) const {
    const std::size_t size = Size();
    if (j >= FRuleDone) return false;
    if (ReadsBackAlone(At(j))) {
        right = true;
        return true;
    }
    if (j + 1 < size) {
        if (At(j + 1).kind != TItem::Tag && j + 1 >= FRuleDone) return false;
    } else if (!lineEnded) {
        return false;
    }
    // The bytes the reader sees from item j on: at most three, fewer at the end of the line.
    char bytes[8] = {};
    std::size_t length = 0;
    std::size_t own = 0;
    for (std::size_t i = j; length < 3; ++i) {
        if (i == size) {
            if (!lineEnded) return false;
            break;
        }
        const TItem& item = At(i);
        if (item.kind == TItem::Tag) {
            const std::size_t take = std::min(FTagText.size(), 3 - length);
            std::copy_n(FTagText.data(), take, bytes + length);
            length += take;
            if (length < 3 && FInTag && i + 1 == size) return false;  // more of the tag is to come
            continue;
        }
        if (i >= FRuleDone) return false;
        const auto written = static_cast<std::size_t>(Spell(item, bytes + length) - (bytes + length));
        if (i == j) own = written;
        length = std::min<std::size_t>(length + written, 3);
    }
    const TViqrUnit unit = ReadViqrUnit(std::string_view(bytes, length), 0, FRule.Keys(), *FIndex);
    const TItem& item = At(j);
    if (item.kind == TItem::Letter) {
        right = unit.kind == TViqrUnit::Letter && unit.letter == item.letter && unit.length == own;
    } else {
        right = unit.kind == (item.marked ? TViqrUnit::Escaped : TViqrUnit::Literal) && unit.length == own;
    }
    return true;
}

bool TCheckedViqrSink::Repair(std::size_t j) {
    const auto change = [&](std::size_t i) {
        if (i >= Size()) return false;
        TItem& item = At(i);
        if (item.marked) return false;
        const bool changeable =
            item.kind == TItem::Literal || (item.kind == TItem::Letter && item.letter >= kCapitalDStroke);
        if (changeable) item.marked = true;
        return changeable;
    };
    // The reader looks ahead: the neighbour after is the usual culprit.
    return change(j + 1) || change(j);
}

void TCheckedViqrSink::Advance(bool lineEnded) {
    while (FFrom < Size()) {
        if (At(FFrom).kind == TItem::Tag) {
            if (!At(FFrom).marked) {
                // Everything before a tag is settled once reading back has come this far.
                while (FFirst < FFrom) EmitFront();
                Put(FTagText);
                FTagText.clear();
                At(FFrom).marked = true;
                FTagStreams = FInTag && FFrom + 1 == Size();
            }
            ++FFrom;
            continue;
        }
        bool right = false;
        if (!Check(FFrom, lineEnded, right)) break;
        if (!right && Repair(FFrom)) {
            FFrom = std::max(FFrom >= 2 ? FFrom - 2 : 0, FFirst);
            continue;
        }
        // A settled item that reading back has passed settles everything before it: what comes later
        // can only change the item itself or the ones after it.
        const TItem& item = At(FFrom);
        if (item.marked || (item.kind == TItem::Letter && item.letter < kCapitalDStroke)) FSettled = FFrom;
        ++FFrom;
    }
    while (FFirst < FSettled || FFrom > FFirst + kKeptItems) EmitFront();
}

void TCheckedViqrSink::EmitFront() {
    PutItem(FItems[FHead]);
    ++FHead;
    ++FFirst;
    if (FHead >= kKeptItems && FHead * 2 >= FItems.size()) {
        FItems.erase(FItems.begin(), FItems.begin() + static_cast<std::ptrdiff_t>(FHead));
        FHead = 0;
    }
}

}  // namespace odz
