#include "ViqrWriter.h"

#include "TextDecoders.h"

namespace odz {

void TViqrSink::Ascii(std::uint8_t b) {
    if (FInTag) {
        FTagText.push_back(static_cast<char>(b));
    } else {
        FItems.push_back({TItem::Literal, false, b, 1});
    }
}

void TViqrSink::Letter(int k) {
    if (FInTag) {
        FTagText.append((*FTable)[k]);
    } else {
        FItems.push_back({TItem::Letter, false, static_cast<std::uint32_t>(k), 0});
    }
}

void TViqrSink::Char(char32_t code) {
    // VIQR is 7-bit text: any other character becomes a reference, written like typed text.
    std::string reference;
    AppendReference(reference, code);
    ++FReferences;
    for (const char c : reference) Ascii(static_cast<std::uint8_t>(c));
}

void TViqrSink::TagOpen() {
    FInTag = true;
    FItems.push_back({TItem::Tag, false, static_cast<std::uint32_t>(FTagText.size()), 0});
}

void TViqrSink::TagClose() {
    FInTag = false;
    FItems.back().length = static_cast<std::uint32_t>(FTagText.size() - FItems.back().value);
}

bool TViqrSink::NeedsChecking(const TViqrKeys& keys) {
    for (const char c : {'d', 'D', '<'}) {
        if (keys.IsToneKey(c) || keys.IsShapeKey(c)) return true;
    }
    return keys[kEscape] == 'd' || keys[kEscape] == 'D';
}

bool TViqrSink::Joins(char before, char after) const {
    return (before == 'd' && after == FKeys[kdTh]) || (before == FKeys[kdTh] && after == 'd') ||
           (before == 'D' && after == FKeys[kDHoa]) || (before == FKeys[kDHoa] && after == 'D') ||
           (IsVowelBase(static_cast<std::uint8_t>(before)) &&
            (FKeys.IsToneKey(after) || FKeys.IsShapeKey(after)));
}

void TViqrSink::ChooseEscapes() {
    const auto isLetter = [&](std::size_t j, int k) {
        return j < FItems.size() && FItems[j].kind == TItem::Letter &&
               FItems[j].value == static_cast<std::uint32_t>(k);
    };
    for (std::size_t j = 0; j < FItems.size(); ++j) {
        TItem& item = FItems[j];
        if (item.kind != TItem::Literal) continue;
        const char x = static_cast<char>(item.value);
        const TItem* before = j > 0 ? &FItems[j - 1] : nullptr;
        const bool afterVowel =
            before && ((before->kind == TItem::Literal && !before->marked &&
                        IsVowelBase(static_cast<std::uint8_t>(before->value))) ||
                       (before->kind == TItem::Letter && before->value < kCapitalDStroke));
        const bool nextToSmallD = (j > 0 && isLetter(j - 1, kSmallDStroke)) || isLetter(j + 1, kSmallDStroke);
        const bool nextToCapitalD =
            (j > 0 && isLetter(j - 1, kCapitalDStroke)) || isLetter(j + 1, kCapitalDStroke);
        item.marked = x == FKeys[kEscape] || ((FKeys.IsToneKey(x) || FKeys.IsShapeKey(x)) && afterVowel) ||
                      ((x == 'd' || x == FKeys[kdTh]) && nextToSmallD) ||
                      ((x == 'D' || x == FKeys[kDHoa]) && nextToCapitalD) ||
                      (before && before->kind == TItem::Literal && !before->marked &&
                       Joins(static_cast<char>(before->value), x));
    }
}

void TViqrSink::AppendSpelling(std::string& line, const TItem& item) const {
    const auto k = static_cast<int>(item.value);
    if (item.marked && k == kSmallDStroke) {
        line.push_back(FKeys[kdTh]);
        line.push_back('d');
    } else if (item.marked && k == kCapitalDStroke) {
        line.push_back(FKeys[kDHoa]);
        line.push_back('D');
    } else {
        line.append((*FTable)[k]);
    }
}

void TViqrSink::Render(std::string& line, std::vector<std::size_t>& starts) const {
    line.clear();
    starts.clear();
    for (const TItem& item : FItems) {
        starts.push_back(line.size());
        switch (item.kind) {
            case TItem::Literal:
                if (item.marked) line.push_back(FKeys[kEscape]);
                line.push_back(static_cast<char>(item.value));
                break;
            case TItem::Letter:
                AppendSpelling(line, item);
                break;
            case TItem::Tag:
                line.append(FTagText, item.value, item.length);
                break;
        }
    }
}

bool TViqrSink::ReadsBack(const std::string& line, const std::vector<std::size_t>& starts,
                          std::size_t& firstWrong) const {
    for (std::size_t j = firstWrong; j < FItems.size(); ++j) {
        const TItem& item = FItems[j];
        if (item.kind == TItem::Tag) continue;
        const TViqrUnit unit = ReadViqrUnit(line, starts[j], FKeys, *FIndex);
        const std::size_t end = j + 1 < starts.size() ? starts[j + 1] : line.size();
        const std::size_t length = end - starts[j];
        bool right;
        if (item.kind == TItem::Letter) {
            right = unit.kind == TViqrUnit::Letter && unit.letter == static_cast<int>(item.value) &&
                    unit.length == length;
        } else {
            right =
                unit.kind == (item.marked ? TViqrUnit::Escaped : TViqrUnit::Literal) && unit.length == length;
        }
        if (!right) {
            firstWrong = j;
            return false;
        }
    }
    return true;
}

bool TViqrSink::Repair(std::size_t wrong) {
    const auto change = [&](std::size_t j) {
        if (j >= FItems.size() || FItems[j].marked) return false;
        TItem& item = FItems[j];
        const bool changeable =
            item.kind == TItem::Literal || (item.kind == TItem::Letter && item.value >= kCapitalDStroke);
        if (changeable) item.marked = true;
        return changeable;
    };
    // The reader looks ahead: the neighbour after is the usual culprit.
    return change(wrong + 1) || change(wrong);
}

void TViqrSink::EndLine() {
    ChooseEscapes();
    Render(FLine, FStarts);
    std::size_t from = FCheck ? 0 : FItems.size();
    while (from < FItems.size()) {
        std::size_t wrong = from;
        if (ReadsBack(FLine, FStarts, wrong)) break;
        if (Repair(wrong)) {
            Render(FLine, FStarts);
            from = wrong >= 2 ? wrong - 2 : 0;
        } else {
            from = wrong + 1;  // nothing left to change here
        }
    }
    Put(FLine);
    FItems.clear();
    FTagText.clear();
    FInTag = false;
}

}  // namespace odz
