#include "EncodingDetector.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>

#include "DetectionReadings.h"
#include "FileError.h"

namespace odz {

const std::vector<TDetectorCandidate>& DetectorCandidates() {
    static const std::vector<TDetectorCandidate> candidates = [] {
        std::vector<TDetectorCandidate> built;
        for (int i = 0; i < kEncodingCount; ++i) {
            const TEncodingInfo& info = EncodingAt(i);
            built.push_back({info.shortName, info.identifier, info.encoding});
        }
        return built;
    }();
    return candidates;
}

bool TDetection::Confident() const {
    if (kind == dk_Ascii) return true;
    return kind == dk_Text && !candidates.empty() && candidates.front().confidence >= kConfidentDetection;
}

std::vector<const TCandidateScore*> TDetection::BestGroup() const {
    std::vector<const TCandidateScore*> group;
    for (const TCandidateScore& c : candidates) {
        if (c.group == candidates.front().group) group.push_back(&c);
    }
    return group;
}

const TCandidateScore* TDetection::RunnerUp() const {
    for (const TCandidateScore& c : candidates) {
        if (c.group != candidates.front().group) return &c;
    }
    return nullptr;
}

std::optional<TEncoding> TDetection::Reading() const {
    if (kind == dk_Ascii) return TEncoding::Utf8;
    if (kind != dk_Text || candidates.empty()) return std::nullopt;
    for (const TCandidateScore* c : BestGroup()) {
        if (c->candidate->encoding) return c->candidate->encoding;
    }
    return std::nullopt;
}

std::string ReadDetectionSample(const TInput& input, std::size_t bound) {
    TInputFile file(input);
    std::string sample;
    if (input.IsStream() || !file.IsRegular() || file.Size() <= bound) {
        sample.resize(bound);
        std::size_t have = 0;
        while (have < bound) {
            const std::size_t got = file.Read(sample.data() + have, bound - have);
            if (got == 0) break;
            have += got;
        }
        sample.resize(have);
        return sample;
    }
    // Three pieces; each after the first starts after a line end, each before the last ends after
    // one (with the zero byte of a little-endian UTF-16 line end, so that units stay aligned).
    const int fd = ::open(input.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw EFileError("Cannot open file " + input.path.string(), std::strerror(errno));
    const std::unique_ptr<int, void (*)(int*)> closer(new int(fd), [](int* f) {
        ::close(*f);
        delete f;
    });
    const std::size_t piece = bound / 3;
    const std::uint64_t size = file.Size();
    const std::uint64_t starts[3] = {0, size / 2 - piece / 2, size - piece};
    const auto lineEndAfter = [](std::string_view text, std::size_t at, std::uint64_t offset) {
        const std::size_t lf = text.find('\n', at);
        if (lf == std::string_view::npos) return text.size();
        const bool evenUnit = (offset + lf) % 2 == 0 && lf + 1 < text.size() && text[lf + 1] == '\0';
        return lf + (evenUnit ? 2 : 1);
    };
    std::string part;
    for (int p = 0; p < 3; ++p) {
        part.resize(piece);
        std::size_t have = 0;
        while (have < piece) {
            const ssize_t got =
                ::pread(fd, part.data() + have, piece - have, static_cast<off_t>(starts[p] + have));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw EFileError("Cannot read file " + input.path.string(), std::strerror(errno));
            if (got == 0) break;
            have += static_cast<std::size_t>(got);
        }
        part.resize(have);
        const std::size_t from = p > 0 ? lineEndAfter(part, 0, starts[p]) : 0;
        std::size_t to = part.size();
        if (p < 2) {
            const std::size_t lastLf = part.rfind('\n');
            to = lastLf != std::string::npos && lastLf >= from ? lineEndAfter(part, lastLf, starts[p]) : from;
        }
        sample.append(part, from, to - from);
    }
    return sample;
}

TDetection DetectEncoding(std::string_view sample, const TViqrKeys& keys) {
    TDetection detection;
    TSampleFacts facts;
    const std::vector<TReadingScore> readings = ScoreReadings(sample, keys, facts);
    if (facts.binary) {
        detection.kind = TDetection::dk_Binary;
        return detection;
    }
    // The best reading of each group stands for it: groups ranked by score, ties in candidate order.
    std::vector<const TReadingScore*> heads;
    for (const TReadingScore& r : readings) {
        if (static_cast<std::size_t>(r.group) >= heads.size()) heads.push_back(&r);
    }
    // Ties between readings of different texts go to the encoding more archives hold.
    static constexpr int kPrior[] = {
        /*viqr*/ 9,    /*ztwin*/ 7, /*viscii*/ 3, /*vps*/ 6,    /*vni*/ 4,    /*tcvn1*/ 5,
        /*tcvn2*/ 2,   /*ncr*/ 10,  /*utf8*/ 0,   /*utf16*/ 11, /*cp1258*/ 8,
        /*utf8-nfd*/ 1};
    std::stable_sort(heads.begin(), heads.end(), [](const TReadingScore* a, const TReadingScore* b) {
        return a->score > b->score || (a->score == b->score && kPrior[a->candidate] < kPrior[b->candidate]);
    });
    const TReadingScore& best = *heads.front();
    // Plain ASCII: the best reading finds no Vietnamese word at all.
    if (best.syllables + best.faults == 0 && !facts.highBytes) {
        detection.kind = TDetection::dk_Ascii;
        return detection;
    }
    // The best group's confidence grows with its lead, with the share of its words that are syllables
    // (text of which a quarter is wrong is no text in that encoding) and with the evidence there is; a
    // rival's with how close it comes.
    const double rival = heads.size() > 1 ? heads[1]->score : std::min(0.0, best.score);
    const double margin = std::max(0.0, best.score - rival);
    const double evidence = best.syllables + best.bonus;
    // Structure that outweighs the faults (valid UTF-8 holding foreign words) leaves no doubt.
    const double quality = best.bonus >= 2.0 * best.faults ? 1.0
                           : evidence + best.faults > 0    ? evidence / (evidence + best.faults)
                                                           : 0;
    const double confidence = (1.0 - std::exp(-margin / 3.0)) * std::clamp((quality - 0.5) / 0.4, 0.0, 1.0) *
                              (1.0 - std::exp(-evidence / 2.0));
    for (std::size_t rank = 0; rank < heads.size(); ++rank) {
        for (const TReadingScore& r : readings) {
            if (r.group != heads[rank]->group) continue;
            TCandidateScore c;
            c.candidate = &DetectorCandidates()[static_cast<std::size_t>(r.candidate)];
            c.group = static_cast<int>(rank);
            c.score = r.score;
            c.syllables = r.syllables;
            c.faults = r.faults;
            c.confidence = rank == 0
                               ? confidence
                               : (1.0 - confidence) * std::exp(-std::max(0.0, best.score - r.score) / 3.0);
            detection.candidates.push_back(c);
        }
    }
    // Within a group the order of DetectorCandidates(), but the decomposed form before plain UTF-8.
    std::stable_sort(detection.candidates.begin(), detection.candidates.end(),
                     [](const TCandidateScore& a, const TCandidateScore& b) {
                         if (a.group != b.group) return a.group < b.group;
                         const bool ad = a.candidate->shortName == "utf8-nfd";
                         const bool bd = b.candidate->shortName == "utf8-nfd";
                         if (ad != bd) return ad;
                         return a.candidate < b.candidate;
                     });
    if (facts.utf16 && !facts.utf16Mark && facts.bigEndian) {
        detection.note = "big-endian without a byte-order mark, which is read as little-endian";
        detection.candidates.front().confidence = std::min(detection.candidates.front().confidence, 0.25);
    }
    return detection;
}

}  // namespace odz
