#include "FileDetection.h"

#include "EncodingDetector.h"
#include "FileError.h"
#include "LineReaders.h"

namespace odz {

TFileDetection FileDetectionOf(const TDetection& detection) {
    TFileDetection found;
    if (detection.kind == TDetection::dk_Ascii) {
        found.shortName = TFileDetection::kAsciiName;
        found.confidence = 1.0;
        found.confident = true;
        return found;
    }
    const TCandidateScore* best = detection.Best();
    if (detection.kind == TDetection::dk_Binary || best == nullptr) return found;
    found.encoding = detection.Reading();
    found.shortName = std::string(best->candidate->shortName);
    found.confidence = best->confidence;
    found.confident = detection.Confident() && found.encoding.has_value();
    if (const TCandidateScore* runnerUp = detection.RunnerUp();
        runnerUp != nullptr && runnerUp->confidence >= best->confidence / 2) {
        found.runnerUp = std::string(runnerUp->candidate->shortName);
    }
    return found;
}

TFileDetector DefaultFileDetector(const TViqrKeys& keys) {
    return [keys](const std::filesystem::path& file) {
        try {
            return FileDetectionOf(DetectEncoding(ReadDetectionSample(TInput(file), kDetectionSample), keys));
        } catch (const EFileError& error) {
            TFileDetection unreadable;
            unreadable.problem = error.Reason().empty() ? error.what() : error.Reason();
            return unreadable;
        }
    };
}

}  // namespace odz
