// Throughput of the engine's per-line routines on ordinary Vietnamese prose.
//
// The text is written here in UTF-8 and converted to each source encoding with the engine itself; the
// converted text is broken at spaces into lines of at most 80 bytes in that encoding. One benchmark
// iteration converts every line of the batch (a few KB), and the bytes processed are the source bytes.
//
// Two families of cases:
//   Routine/...    the TRaRaru calls the window and the scripts use (ConvertToOther, Convert8To7, ...)
//   Converter/...  the same conversions straight through a TLineConverter, line by line; the
//                  difference is what the per-call bookkeeping of the routines costs.
//   Stream/...     a block of a quarter of a megabyte of the lines (CR LF after each) through
//                  ConvertStream, as a file conversion runs it: the table walk without the calls per line.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Encodings.h"
#include "LineConverter.h"
#include "TRaRaru.h"

namespace {

namespace fs = std::filesystem;

// Ordinary prose with many diacritics, capitals with marks included.
constexpr std::string_view kProse[] = {
    "Hà Nội mùa thu, những con phố nhỏ rợp bóng cây, gió heo may thổi nhẹ qua mặt hồ Gươm.",
    "Người bán hàng rong đội nón lá, gánh trên vai những thúng cốm xanh thơm mùi lúa non.",
    "Buổi sáng sớm, các cụ già tập thể dục bên bờ hồ, còn trẻ em vội vã đến trường.",
    "Tiếng Việt có sáu thanh điệu: ngang, huyền, sắc, hỏi, ngã và nặng; mỗi thanh đổi nghĩa của từ.",
    "Đường về quê ngoại quanh co giữa những cánh đồng lúa chín vàng, xa xa là dãy núi mờ sương.",
    "Chúng tôi dừng lại bên quán nước ven đường, uống chén trà xanh nóng hổi và nghe ông lão kể chuyện "
    "ngày xưa.",
    "Ở miền Nam, chợ nổi trên sông Cửu Long họp từ lúc trời chưa sáng, thuyền chở đầy dưa hấu, xoài, "
    "chuối và khóm.",
    "Những ước mơ giản dị của người nông dân là được mùa, con cháu khỏe mạnh và học hành đến nơi đến "
    "chốn.",
    "Quyển sách cũ ấy đã theo ông suốt những năm tháng chiến tranh, giờ giấy đã ngả màu nhưng chữ vẫn "
    "còn rõ.",
    "Ỷ lại vào người khác thì chẳng bao giờ nên người, bà thường dặn dò như thế mỗi khi cả nhà quây quần "
    "bên mâm cơm.",
    "Ánh trăng rằm soi xuống dòng sông Hương, tiếng hò mái đẩy vọng lại từ một chiếc đò nhỏ.",
    "Ông Độ kể rằng năm ấy lũ lớn, nước ngập đến tận mái hiên, cả xóm phải dắt díu nhau lên đồi.",
};

// How many times the prose is repeated in one batch (about 1 KB of UTF-8 each time).
constexpr int kRepeats = 3;

constexpr std::string_view kUtf8 = "Unicode UTF-8";
constexpr std::string_view kViscii = "VISCII";
constexpr std::string_view kTcvn1 = "TCVN1";
constexpr std::string_view kVniWind = "VNIWind";
constexpr std::string_view kViqr = "VIQR";
constexpr std::string_view kNcr = "Decimal NCR UTF-8";

// Breaks a text at spaces into lines of at most width bytes (a word longer than that stays whole).
// A space is byte 20 hex in every encoding here and in none of their multi-byte codes.
std::vector<std::string> WrapAtSpaces(std::string_view text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = text.find(' ', i);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view word = text.substr(i, end - i);
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(std::move(line));
            line.clear();
        }
        if (!line.empty()) line.push_back(' ');
        line.append(word);
        i = end + 1;
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// An engine with the default VIQR keys; the settings file does not exist, so nothing is read.
std::unique_ptr<odz::TRaRaru> MakeEngine() {
    const fs::path settings = fs::temp_directory_path() / "odz-bench-no-such-folder" / "odizodoruz.ini";
    auto engine = std::make_unique<odz::TRaRaru>(settings);
    engine->RaRaruCreate();
    engine->BuildViqrTable();
    return engine;
}

// The prose of one batch in UTF-8, one paragraph per string.
std::vector<std::string> Utf8Paragraphs() {
    std::vector<std::string> paragraphs;
    for (int r = 0; r < kRepeats; ++r) {
        for (const std::string_view sentence : kProse) paragraphs.emplace_back(sentence);
    }
    return paragraphs;
}

// The batch in the given encoding, as lines of at most 80 bytes. The text is checked to come back to
// the same UTF-8 so that every case converts real letters, not references.
std::vector<std::string> BatchIn(odz::TRaRaru& engine, std::string_view encoding) {
    std::vector<std::string> lines;
    for (const std::string& paragraph : Utf8Paragraphs()) {
        std::string encoded;
        std::string back;
        if (encoding == kUtf8) {
            encoded = paragraph;
        } else {
            engine.ConvertUTF8toOther(paragraph, encoding, false, encoded);
        }
        if (encoding == kViqr) {
            engine.Convert7To8(encoded, kUtf8, false, back);
        } else if (encoding == kNcr) {
            engine.ConvertHTMLUnicodeToOther(encoded, kUtf8, false, back);
        } else if (encoding == kUtf8) {
            back = encoded;
        } else {
            engine.SetSourceEncode(encoding);
            engine.ConvertToOther(encoded, kUtf8, false, back);
        }
        if (back != paragraph) {
            throw std::runtime_error("the prose does not survive a trip through " + std::string(encoding));
        }
        for (std::string& line : WrapAtSpaces(encoded, 80)) lines.push_back(std::move(line));
    }
    return lines;
}

std::int64_t TotalBytes(const std::vector<std::string>& lines) {
    std::int64_t total = 0;
    for (const std::string& line : lines) total += static_cast<std::int64_t>(line.size());
    return total;
}

// Runs the routine over every line of the batch in each iteration.
template <class Routine>
void RunBatch(benchmark::State& state, const std::vector<std::string>& lines, Routine&& routine) {
    std::string dest;
    for (auto _ : state) {
        for (const std::string& line : lines) {
            routine(line, dest);
            benchmark::DoNotOptimize(dest.data());
            benchmark::ClobberMemory();
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * TotalBytes(lines));
    state.counters["lines"] = static_cast<double>(lines.size());
    state.counters["batch_bytes"] = static_cast<double>(TotalBytes(lines));
}

// Makes the engine and the source text once per case; errors are reported instead of benchmarked.
class LineRoutines : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State&) override { engine = MakeEngine(); }
    void TearDown(const benchmark::State&) override { engine.reset(); }

protected:
    bool Prepare(benchmark::State& state, std::string_view sourceEncoding) {
        try {
            lines = BatchIn(*engine, sourceEncoding);
        } catch (const std::exception& failure) {
            state.SkipWithError(failure.what());
            return false;
        }
        return true;
    }

    // The lines in the source encoding and the converter a file conversion of a plain text file uses;
    // null, with the error reported, when there is none.
    std::unique_ptr<odz::TLineConverter> PrepareConverter(benchmark::State& state, std::string_view source,
                                                          std::string_view target) {
        if (!Prepare(state, source)) return nullptr;
        const auto from = odz::EncodingByIdentifier(source);
        const auto to = odz::EncodingByIdentifier(target);
        if (!from || !to) {
            state.SkipWithError("unknown encoding");
            return nullptr;
        }
        return odz::MakeLineConverter(engine->FileSetup(*from, *to, false, "Vietnamese prose.txt"));
    }

    // The lines straight through one converter.
    void RunConverter(benchmark::State& state, std::string_view source, std::string_view target) {
        const auto converter = PrepareConverter(state, source, target);
        if (!converter) return;
        odz::TByteBuffer out;
        RunBatch(state, lines, [&](const std::string& line, std::string&) {
            out.Clear();
            converter->ConvertLine(line, out);
        });
    }

    // One block of a file through ConvertStream per iteration.
    void RunStream(benchmark::State& state, std::string_view source, std::string_view target) {
        const auto converter = PrepareConverter(state, source, target);
        if (!converter) return;
        std::string block;
        while (block.size() < (1u << 18)) {
            for (const std::string& line : lines) block.append(line).append("\r\n");
        }
        odz::TByteBuffer out;
        for (auto _ : state) {
            out.Clear();
            converter->Restart();
            converter->ConvertStream(block, true, out);
            benchmark::DoNotOptimize(out.View().data());
            benchmark::ClobberMemory();
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                                static_cast<std::int64_t>(block.size()));
    }

    std::unique_ptr<odz::TRaRaru> engine;
    std::vector<std::string> lines;
};

// ---- The TRaRaru routines ------------------------------------------------------------------------

BENCHMARK_F(LineRoutines, Routine_VISCII_to_UTF8)(benchmark::State& state) {
    if (!Prepare(state, kViscii)) return;
    engine->SetSourceEncode(kViscii);
    RunBatch(state, lines, [&](const std::string& line, std::string& dest) {
        engine->ConvertToOther(line, kUtf8, false, dest);
    });
}

BENCHMARK_F(LineRoutines, Routine_TCVN1_to_UTF8)(benchmark::State& state) {
    if (!Prepare(state, kTcvn1)) return;
    engine->SetSourceEncode(kTcvn1);
    RunBatch(state, lines, [&](const std::string& line, std::string& dest) {
        engine->ConvertToOther(line, kUtf8, false, dest);
    });
}

BENCHMARK_F(LineRoutines, Routine_UTF8_to_VISCII)(benchmark::State& state) {
    if (!Prepare(state, kUtf8)) return;
    RunBatch(state, lines, [&](const std::string& line, std::string& dest) {
        engine->ConvertUTF8toOther(line, kViscii, false, dest);
    });
}

BENCHMARK_F(LineRoutines, Routine_VNIWind_to_UTF8)(benchmark::State& state) {
    if (!Prepare(state, kVniWind)) return;
    engine->SetSourceEncode(kVniWind);
    RunBatch(state, lines, [&](const std::string& line, std::string& dest) {
        engine->ConvertToOther(line, kUtf8, false, dest);
    });
}

BENCHMARK_F(LineRoutines, Routine_VISCII_to_VIQR)(benchmark::State& state) {
    if (!Prepare(state, kViscii)) return;
    // The second argument of Convert8To7 names the source.
    RunBatch(state, lines, [&](const std::string& line, std::string& dest) {
        engine->Convert8To7(line, kViscii, false, dest);
    });
}

BENCHMARK_F(LineRoutines, Routine_VIQR_to_UTF8)(benchmark::State& state) {
    if (!Prepare(state, kViqr)) return;
    RunBatch(state, lines, [&](const std::string& line, std::string& dest) {
        engine->Convert7To8(line, kUtf8, false, dest);
    });
}

BENCHMARK_F(LineRoutines, Routine_UTF8_to_NCR)(benchmark::State& state) {
    if (!Prepare(state, kUtf8)) return;
    RunBatch(state, lines, [&](const std::string& line, std::string& dest) {
        engine->ConvertUTF8toOther(line, kNcr, false, dest);
    });
}

// ---- The same conversions through one TLineConverter ---------------------------------------------

BENCHMARK_F(LineRoutines, Converter_VISCII_to_UTF8)(benchmark::State& state) {
    RunConverter(state, kViscii, kUtf8);
}
BENCHMARK_F(LineRoutines, Converter_TCVN1_to_UTF8)(benchmark::State& state) {
    RunConverter(state, kTcvn1, kUtf8);
}
BENCHMARK_F(LineRoutines, Converter_UTF8_to_VISCII)(benchmark::State& state) {
    RunConverter(state, kUtf8, kViscii);
}
BENCHMARK_F(LineRoutines, Converter_VNIWind_to_UTF8)(benchmark::State& state) {
    RunConverter(state, kVniWind, kUtf8);
}
BENCHMARK_F(LineRoutines, Converter_VISCII_to_VIQR)(benchmark::State& state) {
    RunConverter(state, kViscii, kViqr);
}
BENCHMARK_F(LineRoutines, Converter_VIQR_to_UTF8)(benchmark::State& state) {
    RunConverter(state, kViqr, kUtf8);
}
BENCHMARK_F(LineRoutines, Converter_UTF8_to_NCR)(benchmark::State& state) {
    RunConverter(state, kUtf8, kNcr);
}

// ---- A block of a file through one TLineConverter ------------------------------------------------

BENCHMARK_F(LineRoutines, Stream_VISCII_to_UTF8)(benchmark::State& state) {
    RunStream(state, kViscii, kUtf8);
}
BENCHMARK_F(LineRoutines, Stream_TCVN1_to_UTF8)(benchmark::State& state) {
    RunStream(state, kTcvn1, kUtf8);
}
BENCHMARK_F(LineRoutines, Stream_UTF8_to_VISCII)(benchmark::State& state) {
    RunStream(state, kUtf8, kViscii);
}
BENCHMARK_F(LineRoutines, Stream_UTF8_to_TCVN1)(benchmark::State& state) {
    RunStream(state, kUtf8, kTcvn1);
}
BENCHMARK_F(LineRoutines, Stream_VNIWind_to_UTF8)(benchmark::State& state) {
    RunStream(state, kVniWind, kUtf8);
}
BENCHMARK_F(LineRoutines, Stream_VIQR_to_UTF8)(benchmark::State& state) {
    RunStream(state, kViqr, kUtf8);
}
BENCHMARK_F(LineRoutines, Stream_UTF8_to_NCR)(benchmark::State& state) {
    RunStream(state, kUtf8, kNcr);
}
BENCHMARK_F(LineRoutines, Stream_UTF8_to_VIQR)(benchmark::State& state) {
    RunStream(state, kUtf8, kViqr);
}
BENCHMARK_F(LineRoutines, Stream_NCR_to_VIQR)(benchmark::State& state) {
    RunStream(state, kNcr, kViqr);
}
BENCHMARK_F(LineRoutines, Stream_NCR_to_UTF8)(benchmark::State& state) {
    RunStream(state, kNcr, kUtf8);
}

}  // namespace
