// Speed of detection on the sample it reads from a file (64 KiB), in several encodings: the corpus of
// bench/corpus converted with the engine. Bytes processed are the sample's bytes.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "EncodingDetector.h"
#include "LineConverter.h"
#include "TextDecoders.h"

namespace {

using namespace odz;

std::string Sample(TEncoding target) {
    std::ifstream in(std::string(ODZ_CORPUS_DIR) + "/maint-guide.txt", std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    TConversionSetup setup;
    setup.sourceKind = TEncodingKind::Utf8;
    setup.targetKind = EncodingInfo(target).kind;
    if (const TVnLetterTable* table = LegacyTableFor(target)) setup.targetTable = *table;
    TByteBuffer out;
    const auto converter = MakeLineConverter(setup);
    if (target == TEncoding::Utf16) {
        converter->ConvertCodePoints(DecodeUtf8Or1252(text), true, out);
    } else {
        converter->ConvertStream(text, true, out);
    }
    return std::string(out.View().substr(0, 64 * 1024));
}

void Detect(benchmark::State& state, TEncoding encoding) {
    const std::string sample = Sample(encoding);
    for (auto _ : state) benchmark::DoNotOptimize(DetectEncoding(sample));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.size()));
}

BENCHMARK_CAPTURE(Detect, viscii, TEncoding::Viscii);
BENCHMARK_CAPTURE(Detect, vps, TEncoding::Vps);
BENCHMARK_CAPTURE(Detect, tcvn1, TEncoding::Tcvn1);
BENCHMARK_CAPTURE(Detect, tcvn2, TEncoding::Tcvn2);
BENCHMARK_CAPTURE(Detect, vni, TEncoding::VniWind);
BENCHMARK_CAPTURE(Detect, ztwin, TEncoding::ZTWin);
BENCHMARK_CAPTURE(Detect, viqr, TEncoding::Viqr);
BENCHMARK_CAPTURE(Detect, ncr, TEncoding::DecimalNcr);
BENCHMARK_CAPTURE(Detect, utf8, TEncoding::Utf8);
BENCHMARK_CAPTURE(Detect, utf16, TEncoding::Utf16);

}  // namespace
