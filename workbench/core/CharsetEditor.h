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
class TCharsetEditor : public TOutputEditor {
public:
    TCharsetEditor(std::string charset, bool insertWhenMissing)
        : FCharset(std::move(charset)), FInsert(insertWhenMissing) {}

    void EditLine(std::string& line) override;
    void SetLineOffset(std::uint64_t offset) override { FLineOffset = offset; }
    std::optional<TInsertion> Insertion() const override;
    bool Continues() const override { return FInMeta; }
    bool DeclarationSeen() const { return FSeen; }

private:
    std::size_t EditMeta(std::string& line, std::size_t from, std::size_t end);
    std::size_t EditXml(std::string& line, std::size_t from, std::size_t end);

    std::string FCharset;
    bool FInsert;
    bool FSeen = false;
    bool FInMeta = false;  // a <meta tag continues on the next line
    std::uint64_t FLineOffset = 0;
    std::optional<std::uint64_t> FAfterHead;
};

// The editor a conversion needs: UTF-8 for reference and UTF-8 targets; windows-1252 for legacy and
// VIQR targets written from Unicode sources; none otherwise.
std::unique_ptr<TCharsetEditor> MakeCharsetEditor(TEncoding source, TEncoding target);

// The meta tag inserted into a page that declares no charset.
inline constexpr std::string_view kUtf8MetaTag =
    R"(<meta http-equiv="Content-Type" content="text/html; charset=UTF-8">)";

}  // namespace odz
