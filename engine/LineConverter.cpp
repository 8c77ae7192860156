#include "LineConverter.h"

#include <optional>

#include "LineEnds.h"
#include "TableConverters.h"
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

template <class Sink, class... Args>
std::unique_ptr<TLineConverter> Make(const TConversionSetup& setup, Args&&... sinkArgs) {
    auto general = std::make_unique<TConverter<Sink>>(setup, sinkArgs...);
    if (setup.sourceKind == TEncodingKind::Legacy && !LegacyIndexFor(setup.sourceTable).TwoByte()) {
        return std::make_unique<TByteTableConverter>(setup, Sink(std::forward<Args>(sinkArgs)...),
                                                     std::move(general));
    }
    if (setup.sourceKind == TEncodingKind::Utf8) {
        return std::make_unique<TUtf8TableConverter<Sink>>(setup, Sink(std::forward<Args>(sinkArgs)...),
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
    void ConvertBlock(std::string_view block, TByteBuffer& out) override {
        FConverter.ConvertBlock(block, out);
    }
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
