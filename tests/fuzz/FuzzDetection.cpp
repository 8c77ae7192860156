// Detection of the encoding of any bytes: it must not fail, its answer must hold together (confidences
// between 0 and 1, groups in order, a reading the engine has when it is sure), and the same bytes give
// the same answer.

#include <cmath>

#include "EncodingDetector.h"
#include "FuzzSupport.h"

using namespace odz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput input(data, size);
    TViqrKeys keys = TViqrKeys::Defaults();
    if (input.Flag()) keys.keys[kNang] = '*';
    const std::string_view sample = input.Rest();
    const TDetection detection = DetectEncoding(sample, keys);
    int group = 0;
    for (const TCandidateScore& c : detection.candidates) {
        fuzz::Check(c.confidence >= 0 && c.confidence <= 1 && !std::isnan(c.confidence),
                    "confidences lie between 0 and 1");
        fuzz::Check(c.group == group || c.group == group + 1, "groups come in order");
        group = c.group;
    }
    fuzz::Check(detection.kind == TDetection::dk_Text || detection.candidates.empty(),
                "only text has candidates");
    if (detection.kind == TDetection::dk_Text)
        fuzz::Check(!detection.candidates.empty(), "text has a reading");
    const TDetection again = DetectEncoding(sample, keys);
    fuzz::Check(again.kind == detection.kind && again.candidates.size() == detection.candidates.size() &&
                    (again.candidates.empty() || again.Best()->candidate == detection.Best()->candidate),
                "the same bytes give the same answer");
    return 0;
}
