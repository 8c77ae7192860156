#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Encodings.h"
#include "FileJob.h"

namespace odz {

// Keeps a web page's charset declaration true to the bytes written: only the value inside a <meta ...>
// tag (or the encoding of an XML declaration) changes, the rest of the line stays. A page without any
// declaration but with a <head> tag can get a meta tag right after that tag. Text without such markup
// is never changed.
//
// The converted text is read byte by byte as it comes, in pieces cut anywhere; the editor remembers
// only where it stands in a tag, so a declaration is found in a line of any length. Lines end with
// CR LF; a tag ends at its ">" or with its line, except that a <meta tag may go on over several lines.
class TCharsetEditor : public TOutputEditor {
public:
    TCharsetEditor(std::string charset, bool insertWhenMissing)
        : FCharset(std::move(charset)), FInsert(insertWhenMissing) {}

    void Scan(std::string_view text, std::vector<TEdit>& edits) override;
    std::optional<TEdit> Insertion() const override;
    std::optional<std::uint64_t> Pending() const override {
        return FState == TState::Value ? std::optional(FValueStart) : std::nullopt;
    }

private:
    enum class TState : std::uint8_t {
        Text,       // looking for "<"
        TagName,    // after "<": is it meta, ?xml or head?
        Search,     // in a meta or XML tag, looking for "charset" or "encoding"
        BeforeIs,   // after the word: blanks, then "="
        AfterIs,    // after "=": blanks, then the value (XML: its quote)
        Value,      // in the value
        RestOfTag,  // nothing more to do in this tag
        Head,       // in a head tag, looking for its ">"
    };
    enum class TTag : std::uint8_t { Meta, Xml, Head };

    void Step(char c, std::uint64_t offset, std::vector<TEdit>& edits);
    void NameComplete(TTag tag);
    bool EndOfTag(char c);
    void Replay(std::vector<TEdit>& edits);

    std::string FCharset;
    bool FInsert;
    bool FSeen = false;
    std::uint64_t FOffset = 0;  // offset of the next byte in the converted text
    std::optional<std::uint64_t> FAfterHead;

    TState FState = TState::Text;
    TTag FTag = TTag::Meta;
    std::string FName;  // the bytes after "<" while the tag's name is being read
    std::uint64_t FNameOffset = 0;
    std::size_t FMatched = 0;  // bytes of the searched word matched so far
    char FQuote = 0;           // the XML value's quote
    std::uint64_t FValueStart = 0;
};

// The editor a conversion needs: UTF-8 for reference and UTF-8 targets; windows-1258 for Windows-1258
// targets; windows-1252 for legacy and VIQR targets written from Unicode sources; none otherwise (a
// Windows-1258 source counts as a legacy one).
std::unique_ptr<TCharsetEditor> MakeCharsetEditor(TEncoding source, TEncoding target);

// The meta tag inserted into a page that declares no charset.
inline constexpr std::string_view kUtf8MetaTag =
    R"(<meta http-equiv="Content-Type" content="text/html; charset=UTF-8">)";

}  // namespace odz
