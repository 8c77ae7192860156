#include "LineConverter.h"

#include <optional>

#include "LineEnds.h"
#include "TextDecoders.h"
#include "TextSinks.h"
#include "ViqrWriter.h"

namespace odz {

namespace {

// A source decoder with the state it needs.
class TDecoderHolder {
public:
    explicit TDecoderHolder(const TConversionSetup& setup) : FKind(setup.sourceKind), FTags(setup.tags) {
        switch (setup.sourceKind) {
            case TEncodingKind::Legacy: {
                const TLegacyIndex& index = LegacyIndexFor(setup.sourceTable);
                if (index.TwoByte()) {
                    FTwoByte.emplace(index);
                } else {
                    FSingleByte.emplace(index);
                }
                break;
            }
            case TEncodingKind::Viqr:
                FViqrIndex = std::make_unique<TViqrIndex>(MakeViqrTable(setup.keys));
                FViqr.emplace(setup.keys, *FViqrIndex);
                break;
            case TEncodingKind::Ncr:
                break;
            case TEncodingKind::Utf8:
            case TEncodingKind::Utf16:  // UTF-16 lines arrive as code points; this is unused for them
                FUtf8.emplace(setup.edhIsDStroke);
                break;
        }
    }

    template <class Sink>
    void Decode(std::string_view line, Sink& sink) const {
        switch (FKind) {
            case TEncodingKind::Legacy:
                if (FTwoByte) {
                    FTwoByte->Decode(line, FTags, sink);
                } else {
                    FSingleByte->Decode(line, FTags, sink);
                }
                break;
            case TEncodingKind::Viqr:
                FViqr->Decode(line, FTags, sink);
                break;
            case TEncodingKind::Ncr:
                TNcrDecoder().Decode(line, FTags, sink);
                break;
            case TEncodingKind::Utf8:
            case TEncodingKind::Utf16:
                FUtf8->Decode(line, FTags, sink);
                break;
        }
    }

private:
    TEncodingKind FKind;
    bool FTags;
    std::unique_ptr<TViqrIndex> FViqrIndex;
    std::optional<TSingleByteDecoder> FSingleByte;
    std::optional<TTwoByteDecoder> FTwoByte;
    std::optional<TViqrDecoder> FViqr;
    std::optional<TUtf8Decoder> FUtf8;
};

// Splits a block into lines and hands each to the converter with the target's line end after it.
template <class Converter>
void ConvertLines(Converter& converter, std::string_view block, TByteBuffer& out) {
    const char* p = block.data();
    const char* end = p + block.size();
    while (p < end) {
        const char* lineEnd = FindLineEnd(p, end);
        converter.ConvertLine(std::string_view(p, static_cast<std::size_t>(lineEnd - p)), out);
        out.Append(converter.LineEnd());
        if (lineEnd == end) break;
        p = SkipLineEnd(lineEnd, end);
    }
}

template <class Sink>
class TConverter final : public TLineConverter {
public:
    template <class... Args>
    explicit TConverter(const TConversionSetup& setup, Args&&... sinkArgs)
        : FDecoder(setup), FSink(std::forward<Args>(sinkArgs)...) {}

    void ConvertLine(std::string_view line, TByteBuffer& out) override {
        FSink.Begin(out.Reserve(line.size() * kMaxBytesPerInputByte + kLineSlack));
        FDecoder.Decode(line, FSink);
        FSink.EndLine();
        out.CommitTo(FSink.End());
    }
    void ConvertBlock(std::string_view block, TByteBuffer& out) override { ConvertLines(*this, block, out); }
    void ConvertCodePoints(std::u32string_view line, TByteBuffer& out) override {
        FSink.Begin(out.Reserve(line.size() * kMaxBytesPerCodePoint + kLineSlack));
        DecodeCodePoints(line, FSink);
        FSink.EndLine();
        out.CommitTo(FSink.End());
    }
    std::string_view LineEnd() const override { return Sink::LineEnd(); }
    std::uint64_t References() const override { return FSink.References(); }

private:
    TDecoderHolder FDecoder;
    Sink FSink;
};

// Single-byte sources into a target that writes each character on its own: every byte's output is
// worked out once, in text and inside tags, and the conversion becomes a table walk.
class TByteTableConverter final : public TLineConverter {
public:
    template <class Sink>
    TByteTableConverter(const TConversionSetup& setup, Sink sink, std::unique_ptr<TLineConverter> general)
        : FGeneral(std::move(general)), FLineEnd(Sink::LineEnd()) {
        const TSingleByteDecoder decoder(LegacyIndexFor(setup.sourceTable));
        char probe[kMaxBytesPerInputByte + kLineSlack];
        for (int inTag = 0; inTag < 2; ++inTag) {
            for (int b = 0; b < 256; ++b) {
                const auto before = sink.References();
                sink.Begin(probe);
                decoder.Byte(static_cast<std::uint8_t>(b), inTag != 0, sink);
                TEntry& entry = FEntries[inTag][b];
                entry.length = static_cast<std::uint8_t>(sink.End() - probe);
                entry.reference = static_cast<std::uint8_t>(sink.References() - before);
                std::memcpy(entry.bytes, probe, entry.length);
            }
            // Bytes the walk must look at itself.
            FEntries[inTag]['\r'].special = FEntries[inTag]['\n'].special = true;
            if (setup.tags) FEntries[inTag][static_cast<std::uint8_t>(inTag ? '>' : '<')].special = true;
        }
    }

    void ConvertLine(std::string_view line, TByteBuffer& out) override { Walk(line, out, false); }
    void ConvertBlock(std::string_view block, TByteBuffer& out) override { Walk(block, out, true); }
    void ConvertCodePoints(std::u32string_view line, TByteBuffer& out) override {
        FGeneral->ConvertCodePoints(line, out);
    }
    std::string_view LineEnd() const override { return FLineEnd; }
    std::uint64_t References() const override { return FReferences; }

private:
    struct TEntry {
        char bytes[14];
        std::uint8_t length;
        std::uint8_t reference : 1;
        std::uint8_t special : 1;
    };
    static_assert(sizeof(TEntry) == 16);

    // Converts text; with lines, CR and LF end lines, otherwise they are characters like others.
    void Walk(std::string_view text, TByteBuffer& out, bool lines) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto* end = p + text.size();
        char* w = out.Reserve(text.size() * sizeof(TEntry) + FLineEnd.size() + kLineSlack);
        std::uint64_t references = 0;
        const TEntry* table = FEntries[0];
        bool lineOpen = false;
        while (p < end) {
            const TEntry& entry = table[*p];
            if (!entry.special) {
                std::memcpy(w, &entry, sizeof(TEntry));
                w += entry.length;
                references += entry.reference;
                ++p;
                lineOpen = true;
                continue;
            }
            const std::uint8_t c = *p;
            if ((c == '\r' || c == '\n') && lines) {
                std::memcpy(w, FLineEnd.data(), FLineEnd.size());
                w += FLineEnd.size();
                p += (c == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
                table = FEntries[0];  // a tag ends with its line
                lineOpen = false;
                continue;
            }
            lineOpen = true;
            // "<" and ">" are written alike in text and in tags; then the table changes.
            const TEntry& plain = table[c];
            std::memcpy(w, plain.bytes, sizeof(plain.bytes));
            w += plain.length;
            references += plain.reference;
            ++p;
            if (c == '<' && table == FEntries[0]) {
                const bool tag = p < end && ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || *p == '/' ||
                                             *p == '!' || *p == '?');
                if (tag) table = FEntries[1];
            } else if (c == '>' && table == FEntries[1]) {
                table = FEntries[0];
            }
        }
        if (lines && lineOpen) {
            std::memcpy(w, FLineEnd.data(), FLineEnd.size());
            w += FLineEnd.size();
        }
        out.CommitTo(w);
        FReferences += references;
    }

    TEntry FEntries[2][256]{};
    std::unique_ptr<TLineConverter> FGeneral;
    std::string_view FLineEnd;
    std::uint64_t FReferences = 0;
};

template <class Sink, class... Args>
std::unique_ptr<TLineConverter> Make(const TConversionSetup& setup, Args&&... sinkArgs) {
    auto general = std::make_unique<TConverter<Sink>>(setup, sinkArgs...);
    if (setup.sourceKind == TEncodingKind::Legacy && !LegacyIndexFor(setup.sourceTable).TwoByte()) {
        return std::make_unique<TByteTableConverter>(setup, Sink(std::forward<Args>(sinkArgs)...),
                                                     std::move(general));
    }
    return general;
}

// The VIQR writer keeps the table and the index it spells with.
class TViqrConverter final : public TLineConverter {
public:
    explicit TViqrConverter(const TConversionSetup& setup)
        : FTable(MakeViqrTable(setup.keys)), FIndex(FTable), FConverter(setup, setup.keys, FTable, FIndex) {}

    void ConvertLine(std::string_view line, TByteBuffer& out) override { FConverter.ConvertLine(line, out); }
    void ConvertBlock(std::string_view block, TByteBuffer& out) override { FConverter.ConvertBlock(block, out); }
    void ConvertCodePoints(std::u32string_view line, TByteBuffer& out) override {
        FConverter.ConvertCodePoints(line, out);
    }
    std::string_view LineEnd() const override { return FConverter.LineEnd(); }
    std::uint64_t References() const override { return FConverter.References(); }

private:
    TViqrTable FTable;
    TViqrIndex FIndex;
    TConverter<TViqrSink> FConverter;
};

}  // namespace

std::unique_ptr<TLineConverter> MakeLineConverter(const TConversionSetup& setup) {
    switch (setup.targetKind) {
        case TEncodingKind::Viqr:
            return std::make_unique<TViqrConverter>(setup);
        case TEncodingKind::Legacy:
            return Make<TLegacySink>(setup, setup.targetTable);
        case TEncodingKind::Ncr:
            return Make<TNcrSink>(setup);
        case TEncodingKind::Utf8:
            return Make<TUtf8Sink>(setup);
        case TEncodingKind::Utf16:
            return Make<TUtf16Sink>(setup);
    }
    return nullptr;
}

}  // namespace odz
