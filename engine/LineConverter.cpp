#include "LineConverter.h"

#include <optional>

#include "CodeTableConverters.h"
#include "Composition.h"
#include "LineEnds.h"
#include "TableConverters.h"
#include "TextDecoders.h"
#include "TextSinks.h"
#include "ViqrSourceConverter.h"
#include "ViqrTableConverter.h"
#include "ViqrWriter.h"

namespace odz {

namespace {

static_assert(kDecodeLookahead < kMaxStreamCarry);

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
            case TEncodingKind::Cp1258:
                break;
            case TEncodingKind::Utf8:
            case TEncodingKind::Utf8Nfd:
            case TEncodingKind::Utf16:  // UTF-16 text arrives as code points; this is unused for it
                FUtf8.emplace(setup.edhIsDStroke);
                break;
        }
    }

    template <class Sink>
    std::size_t Decode(std::string_view line, std::size_t limit, TDecodeState& state, Sink& sink) const {
        switch (FKind) {
            case TEncodingKind::Legacy:
                return FTwoByte ? FTwoByte->Decode(line, limit, FTags, state, sink)
                                : FSingleByte->Decode(line, limit, FTags, state, sink);
            case TEncodingKind::Viqr:
                return FViqr->Decode(line, limit, FTags, state, sink);
            case TEncodingKind::Ncr:
                return TNcrDecoder().Decode(line, limit, FTags, state, sink);
            case TEncodingKind::Cp1258:
                return FCp1258.Decode(line, limit, FTags, state, sink);
            case TEncodingKind::Utf8:
            case TEncodingKind::Utf8Nfd:
            case TEncodingKind::Utf16:
                return FUtf8->Decode(line, limit, FTags, state, sink);
        }
        return limit;
    }

private:
    TEncodingKind FKind;
    bool FTags;
    std::unique_ptr<TViqrIndex> FViqrIndex;
    std::optional<TSingleByteDecoder> FSingleByte;
    std::optional<TTwoByteDecoder> FTwoByte;
    std::optional<TViqrDecoder> FViqr;
    std::optional<TUtf8Decoder> FUtf8;
    TCp1258Decoder FCp1258;
};

template <class Sink>
class TConverter final : public TLineConverter {
public:
    template <class... Args>
    explicit TConverter(const TConversionSetup& setup, Args&&... sinkArgs)
        : FDecoder(setup), FSink(std::forward<Args>(sinkArgs)...) {}

    void ConvertLine(std::string_view line, TByteBuffer& out) override {
        Restart();
        FSink.Begin(out.Reserve(line.size() * kMaxBytesPerInputByte + kLineSlack));
        FDecoder.Decode(line, line.size(), FState, FSink);
        EndDecodedLine(FState, FSink);
        FSink.EndLine();
        out.CommitTo(FSink.End());
    }

    std::size_t ConvertStream(std::string_view piece, bool last, TByteBuffer& out) override {
        FSink.Begin(out.Reserve(piece.size() * kMaxBytesPerInputByte + kLineSlack + FSink.Backlog()));
        const std::size_t n = piece.size();
        std::size_t p = 0;
        if (FSkipLf && n > 0) {
            FSkipLf = false;
            if (piece[0] == '\n') p = 1;
        }
        while (p < n) {
            const auto lineEnd =
                static_cast<std::size_t>(FindLineEnd(piece.data() + p, piece.data() + n) - piece.data());
            if (lineEnd == n) {
                // The line goes on in the next piece: leave what may still depend on it.
                const std::size_t rest = n - p;
                const std::size_t limit =
                    last ? rest : (rest > kDecodeLookahead ? rest - kDecodeLookahead : 0);
                const std::size_t used = FDecoder.Decode(piece.substr(p), limit, FState, FSink);
                FLineOpen = FLineOpen || used > 0;
                p += used;
                break;
            }
            FDecoder.Decode(piece.substr(p, lineEnd - p), lineEnd - p, FState, FSink);
            FinishLine();
            p = lineEnd + 1;
            if (piece[lineEnd] == '\r') {
                if (p < n) {
                    if (piece[p] == '\n') ++p;
                } else {
                    FSkipLf = !last;
                }
            }
        }
        if (last) {
            if (FLineOpen) FinishLine();
            FSkipLf = false;
        }
        out.CommitTo(FSink.End());
        return p;
    }

    void ConvertCodePoints(std::u32string_view piece, bool last, TByteBuffer& out) override {
        FSink.Begin(out.Reserve(piece.size() * kMaxBytesPerCodePoint + kLineSlack + FSink.Backlog()));
        for (const char32_t code : piece) {
            if (code == U'\n') {
                FinishLine();
            } else {
                detail::EmitCodePoint(code, false, FSink);
                FLineOpen = true;
            }
        }
        if (last && FLineOpen) FinishLine();
        out.CommitTo(FSink.End());
    }

    void Restart() override {
        FState = {};
        FSink.Reset();
        FSkipLf = false;
        FLineOpen = false;
    }
    std::string_view LineEnd() const override { return Sink::LineEnd(); }
    std::uint64_t References() const override { return FSink.References(); }

private:
    void FinishLine() {
        EndDecodedLine(FState, FSink);
        FSink.EndLine();
        FSink.Raw(Sink::LineEnd());
        FLineOpen = false;
    }

    TDecoderHolder FDecoder;
    Sink FSink;
    TDecodeState FState;
    bool FSkipLf = false;    // a CR ended the last piece: an LF at the start of the next one belongs to it
    bool FLineOpen = false;  // bytes of the current line have been converted
};

// The converter that calls a decoder and a sink for every character.
template <class Sink, class... Args>
std::unique_ptr<TLineConverter> General(const TConversionSetup& setup, Args&&... sinkArgs) {
    if (setup.compose) return std::make_unique<TConverter<TComposingSink<Sink>>>(setup, sinkArgs...);
    return std::make_unique<TConverter<Sink>>(setup, sinkArgs...);
}

template <class Sink, class... Args>
std::unique_ptr<TLineConverter> Make(bool tables, const TConversionSetup& setup, Args&&... sinkArgs) {
    auto general = General<Sink>(setup, sinkArgs...);
    if (!tables) return general;
    if (setup.sourceKind == TEncodingKind::Legacy || setup.sourceKind == TEncodingKind::Cp1258) {
        return std::make_unique<TByteTableConverter>(setup, Sink(std::forward<Args>(sinkArgs)...),
                                                     std::move(general));
    }
    if (setup.sourceKind == TEncodingKind::Utf8) {
        return std::make_unique<TUtf8TableConverter<Sink>>(setup, Sink(std::forward<Args>(sinkArgs)...),
                                                           std::move(general));
    }
    if (setup.sourceKind == TEncodingKind::Viqr && TViqrSourceConverter<Sink>::Serves(setup.keys)) {
        return std::make_unique<TViqrSourceConverter<Sink>>(setup, Sink(std::forward<Args>(sinkArgs)...),
                                                            std::move(general));
    }
    if (setup.sourceKind == TEncodingKind::Ncr) {
        return std::make_unique<TUtf8TableConverter<Sink, true>>(setup, Sink(std::forward<Args>(sinkArgs)...),
                                                                 std::move(general));
    }
    if (setup.sourceKind == TEncodingKind::Utf16) {
        return std::make_unique<TUtf16TableConverter<Sink>>(setup, Sink(std::forward<Args>(sinkArgs)...),
                                                            std::move(general));
    }
    return general;
}

// The VIQR writer keeps the table and the index it spells with. Key sets that could make the plain
// escape rule write something the reader joins differently get the writer that reads its output back.
class TViqrConverter final : public TLineConverter {
public:
    TViqrConverter(bool tables, const TConversionSetup& setup)
        : FTable(MakeViqrTable(setup.keys)), FIndex(FTable), FWriting(setup.keys, FTable) {
        if (TCheckedViqrSink::Needed(setup.keys)) {
            FConverter = General<TCheckedViqrSink>(setup, setup.keys, FTable, FIndex);
        } else if (tables && ViqrTablesServe(setup)) {
            FConverter = MakeViqrTableConverter(setup, FWriting, General<TViqrSink>(setup, FWriting));
        } else {
            FConverter = General<TViqrSink>(setup, FWriting);
        }
    }

    void ConvertLine(std::string_view line, TByteBuffer& out) override { FConverter->ConvertLine(line, out); }
    std::size_t ConvertStream(std::string_view piece, bool last, TByteBuffer& out) override {
        return FConverter->ConvertStream(piece, last, out);
    }
    void ConvertCodePoints(std::u32string_view piece, bool last, TByteBuffer& out) override {
        FConverter->ConvertCodePoints(piece, last, out);
    }
    void Restart() override { FConverter->Restart(); }
    std::string_view LineEnd() const override { return FConverter->LineEnd(); }
    std::uint64_t References() const override { return FConverter->References(); }

private:
    TViqrTable FTable;
    TViqrIndex FIndex;
    TViqrWriting FWriting;
    std::unique_ptr<TLineConverter> FConverter;
};

}  // namespace

bool JoinsMarks(const TConversionSetup& setup) {
    const TEncodingKind s = setup.sourceKind;
    const TEncodingKind t = setup.targetKind;
    if (s == TEncodingKind::Legacy || s == TEncodingKind::Viqr) return false;
    if (setup.compose || s == TEncodingKind::Cp1258 || s == TEncodingKind::Utf8Nfd) return true;
    return t != TEncodingKind::Utf8 && t != TEncodingKind::Utf16 && t != TEncodingKind::Ncr;
}

bool TakesUtf16Units(const TConversionSetup& setup) {
    return setup.sourceKind == TEncodingKind::Utf16 &&
           (setup.targetKind != TEncodingKind::Viqr || ViqrTablesServe(setup));
}

namespace {

std::unique_ptr<TLineConverter> MakeConverter(const TConversionSetup& given, bool tables) {
    // Composite UTF-8 is read as UTF-8, with the marks joined.
    TConversionSetup setup = given;
    setup.compose = JoinsMarks(given);
    if (setup.sourceKind == TEncodingKind::Utf8Nfd) setup.sourceKind = TEncodingKind::Utf8;
    switch (setup.targetKind) {
        case TEncodingKind::Viqr:
            return std::make_unique<TViqrConverter>(tables, setup);
        case TEncodingKind::Legacy:
            return Make<TLegacySink>(tables, setup, setup.targetTable);
        case TEncodingKind::Ncr:
            return Make<TNcrSink>(tables, setup);
        case TEncodingKind::Utf8:
            return Make<TUtf8Sink>(tables, setup);
        case TEncodingKind::Utf16:
            return Make<TUtf16Sink>(tables, setup);
        case TEncodingKind::Cp1258:
            return Make<TCp1258Sink>(tables, setup);
        case TEncodingKind::Utf8Nfd:
            return Make<TUtf8NfdSink>(tables, setup);
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<TLineConverter> MakeLineConverter(const TConversionSetup& setup) {
    return MakeConverter(setup, true);
}

std::unique_ptr<TLineConverter> MakeCharacterLineConverter(const TConversionSetup& setup) {
    return MakeConverter(setup, false);
}

}  // namespace odz
