#pragma once

#include <optional>
#include <string>

#include "EncodingDetector.h"

namespace odz {

// "viscii 0.97, same text as vps; runner-up tcvn1 0.02" and the like.
std::string Describe(const TDetection& detection);
// The encoding a conversion reads a source with when its encoding is to be detected; none, with the
// reason, when detection is not confident (unless bestGuess), names an encoding the engine lacks or
// the target encoding itself. `name` receives the short name of the encoding detected (or "ascii").
std::optional<TEncoding> DetectedSource(const TDetection& detection, TEncoding target, bool bestGuess,
                                        std::string& name, std::string& reason);

}  // namespace odz
