#include <QtTest>

#include "DateTexts.h"

using namespace odz;

namespace {

const QDateTime kNewYearsEve(QDate(2023, 12, 31), QTime(13, 5, 9));  // local time

QLocale Locale(const char* name) {
    return QLocale(QString::fromLatin1(name));
}

}  // namespace

class DateTextsTest : public QObject {
    Q_OBJECT

private slots:
    void dateFormatString_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("df_MMddyyyy") << int(df_MMddyyyy) << "MM/dd/yyyy";
        QTest::newRow("df_MMddyy") << int(df_MMddyy) << "MM/dd/yy";
        QTest::newRow("df_ddMMyyyy") << int(df_ddMMyyyy) << "dd/MM/yyyy";
        QTest::newRow("df_ddMMyy_GB") << int(df_ddMMyy_GB) << "dd/MM/yy";
        QTest::newRow("df_ddMMyy_DE") << int(df_ddMMyy_DE) << "dd.MM.yy";
        QTest::newRow("df_ddMMyy_IT") << int(df_ddMMyy_IT) << "dd-MM-yy";
        QTest::newRow("df_yyyyMMdd") << int(df_yyyyMMdd) << "yyyy-MM-dd";
        QTest::newRow("df_yyMMdd") << int(df_yyMMdd) << "yy-MM-dd";
    }
    void dateFormatString() {
        QFETCH(int, format);
        QFETCH(QString, pattern);
        QCOMPARE(DateFormatString(static_cast<TDTFormat>(format)), pattern);
    }

    void customizeIsTheLocalesShortDate() {
        for (const char* name : {"en_US", "de_DE", "vi_VN"}) {
            const QLocale locale = Locale(name);
            QCOMPARE(DateFormatString(df_Customize, locale), locale.dateFormat(QLocale::ShortFormat));
        }
        QCOMPARE(DateFormatString(df_Customize), QLocale::system().dateFormat(QLocale::ShortFormat));
    }

    void emptyTimeFormatIsTheLocalesShortTime() {
        const QLocale locale = Locale("en_US");
        QCOMPARE(TimeFormatString(QString(), locale), locale.timeFormat(QLocale::ShortFormat));
        QCOMPARE(TimeFormatString(QStringLiteral("HH:mm:ss"), locale), QStringLiteral("HH:mm:ss"));
    }

    void separators_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QChar>("date");
        QTest::addColumn<QChar>("time");
        for (const char* name : {"en_US", "de_DE", "fi_FI", "vi_VN"}) {
            const QLocale locale = Locale(name);
            const QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
            const QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
            // The first character after the first run of pattern letters.
            const auto separator = [](const QString& format) {
                qsizetype i = 0;
                while (i < format.size() && format[i].isLetter()) ++i;
                return format[i];
            };
            QTest::newRow(name) << QString::fromLatin1(name) << separator(dateFormat)
                                << separator(timeFormat);
        }
    }
    void separators() {
        QFETCH(QString, locale);
        QFETCH(QChar, date);
        QFETCH(QChar, time);
        QCOMPARE(DateSeparator(QLocale(locale)), date);
        QCOMPARE(TimeSeparator(QLocale(locale)), time);
    }

    void fileTimeToText_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("timeFormat");
        QTest::addColumn<QString>("text");
        QTest::newRow("US month first") << "en_US" << int(df_MMddyyyy) << "HH:mm:ss"
                                        << "12/31/2023 13:05:09";
        QTest::newRow("US two-digit year") << "en_US" << int(df_MMddyy) << "HH:mm:ss"
                                           << "12/31/23 13:05:09";
        QTest::newRow("GB") << "en_GB" << int(df_ddMMyy_GB) << "HH:mm"
                            << "31/12/23 13:05";
        QTest::newRow("IT") << "en_US" << int(df_ddMMyy_IT) << "HH:mm:ss"
                            << "31-12-23 13:05:09";
        QTest::newRow("ISO") << "en_US" << int(df_yyyyMMdd) << "HH:mm:ss"
                             << "2023-12-31 13:05:09";
        QTest::newRow("short ISO") << "en_US" << int(df_yyMMdd) << "HH:mm:ss"
                                   << "23-12-31 13:05:09";
        QTest::newRow("slash is the locale's separator") << "de_DE" << int(df_MMddyyyy) << "HH:mm:ss"
                                                         << "12.31.2023 13:05:09";
        QTest::newRow("DE") << "de_DE" << int(df_ddMMyy_DE) << "HH:mm:ss"
                            << "31.12.23 13:05:09";
        QTest::newRow("US locale formats") << "en_US" << int(df_Customize) << ""
                                           << "12/31/23 1:05\u202fPM";
        QTest::newRow("DE locale formats") << "de_DE" << int(df_Customize) << ""
                                           << "31.12.23 13:05";
        QTest::newRow("quoted text stays") << "de_DE" << int(df_yyyyMMdd) << "HH'h:'mm"
                                           << "2023-12-31 13h:05";
    }
    void fileTimeToText() {
        QFETCH(QString, locale);
        QFETCH(int, format);
        QFETCH(QString, timeFormat);
        QFETCH(QString, text);
        QString actual =
            FileTimeToText(kNewYearsEve, static_cast<TDTFormat>(format), timeFormat, QLocale(locale));
        // Locale data differ between Qt builds in the blank before AM/PM.
        actual.replace(QChar(0x202F), QChar(' '));
        QCOMPARE(actual, text.replace(QChar(0x202F), QChar(' ')));
    }

    void fileTimeIsShownInLocalTime() {
        const QDateTime utc(QDate(2024, 2, 29), QTime(23, 30, 0), Qt::UTC);
        const QLocale locale = Locale("en_US");
        QCOMPARE(FileTimeToText(utc, df_yyyyMMdd, QStringLiteral("HH:mm"), locale),
                 utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    }

    void invalidTimeGivesNoText() { QVERIFY(FileTimeToText(QDateTime(), df_MMddyyyy, QString()).isEmpty()); }
};

QTEST_MAIN(DateTextsTest)
#include "DateTextsTest.moc"
