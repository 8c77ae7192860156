#include "FileDetection.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "FileError.h"
#include "LineReaders.h"
#include "TextDecoders.h"

namespace odz {

namespace {

TFileDetection Found(TEncoding encoding, double confidence) {
    TFileDetection found;
    found.encoding = encoding;
    found.shortName = std::string(EncodingInfo(encoding).shortName);
    found.confidence = confidence;
    found.confident = true;
    return found;
}

// Valid UTF-8 throughout, but for a sequence cut by the end of the sample.
bool ValidUtf8(std::string_view sample) {
    for (std::size_t i = 0; i < sample.size();) {
        if (static_cast<unsigned char>(sample[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t code = 0;
        const std::size_t length = DecodeUtf8At(sample, i, code);
        if (length == 0) return sample.size() - i < 4;
        i += length;
    }
    return true;
}

// Unicode only: what byte-order marks and valid UTF-8 tell. Files in the legacy encodings, VIQR and
// references are left undecided.
TFileDetection DetectSample(std::string_view sample) {
    if (sample.starts_with("\xFF\xFE") || sample.starts_with("\xFE\xFF")) return Found(TEncoding::Utf16, 1.0);
    if (sample.starts_with("\xEF\xBB\xBF")) return Found(TEncoding::Utf8, 1.0);
    const bool ascii = std::none_of(sample.begin(), sample.end(), [](char c) {
        return c == '\0' || static_cast<unsigned char>(c) >= 0x80;
    });
    if (ascii) {
        TFileDetection plain;
        plain.shortName = TFileDetection::kAsciiName;
        plain.confidence = 1.0;
        plain.confident = true;
        return plain;
    }
    if (sample.find('\0') == std::string_view::npos && ValidUtf8(sample)) return Found(TEncoding::Utf8, 0.9);
    return {};
}

}  // namespace

TFileDetector DefaultFileDetector() {
    return [](const std::filesystem::path& file) {
        try {
            TInputFile input{TInput(file)};
            std::vector<char> sample(kDetectionSample);
            std::size_t size = 0;
            while (size < sample.size()) {
                const std::size_t read = input.Read(sample.data() + size, sample.size() - size);
                if (read == 0) break;
                size += read;
            }
            return DetectSample(std::string_view(sample.data(), size));
        } catch (const EFileError& error) {
            TFileDetection unreadable;
            unreadable.problem = error.Reason().empty() ? error.what() : error.Reason();
            return unreadable;
        }
    };
}

}  // namespace odz
