#include "CharsetEditor.h"

#include <cctype>
#include <cstring>
#include <utility>

namespace odz {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// A tag name ends at a blank, "/", ">" or the end of the line.
bool TagNameEnds(std::string_view text, std::size_t at) {
    return at >= text.size() || text[at] == ' ' || text[at] == '\t' || text[at] == '/' || text[at] == '>' ||
           text[at] == '\r' || text[at] == '\n';
}

bool IsCharsetChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' || c == ':';
}

}  // namespace

void TCharsetEditor::Scan(std::string_view text, std::vector<TEdit>& edits) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (FState == TState::Text) {
            // Only a "<" can start anything: skip to it.
            const void* mark = std::memchr(text.data() + i, '<', text.size() - i);
            if (mark == nullptr) break;
            i = static_cast<std::size_t>(static_cast<const char*>(mark) - text.data());
        }
        Step(text[i], FOffset + i, edits);
        ++i;
    }
    FOffset += text.size();
}

void TCharsetEditor::Step(char c, std::uint64_t offset, std::vector<TEdit>& edits) {
    const bool lineEnd = c == '\r' || c == '\n';
    const std::string_view word = FTag == TTag::Meta ? "charset" : "encoding";
    switch (FState) {
        case TState::Text:
            if (c == '<') {
                FState = TState::TagName;
                FName.clear();
                FNameOffset = offset + 1;
            }
            return;
        case TState::TagName: {
            if (!lineEnd) FName.push_back(c);
            std::string name;
            for (std::size_t i = 0; i < FName.size() && i < 4; ++i) name.push_back(Lower(FName[i]));
            std::optional<TTag> tag;
            for (const auto& [candidate, kind] : {std::pair{std::string_view("meta"), TTag::Meta},
                                                  std::pair{std::string_view("?xml"), TTag::Xml},
                                                  std::pair{std::string_view("head"), TTag::Head}}) {
                if (candidate.substr(0, name.size()) == name) tag = kind;
            }
            const bool named = tag && name.size() == 4;
            if (lineEnd) {
                // The end of the line ends a tag name too.
                if (named) {
                    NameComplete(*tag);
                } else {
                    Replay(edits);
                }
                Step(c, offset, edits);
            } else if (!tag) {
                Replay(edits);
            } else if (FName.size() == 5) {
                if (TagNameEnds(FName, 4)) {
                    NameComplete(*tag);
                    Step(c, offset, edits);  // the blank, "/" or ">" after the name belongs to the tag
                } else {
                    Replay(edits);
                }
            }
            return;
        }
        case TState::Search:
            if (EndOfTag(c)) return;
            if (Lower(c) == word[FMatched]) {
                if (++FMatched == word.size()) FState = TState::BeforeIs;
            } else {
                FMatched = Lower(c) == word[0] ? 1 : 0;
            }
            return;
        case TState::BeforeIs:
            if (c == ' ' || c == '\t') return;
            if (c == '=') {
                FState = TState::AfterIs;
            } else if (!EndOfTag(c)) {
                FState = TState::RestOfTag;
            }
            return;
        case TState::AfterIs:
            if (c == ' ' || c == '\t') return;
            if (FTag == TTag::Xml) {
                if (c == '"' || c == '\'') {
                    FQuote = c;
                    FValueStart = offset + 1;
                    FState = TState::Value;
                } else if (!EndOfTag(c)) {
                    FState = TState::RestOfTag;
                }
                return;
            }
            FState = TState::Value;
            FValueStart = offset;
            if (c == '"' || c == '\'') {
                FValueStart = offset + 1;
                return;
            }
            Step(c, offset, edits);
            return;
        case TState::Value:
            if (FTag == TTag::Xml) {
                if (c == FQuote) {
                    edits.push_back({FValueStart, offset - FValueStart, FCharset});
                    FSeen = true;
                    FState = TState::RestOfTag;
                } else {
                    EndOfTag(c);  // no closing quote in the tag: nothing is changed
                }
                return;
            }
            if (IsCharsetChar(c)) return;
            edits.push_back({FValueStart, offset - FValueStart, FCharset});
            FSeen = true;
            FState = TState::RestOfTag;
            EndOfTag(c);
            return;
        case TState::RestOfTag:
            EndOfTag(c);
            return;
        case TState::Head:
            if (c == '>') {
                if (!FAfterHead) FAfterHead = offset + 1;
                FState = TState::Text;
            } else if (lineEnd) {
                FState = TState::Text;
            }
            return;
    }
}

// At a ">" the tag ends; at the end of a line too, but a meta tag goes on over the next line, which is
// searched afresh. True when the byte ended the tag or the line.
bool TCharsetEditor::EndOfTag(char c) {
    if (c == '>') {
        FState = TState::Text;
        return true;
    }
    if (c != '\r' && c != '\n') return false;
    if (FTag == TTag::Meta) {
        FState = TState::Search;
        FMatched = 0;
    } else {
        FState = TState::Text;
    }
    return true;
}

void TCharsetEditor::NameComplete(TTag tag) {
    FTag = tag;
    FState = tag == TTag::Head ? TState::Head : TState::Search;
    FMatched = 0;
    FName.clear();
}

// The "<" started no tag of interest: the bytes read after it are text again, to be looked at anew.
void TCharsetEditor::Replay(std::vector<TEdit>& edits) {
    const std::string name = std::move(FName);
    const std::uint64_t start = FNameOffset;
    FName.clear();
    FState = TState::Text;
    for (std::size_t i = 0; i < name.size(); ++i) Step(name[i], start + i, edits);
}

std::optional<TOutputEditor::TEdit> TCharsetEditor::Insertion() const {
    if (!FInsert || FSeen || !FAfterHead) return std::nullopt;
    return TEdit{*FAfterHead, 0, std::string(kUtf8MetaTag)};
}

std::unique_ptr<TCharsetEditor> MakeCharsetEditor(TEncoding source, TEncoding target) {
    const TEncodingKind s = EncodingInfo(source).kind;
    const TEncodingKind t = EncodingInfo(target).kind;
    if (t == TEncodingKind::Ncr || t == TEncodingKind::Utf8 || t == TEncodingKind::Utf8Nfd)
        return std::make_unique<TCharsetEditor>("UTF-8", true);
    if (t == TEncodingKind::Cp1258) return std::make_unique<TCharsetEditor>("windows-1258", false);
    const bool unicodeSource = s == TEncodingKind::Ncr || s == TEncodingKind::Utf8 ||
                               s == TEncodingKind::Utf8Nfd || s == TEncodingKind::Utf16;
    if ((t == TEncodingKind::Legacy || t == TEncodingKind::Viqr) && unicodeSource) {
        return std::make_unique<TCharsetEditor>("windows-1252", false);
    }
    return nullptr;
}

}  // namespace odz
