#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TextSinks.h"
#include "ViqrKeys.h"

namespace odz {

// Writes VIQR so that reading it back gives the original text. A letter is its spelling from the VIQR
// table. A literal character that the reader would otherwise join to a neighbour gets the Escape key
// before it: a tone or shape key after a vowel or a vowel letter, d or D next to its partner key or to
// đ/Đ, and the Escape key itself. Each line is checked against the reader; in the rare spots where an
// unusual key set still makes two neighbours join, an escape or the other spelling of đ/Đ is used.
class TViqrSink : public TSinkBase {
public:
    TViqrSink(const TViqrKeys& keys, const TViqrTable& table, const TViqrIndex& index)
        : FKeys(keys), FTable(&table), FIndex(&index), FCheck(NeedsChecking(keys)) {}

    void Ascii(std::uint8_t b);
    void Letter(int k);
    void Char(char32_t code);
    void TagOpen();
    void TagClose();
    // Writes the line collected since the last call.
    void EndLine();
    static std::string_view LineEnd() { return "\r\n"; }

private:
    struct TItem {
        enum TKind : std::uint8_t { Literal, Letter, Tag } kind;
        bool marked;           // Literal: escaped; Letter Đ/đ: spelled key first
        std::uint32_t value;   // Literal: the byte; Letter: the index; Tag: offset in FTagText
        std::uint32_t length;  // Tag: its length
    };

    // With ordinary keys the escapes chosen by rule are enough; a key set where d, D or "<" is a tone
    // or shape key, or where the Escape key is d or D, has every line read back to make sure.
    static bool NeedsChecking(const TViqrKeys& keys);
    bool Joins(char before, char after) const;
    void ChooseEscapes();
    void Render(std::string& line, std::vector<std::size_t>& starts) const;
    bool ReadsBack(const std::string& line, const std::vector<std::size_t>& starts,
                   std::size_t& firstWrong) const;
    bool Repair(std::size_t wrong);
    void AppendSpelling(std::string& line, const TItem& item) const;

    TViqrKeys FKeys;
    const TViqrTable* FTable;
    const TViqrIndex* FIndex;
    bool FCheck;
    std::vector<TItem> FItems;
    std::string FTagText;
    bool FInTag = false;
    std::string FLine;
    std::vector<std::size_t> FStarts;
};

}  // namespace odz
