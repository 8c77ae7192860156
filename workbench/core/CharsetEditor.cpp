#include "CharsetEditor.h"

#include <cctype>

namespace odz {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    if (at + word.size() > text.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(text[at + i]) != word[i]) return false;
    }
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from, std::size_t end) {
    for (std::size_t i = from; i + word.size() <= end; ++i) {
        if (StartsWithNoCase(text, i, word)) return i;
    }
    return std::string_view::npos;
}

// A tag name ends at a blank, "/", ">" or the end of the line.
bool TagNameEnds(std::string_view text, std::size_t at) {
    return at >= text.size() || text[at] == ' ' || text[at] == '\t' || text[at] == '/' || text[at] == '>' ||
           text[at] == '\r' || text[at] == '\n';
}

std::size_t SkipBlanks(std::string_view text, std::size_t at, std::size_t end) {
    while (at < end && (text[at] == ' ' || text[at] == '\t')) ++at;
    return at;
}

bool IsCharsetChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' || c == ':';
}

}  // namespace

std::size_t TCharsetEditor::EditMeta(std::string& line, std::size_t from, std::size_t end) {
    std::size_t at = FindNoCase(line, "charset", from, end);
    if (at == std::string::npos) return end;
    at = SkipBlanks(line, at + 7, end);
    if (at >= end || line[at] != '=') return end;
    at = SkipBlanks(line, at + 1, end);
    if (at < end && (line[at] == '"' || line[at] == '\'')) ++at;
    std::size_t valueEnd = at;
    while (valueEnd < end && IsCharsetChar(line[valueEnd])) ++valueEnd;
    line.replace(at, valueEnd - at, FCharset);
    FSeen = true;
    return end + FCharset.size() - (valueEnd - at);
}

std::size_t TCharsetEditor::EditXml(std::string& line, std::size_t from, std::size_t end) {
    std::size_t at = FindNoCase(line, "encoding", from, end);
    if (at == std::string::npos) return end;
    at = SkipBlanks(line, at + 8, end);
    if (at >= end || line[at] != '=') return end;
    at = SkipBlanks(line, at + 1, end);
    if (at >= end || (line[at] != '"' && line[at] != '\'')) return end;
    const char quote = line[at++];
    const std::size_t close = line.find(quote, at);
    if (close == std::string::npos || close >= end) return end;
    line.replace(at, close - at, FCharset);
    FSeen = true;
    return end + FCharset.size() - (close - at);
}

void TCharsetEditor::EditLine(std::string& line) {
    const auto tagEnd = [&](std::size_t from) {
        const std::size_t close = line.find('>', from);
        return close == std::string::npos ? line.size() : close + 1;
    };
    std::size_t i = 0;
    if (FInMeta) {
        const std::size_t end = tagEnd(0);
        FInMeta = end == line.size() && (line.empty() || line.back() != '>');
        i = EditMeta(line, 0, end);
    }
    while ((i = line.find('<', i)) != std::string::npos) {
        if (StartsWithNoCase(line, i, "<meta") && TagNameEnds(line, i + 5)) {
            const std::size_t end = tagEnd(i);
            FInMeta = end == line.size() && line.back() != '>';
            i = EditMeta(line, i + 5, end);
        } else if (StartsWithNoCase(line, i, "<?xml") && TagNameEnds(line, i + 5)) {
            i = EditXml(line, i + 5, tagEnd(i));
        } else if (StartsWithNoCase(line, i, "<head") && TagNameEnds(line, i + 5)) {
            const std::size_t end = tagEnd(i);
            if (!FAfterHead && line[end - 1] == '>') FAfterHead = FLineOffset + end;
            i = end;
        } else {
            ++i;
        }
    }
}

std::optional<TOutputEditor::TInsertion> TCharsetEditor::Insertion() const {
    if (!FInsert || FSeen || !FAfterHead) return std::nullopt;
    return TInsertion{*FAfterHead, std::string(kUtf8MetaTag)};
}

std::unique_ptr<TCharsetEditor> MakeCharsetEditor(TEncoding source, TEncoding target) {
    const TEncodingKind s = EncodingInfo(source).kind;
    const TEncodingKind t = EncodingInfo(target).kind;
    if (t == TEncodingKind::Ncr || t == TEncodingKind::Utf8)
        return std::make_unique<TCharsetEditor>("UTF-8", true);
    const bool unicodeSource =
        s == TEncodingKind::Ncr || s == TEncodingKind::Utf8 || s == TEncodingKind::Utf16;
    if ((t == TEncodingKind::Legacy || t == TEncodingKind::Viqr) && unicodeSource) {
        return std::make_unique<TCharsetEditor>("windows-1252", false);
    }
    return nullptr;
}

}  // namespace odz
