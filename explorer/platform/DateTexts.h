#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace odz {

// The date part of the Modified column.
enum TDTFormat : int {
    df_MMddyyyy,   // "MM/dd/yyyy"
    df_MMddyy,     // "MM/dd/yy"
    df_ddMMyyyy,   // "dd/MM/yyyy"
    df_ddMMyy_GB,  // "dd/MM/yy"
    df_ddMMyy_DE,  // "dd.MM.yy"
    df_ddMMyy_IT,  // "dd-MM-yy"
    df_yyyyMMdd,   // "yyyy-MM-dd"
    df_yyMMdd,     // "yy-MM-dd"
    df_Customize,  // the user's short date format
};

// The date pattern a value selects; df_Customize reads the locale's short date format at the call.
QString DateFormatString(TDTFormat format, const QLocale& locale = QLocale::system());
// The time pattern to use for a time format setting: an empty one means the locale's short format.
QString TimeFormatString(const QString& timeFormat, const QLocale& locale = QLocale::system());

// The separators the patterns' "/" and ":" stand for, taken from the locale's short formats.
QChar DateSeparator(const QLocale& locale = QLocale::system());
QChar TimeSeparator(const QLocale& locale = QLocale::system());

// A file time as local time: the date by `dateFormat`, a blank, the time by `timeFormat` (empty: the
// locale's short time format). In both, "/" is written as the locale's date separator and ":" as its
// time separator; text in single quotes stays as it is. An invalid time gives an empty text.
QString FileTimeToText(const QDateTime& fileTime, const QString& dateFormat, const QString& timeFormat,
                       const QLocale& locale = QLocale::system());
QString FileTimeToText(const QDateTime& fileTime, TDTFormat dateFormat, const QString& timeFormat,
                       const QLocale& locale = QLocale::system());

}  // namespace odz
