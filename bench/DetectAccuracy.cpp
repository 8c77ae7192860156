// How often detection names the right encoding, over a corpus written in every encoding.
//
//   odz_detect_accuracy DIR
//
// DIR holds one file per candidate, named after its short name (viscii.txt, utf16.txt, ...), all the
// same text. Each file is cut into samples of 2 KiB (at line ends) and into single lines of at most
// 100 bytes (at spaces; lines shorter than 80 bytes are left out). A detection is right when it names
// the file's encoding, or one that decodes the sample to the same text (decoded by the engine and
// compared byte for byte), or says plain ASCII for a sample without Vietnamese letters. Prints the
// accuracy per encoding, the confusion tables and the detection speed.

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "EncodingDetector.h"
#include "LineConverter.h"

using namespace odz;
namespace fs = std::filesystem;

namespace {

// The processor time of this program: other programs running beside it do not change it.
double CpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Utf16(std::string_view name) {
    return name == "utf16";
}

// Samples of about `size` bytes, each ending at a line end.
std::vector<std::string> Pieces(const std::string& text, std::size_t size, bool utf16) {
    std::vector<std::string> pieces;
    std::size_t start = utf16 && text.size() >= 2 ? 2 : 0;  // the byte-order mark belongs to the first only
    if (utf16) pieces.push_back(text.substr(0, std::min(text.size(), size)));
    while (start < text.size()) {
        std::size_t end = std::min(text.size(), start + size);
        if (end < text.size()) {
            const std::size_t lf = text.rfind(utf16 ? std::string("\n\0", 2) : std::string("\n"), end - 1);
            if (lf != std::string::npos && lf > start) end = lf + (utf16 ? 2 : 1);
        }
        pieces.push_back(text.substr(start, end - start));
        start = end;
    }
    if (utf16) pieces.erase(pieces.begin() + 1);
    return pieces;
}

// Lines of at most 100 bytes, cut at a space; lines under 80 bytes are left out.
std::vector<std::string> Lines(const std::string& text, bool utf16) {
    std::vector<std::string> lines;
    const std::string lf = utf16 ? std::string("\n\0", 2) : "\n";
    const std::string space = utf16 ? std::string(" \0", 2) : " ";
    std::size_t start = utf16 ? 2 : 0;
    while (start < text.size()) {
        std::size_t end = text.find(lf, start);
        while (end != std::string::npos && utf16 && (end - start) % 2 != 0) end = text.find(lf, end + 1);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() &&
               (line.back() == '\r' || (utf16 && line.size() >= 2 && line[line.size() - 2] == '\r')))
            line.resize(line.size() - (utf16 ? 2 : 1));
        if (line.size() > 100) {
            std::size_t cut = line.rfind(space, 100);
            while (cut != std::string::npos && utf16 && cut % 2 != 0)
                cut = cut == 0 ? std::string::npos : line.rfind(space, cut - 1);
            line.resize(cut == std::string::npos ? 100 : cut);
        }
        if (line.size() >= 80) lines.push_back(line);
        start = end + lf.size();
    }
    return lines;
}

// The text the engine reads from a sample of an encoding, as UTF-8; empty when the engine has no such
// reading.
std::string Decode(const TDetectorCandidate& candidate, std::string_view sample) {
    if (!candidate.encoding || *candidate.encoding == TEncoding::Utf16) return {};
    const TEncodingInfo& info = EncodingInfo(*candidate.encoding);
    TConversionSetup setup;
    setup.sourceKind = info.kind;
    if (const TVnLetterTable* table = LegacyTableFor(*candidate.encoding)) setup.sourceTable = *table;
    setup.targetKind = TEncodingKind::Utf8;
    TByteBuffer out;
    MakeLineConverter(setup)->ConvertStream(sample, true, out);
    std::string text(out.View());
    // The line end the conversion gives a last line is no part of the sample.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0 && !sample.ends_with('\n'))
        text.resize(text.size() - 2);
    return text;
}

struct TTally {
    int samples = 0;
    int right = 0;
    std::map<std::string, int> picks;
};

std::string Pick(const TDetection& d) {
    if (d.kind == TDetection::dk_Ascii) return "ascii";
    if (d.kind == TDetection::dk_Binary) return "binary";
    std::string name(d.Best()->candidate->shortName);
    if (!d.Confident()) name += "?";
    return name;
}

bool Right(const TDetectorCandidate& truth, const TDetection& d, std::string_view sample) {
    if (d.kind == TDetection::dk_Ascii) {
        // Right when the sample holds no Vietnamese letter: every reading gives the same text.
        return std::all_of(sample.begin(), sample.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; }) ||
               Decode(truth, sample) == std::string(sample);
    }
    if (d.kind != TDetection::dk_Text || d.candidates.empty()) return false;
    const TDetectorCandidate& pick = *d.Best()->candidate;
    if (&pick == &truth) return true;
    const std::string a = Decode(truth, sample);
    const std::string b = Decode(pick, sample);
    if (!a.empty() && a == b) return true;
    // The decomposed form is UTF-8: the engine reads both alike.
    const auto utf8 = [](std::string_view n) { return n == "utf8" || n == "utf8-nfd"; };
    return utf8(truth.shortName) && utf8(pick.shortName);
}

void Report(const char* title, const std::map<std::string, TTally>& tallies) {
    std::printf("\n%s\n", title);
    std::printf("%-10s %8s %8s %9s   picks\n", "encoding", "samples", "right", "accuracy");
    for (const auto& [name, t] : tallies) {
        std::printf("%-10s %8d %8d %8.2f%%  ", name.c_str(), t.samples, t.right,
                    t.samples ? 100.0 * t.right / t.samples : 0.0);
        for (const auto& [pick, count] : t.picks) std::printf(" %s:%d", pick.c_str(), count);
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: odz_detect_accuracy DIR\n");
        return 2;
    }
    // The tables detection builds on first use are not its speed.
    DetectEncoding("Vi\xAAt Nam");
    std::map<std::string, TTally> blocks;
    std::map<std::string, TTally> lines;
    double seconds = 0;
    std::uint64_t bytes = 0;
    std::uint64_t bigBytes = 0;
    double bigSeconds = 0;
    for (const TDetectorCandidate& truth : DetectorCandidates()) {
        const fs::path file = fs::path(argv[1]) / (std::string(truth.shortName) + ".txt");
        if (!fs::exists(file)) continue;
        const std::string text = ReadAll(file);
        const bool utf16 = Utf16(truth.shortName);
        const auto run = [&](const std::vector<std::string>& samples, TTally& tally) {
            for (const std::string& sample : samples) {
                const double start = CpuSeconds();
                const TDetection d = DetectEncoding(sample);
                seconds += CpuSeconds() - start;
                bytes += sample.size();
                ++tally.samples;
                ++tally.picks[Pick(d)];
                if (Right(truth, d, sample)) ++tally.right;
            }
        };
        run(Pieces(text, 2048, utf16), blocks[std::string(truth.shortName)]);
        run(Lines(text, utf16), lines[std::string(truth.shortName)]);
        for (const std::string& sample : Pieces(text, 64 * 1024, utf16)) {
            const double start = CpuSeconds();
            const TDetection d = DetectEncoding(sample);
            bigSeconds += CpuSeconds() - start;
            bigBytes += sample.size();
            if (d.candidates.empty() && d.kind == TDetection::dk_Binary) std::printf("binary?\n");
        }
    }
    Report("Samples of 2 KiB ('?' marks a pick that is not confident):", blocks);
    Report("Single lines of at most 100 bytes:", lines);
    std::printf(
        "\nSpeed (processor time): %.0f MB/s on the 2 KiB samples and lines, %.0f MB/s on samples "
        "of 64 KiB\n",
        bytes / seconds / 1e6, bigBytes / bigSeconds / 1e6);
    return 0;
}
