#include "DetectedSource.h"

#include <cstdio>

namespace odz {

namespace {

std::string Confidence(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

}  // namespace

std::string Describe(const TDetection& detection) {
    switch (detection.kind) {
        case TDetection::dk_Ascii:
            return "ascii (no Vietnamese letters: every encoding reads it alike)";
        case TDetection::dk_Binary:
            return "binary (not a text file)";
        case TDetection::dk_Text:
            break;
    }
    if (detection.candidates.empty()) return "unknown";
    const TCandidateScore& best = *detection.Best();
    std::string text = std::string(best.candidate->shortName) + ' ' + Confidence(best.confidence);
    const auto group = detection.BestGroup();
    for (std::size_t i = 1; i < group.size(); ++i) {
        text += (i == 1 ? ", same text as " : " and ") + std::string(group[i]->candidate->shortName);
    }
    if (!detection.note.empty()) text += " (" + detection.note + ")";
    const TCandidateScore* runnerUp = detection.RunnerUp();
    const bool sure = detection.Confident();
    if (!sure) text += ", not sure";
    if (runnerUp != nullptr && (!sure || runnerUp->confidence >= 0.05)) {
        text += "; runner-up " + std::string(runnerUp->candidate->shortName) + ' ' +
                Confidence(runnerUp->confidence);
    }
    return text;
}

std::optional<TEncoding> DetectedSource(const TDetection& detection, TEncoding target, bool bestGuess,
                                        std::string& name, std::string& reason) {
    name = detection.kind == TDetection::dk_Ascii ? "ascii"
           : detection.Best() != nullptr          ? std::string(detection.Best()->candidate->shortName)
                                                  : "binary";
    if (detection.kind == TDetection::dk_Binary) {
        reason = "not converted: not a text file";
        return std::nullopt;
    }
    if (!detection.Confident() && !bestGuess) {
        reason = "not converted: the encoding is not detected with confidence (" + Describe(detection) +
                 "; -f names it, --best-guess takes the best)";
        return std::nullopt;
    }
    auto reading = detection.Reading();
    // Plain ASCII reads alike in every 8-bit encoding.
    if (detection.kind == TDetection::dk_Ascii && target == TEncoding::Utf8) reading = TEncoding::Viscii;
    if (reading == target) {
        reason = "left alone: it is in " + std::string(EncodingInfo(target).identifier) + " already";
        return std::nullopt;
    }
    if (!reading) {
        reason = "not converted: detected as " + std::string(detection.Best()->candidate->name) +
                 ", which this program does not read";
    }
    return reading;
}

}  // namespace odz
