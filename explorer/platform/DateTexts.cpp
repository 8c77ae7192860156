#include "DateTexts.h"

namespace odz {

namespace {

// The first character of a format that is neither a pattern letter nor quoted text.
QChar FirstSeparator(const QString& format, QChar fallback) {
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && !c.isLetter() && !c.isSpace())
            return c;
    }
    return fallback;
}

// Writes the locale's separators for "/" and ":" outside quoted text.
QString WithSeparators(const QString& format, QChar date, QChar time) {
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('/'))
            out += date;
        else if (!quoted && c == QLatin1Char(':'))
            out += time;
        else
            out += c;
    }
    return out;
}

}  // namespace

QString DateFormatString(TDTFormat format, const QLocale& locale) {
    switch (format) {
        case df_MMddyyyy:
            return QStringLiteral("MM/dd/yyyy");
        case df_MMddyy:
            return QStringLiteral("MM/dd/yy");
        case df_ddMMyyyy:
            return QStringLiteral("dd/MM/yyyy");
        case df_ddMMyy_GB:
            return QStringLiteral("dd/MM/yy");
        case df_ddMMyy_DE:
            return QStringLiteral("dd.MM.yy");
        case df_ddMMyy_IT:
            return QStringLiteral("dd-MM-yy");
        case df_yyyyMMdd:
            return QStringLiteral("yyyy-MM-dd");
        case df_yyMMdd:
            return QStringLiteral("yy-MM-dd");
        case df_Customize:
            break;
    }
    return locale.dateFormat(QLocale::ShortFormat);
}

QString TimeFormatString(const QString& timeFormat, const QLocale& locale) {
    return timeFormat.isEmpty() ? locale.timeFormat(QLocale::ShortFormat) : timeFormat;
}

QChar DateSeparator(const QLocale& locale) {
    return FirstSeparator(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
}

QChar TimeSeparator(const QLocale& locale) {
    return FirstSeparator(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
}

QString FileTimeToText(const QDateTime& fileTime, const QString& dateFormat, const QString& timeFormat,
                       const QLocale& locale) {
    if (!fileTime.isValid()) return {};
    const QChar date = DateSeparator(locale), time = TimeSeparator(locale);
    const QString format = dateFormat + QLatin1Char(' ') + TimeFormatString(timeFormat, locale);
    return locale.toString(fileTime.toLocalTime(), WithSeparators(format, date, time));
}

QString FileTimeToText(const QDateTime& fileTime, TDTFormat dateFormat, const QString& timeFormat,
                       const QLocale& locale) {
    return FileTimeToText(fileTime, DateFormatString(dateFormat, locale), timeFormat, locale);
}

}  // namespace odz
