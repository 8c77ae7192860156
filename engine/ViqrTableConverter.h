#pragma once

#include <memory>

#include "LineConverter.h"
#include "ViqrKeys.h"

namespace odz {

struct TViqrWriting;

// True for the setups a table converter into VIQR serves: the common sources, UTF-8 and the
// single-byte legacy encodings, with a key set the escape rule serves alone.
bool ViqrTablesServe(const TConversionSetup& setup);

// A converter into VIQR whose tables decide each character, the VIQR writer the escapes; `general`
// converts what the tables do not (UTF-16 text). `writing` must outlive the converter.
std::unique_ptr<TLineConverter> MakeViqrTableConverter(const TConversionSetup& setup,
                                                       const TViqrWriting& writing,
                                                       std::unique_ptr<TLineConverter> general);

}  // namespace odz
