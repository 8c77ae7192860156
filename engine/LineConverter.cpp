#include "LineConverter.h"

#include <cstring>
#include <variant>

#include "TextDecoders.h"
#include "TextSinks.h"
#include "ViqrWriter.h"

namespace odz {

namespace {

// A source decoder with the state it needs.
class TDecoderHolder {
public:
    explicit TDecoderHolder(const TConversionSetup& setup) : FTags(setup.tags) {
        switch (setup.sourceKind) {
            case TEncodingKind::Legacy: {
                const TLegacyIndex& index = LegacyIndexFor(setup.sourceTable);
                if (index.TwoByte()) {
                    FDecoder.emplace<TTwoByteDecoder>(index);
                } else {
                    FDecoder.emplace<TSingleByteDecoder>(index);
                }
                break;
            }
            case TEncodingKind::Viqr:
                FViqrIndex = std::make_unique<TViqrIndex>(MakeViqrTable(setup.keys));
                FDecoder.emplace<TViqrDecoder>(setup.keys, *FViqrIndex);
                break;
            case TEncodingKind::Ncr:
                FDecoder.emplace<TNcrDecoder>();
                break;
            case TEncodingKind::Utf8:
            case TEncodingKind::Utf16:  // UTF-16 lines arrive as code points; this is unused for them
                FDecoder.emplace<TUtf8Decoder>(setup.edhIsDStroke);
                break;
        }
    }

    template <class Sink>
    void Decode(std::string_view line, Sink& sink) const {
        std::visit([&](const auto& decoder) { decoder.Decode(line, FTags, sink); }, FDecoder);
    }

    const TSingleByteDecoder* SingleByte() const { return std::get_if<TSingleByteDecoder>(&FDecoder); }
    bool Tags() const { return FTags; }

private:
    std::unique_ptr<TViqrIndex> FViqrIndex;
    std::variant<TUtf8Decoder, TSingleByteDecoder, TTwoByteDecoder, TViqrDecoder, TNcrDecoder> FDecoder{
        TUtf8Decoder(false)};
    bool FTags;
};

template <class Sink>
class TConverter final : public TLineConverter {
public:
    template <class... Args>
    TConverter(const TConversionSetup& setup, Args&&... sinkArgs)
        : FDecoder(setup), FSink(std::forward<Args>(sinkArgs)...) {}

    void ConvertLine(std::string_view line, std::string& out) override {
        FSink.SetOutput(out);
        FDecoder.Decode(line, FSink);
        FSink.EndLine();
    }
    void ConvertCodePoints(std::u32string_view line, std::string& out) override {
        FSink.SetOutput(out);
        DecodeCodePoints(line, FSink);
        FSink.EndLine();
    }
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
        : FGeneral(std::move(general)), FTags(setup.tags) {
        const TSingleByteDecoder decoder(LegacyIndexFor(setup.sourceTable));
        std::string probe;
        sink.SetOutput(probe);
        for (int inTag = 0; inTag < 2; ++inTag) {
            for (int b = 0; b < 256; ++b) {
                probe.clear();
                const auto before = sink.References();
                decoder.Byte(static_cast<std::uint8_t>(b), inTag != 0, sink);
                TEntry& entry = FEntries[inTag][b];
                entry.length = static_cast<std::uint8_t>(probe.size());
                entry.reference = sink.References() != before;
                std::memcpy(entry.bytes, probe.data(), probe.size());
            }
        }
    }

    void ConvertLine(std::string_view line, std::string& out) override {
        const std::size_t start = out.size();
        out.resize(start + line.size() * kMaxEntry);
        char* write = out.data() + start;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(line.data());
        const std::size_t n = line.size();
        std::size_t i = 0;
        while (i < n) {
            if (bytes[i] == '<' && FTags && StartsTag(line, i)) {
                const std::size_t end = TagEnd(line, i);
                for (; i < end; ++i) write = Put(FEntries[1][bytes[i]], write);
                continue;
            }
            write = Put(FEntries[0][bytes[i]], write);
            ++i;
        }
        out.resize(static_cast<std::size_t>(write - out.data()));
    }
    void ConvertCodePoints(std::u32string_view line, std::string& out) override {
        FGeneral->ConvertCodePoints(line, out);
    }
    std::uint64_t References() const override { return FReferences; }

private:
    static constexpr std::size_t kMaxEntry = 15;
    struct TEntry {
        char bytes[kMaxEntry];
        std::uint8_t length;
        bool reference;
    };
    char* Put(const TEntry& entry, char* write) {
        std::memcpy(write, entry.bytes, kMaxEntry);
        FReferences += entry.reference;
        return write + entry.length;
    }

    TEntry FEntries[2][256]{};
    std::unique_ptr<TLineConverter> FGeneral;
    bool FTags;
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

    void ConvertLine(std::string_view line, std::string& out) override { FConverter.ConvertLine(line, out); }
    void ConvertCodePoints(std::u32string_view line, std::string& out) override {
        FConverter.ConvertCodePoints(line, out);
    }
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
