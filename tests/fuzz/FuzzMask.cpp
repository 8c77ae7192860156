// The file mask matcher: any name against any pattern. "*.*" takes every name, and a name without
// wildcards is matched by itself.

#include <QString>

#include "DirectoryListing.h"
#include "FuzzSupport.h"

using namespace odz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TInput input(data, size);
    const QString name = QString::fromUtf8(input.Part());
    const QString pattern = QString::fromUtf8(input.Rest());
    MatchesPattern(name, pattern);
    fuzz::Check(MatchesPattern(name, QStringLiteral("*.*")), "*.* takes every name");
    if (!name.isEmpty() && !name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?'))) {
        fuzz::Check(MatchesPattern(name, name), "a name without wildcards matches itself");
    }
    return 0;
}
