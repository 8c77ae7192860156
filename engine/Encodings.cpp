#include "Encodings.h"

#include <algorithm>
#include <array>

namespace odz {

namespace {

constexpr std::array<TEncodingInfo, kEncodingCount> kEncodings = {{
    {TEncoding::Viqr, "VIQR", "viqr", "7-bit/ VIQR", "7-bit/ VIQR", TEncodingKind::Viqr},
    {TEncoding::ZTWin, "ZTWin", "ztwin", "ZT Win", "ZT Win", TEncodingKind::Legacy},
    {TEncoding::Viscii, "VISCII", "viscii", "VISCII", "VISCII", TEncodingKind::Legacy},
    {TEncoding::Vps, "VPS", "vps", "VPS", "VPS", TEncodingKind::Legacy},
    {TEncoding::VniWind, "VNIWind", "vni", "VNI Wind", "VNI Wind", TEncodingKind::Legacy},
    {TEncoding::Tcvn1, "TCVN1", "tcvn1", "TCVN1", "TCVN1", TEncodingKind::Legacy},
    {TEncoding::Tcvn2, "TCVN2", "tcvn2", "TCVN2", "TCVN2", TEncodingKind::Legacy},
    {TEncoding::DecimalNcr, "Decimal NCR UTF-8", "ncr", "Decimal NCR UTF-8", "Decimal NCR UTF-8",
     TEncodingKind::Ncr},
    {TEncoding::Utf8, "Unicode UTF-8", "utf8", "Unicode UTF-8", "Unicode UTF-8", TEncodingKind::Utf8},
    {TEncoding::Utf16, "Unicode16", "utf16", "UTF-16 Unicode", "Unicode UTF-16", TEncodingKind::Utf16},
    {TEncoding::Cp1258, "Windows-1258", "cp1258", "Windows-1258", "Windows-1258", TEncodingKind::Cp1258},
    {TEncoding::Utf8Nfd, "Unicode UTF-8 Composite", "utf8-nfd", "Unicode UTF-8 Composite",
     "Unicode UTF-8 Composite", TEncodingKind::Utf8Nfd},
}};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

}  // namespace

const TEncodingInfo& EncodingInfo(TEncoding encoding) {
    return kEncodings[static_cast<int>(encoding)];
}

const TEncodingInfo& EncodingAt(int position) {
    return kEncodings.at(position);
}

std::optional<TEncoding> EncodingByIdentifier(std::string_view identifier) {
    for (const auto& info : kEncodings) {
        if (info.identifier == identifier) return info.encoding;
    }
    return std::nullopt;
}

std::optional<TEncoding> EncodingByName(std::string_view name) {
    for (const auto& info : kEncodings) {
        if (EqualIgnoringCase(info.identifier, name) || EqualIgnoringCase(info.shortName, name)) {
            return info.encoding;
        }
    }
    return std::nullopt;
}

const TVnLetterTable* LegacyTableFor(TEncoding encoding) {
    switch (encoding) {
        case TEncoding::ZTWin:
            return &ZTWinTable;
        case TEncoding::Viscii:
            return &VisciiTable;
        case TEncoding::Vps:
            return &VpsTable;
        case TEncoding::VniWind:
            return &VniWindTable;
        case TEncoding::Tcvn1:
            return &Tcvn1Table;
        case TEncoding::Tcvn2:
            return &Tcvn2Table;
        default:
            return nullptr;
    }
}

const TVnLetterTable* LegacyTableFor(std::string_view identifier) {
    const auto encoding = EncodingByIdentifier(identifier);
    return encoding ? LegacyTableFor(*encoding) : nullptr;
}

}  // namespace odz
