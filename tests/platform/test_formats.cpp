#include "FormatSettings.h"

#include <gtest/gtest.h>

using namespace zvo;

namespace {
TFormatSettings fixed()
{
    TFormatSettings fs = TFormatSettings::Create("en-US");
    fs.DateSeparator = '-';
    fs.ShortDateFormat = "yyyy-mm-dd";
    return fs;
}
} // namespace

TEST(Formats, FloatPatterns)
{
    const TFormatSettings fs = fixed();
    struct Case { const char *pattern; double value; const char *text; };
    const Case cases[] = {
        {"####0.00", 123.5, "123.50"},
        {"####0.00", 0.0, "0.00"},
        {"####0.00", 5.125, "5.13"},   // halves away from zero, on the decimal digits
        {"####0.00", 1.005, "1.01"},
        {"####0.00", -0.001, "0.00"},  // no sign on a value shown as zero
        {"####0.00", -12.345, "-12.35"},
        {"###0.000", 12.3456, "12.346"},
        {"000", 7, "007"},
        {"000", 1234.6, "1235"},
        {"####0.00\" MB\"", 5.1234, "5.12 MB"},
        {"#,##0.0", 1234567.89, "1,234,567.9"},
        {"0.##", 2.5, "2.5"},
        {"#", 0, ""},
        {"0.00;(0.00)", -3, "(3.00)"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatFloat(c.pattern, c.value, fs), c.text) << c.pattern << " " << c.value;
}

TEST(Formats, DatePatternsUseEnglishNames)
{
    const TFormatSettings fs = fixed();
    const QDateTime t(QDate(2024, 3, 5), QTime(14, 30, 7));
    EXPECT_EQ(FormatDateTime("yyyy mmm dd  hh:nn", t, fs), "2024 Mar 05  14:30");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd_hhnn", t, fs), "2024-03-05_1430");
    EXPECT_EQ(FormatDateTime("hh:mm:ss", t, fs), "14:30:07"); // mm after hh is minutes
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", t, fs), "2024-03-05");
    EXPECT_EQ(FormatDateTime("dddd d mmmm yy", t, fs), "Tuesday 5 March 24");
    EXPECT_EQ(FormatDateTime("h:nn am/pm \"at\" ddddd", t, fs), "2:30 pm at 2024-03-05");
}

TEST(Formats, CommaLocaleOnlyWhereAsked)
{
    // A record built from a comma locale formats with a comma; the fixed one never does.
    TFormatSettings german = TFormatSettings::Create("de-DE");
    EXPECT_EQ(german.DecimalSeparator, ',');
    EXPECT_EQ(FormatFloat("####0.00", 123.5, german), "123,50");
    EXPECT_EQ(FormatFloat("####0.00", 123.5, fixed()), "123.50");
    EXPECT_EQ(FormatDateTime("mmm", QDateTime(QDate(2024, 3, 5), QTime()), fixed()), "Mar");
}

TEST(Formats, ParseFloat)
{
    const TFormatSettings fs = fixed();
    struct Case { const char *text; bool ok; double value; };
    const Case cases[] = {
        {"12.3456", true, 12.3456}, {" -1.5E3 ", true, -1500}, {".5", true, 0.5},
        {"5.", true, 5},            {"12,3456", false, 0},     {"1,000.0", false, 0},
        {"", false, 0},             {"abc", false, 0},         {"1e", false, 0},
        {"1.2.3", false, 0},
    };
    for (const Case &c : cases) {
        double v = 0;
        EXPECT_EQ(TryStrToFloat(c.text, v, fs), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
}

TEST(Formats, ParseIntegerAndDate)
{
    struct IntCase { const char *text; bool ok; qint64 value; };
    const IntCase ints[] = {{"42", true, 42},     {"0x1F", true, 31}, {"$ff", true, 255},
                            {" -7 ", true, -7},   {"no", false, 0},   {"1.0", false, 0},
                            {"0xFFFFFFFF", true, -1}, {"99999999999", false, 0}, {"", false, 0}};
    for (const IntCase &c : ints) {
        qint64 v = 0;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }

    const TFormatSettings fs = fixed();
    QDateTime t;
    ASSERT_TRUE(TryStrToDateTime("2024-03-05", t, fs));
    EXPECT_EQ(t, QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    ASSERT_TRUE(TryStrToDateTime("2024-3-5 14:30", t, fs));
    EXPECT_EQ(t, QDateTime(QDate(2024, 3, 5), QTime(14, 30)));
    ASSERT_TRUE(TryStrToDateTime("2024-03-05 2:30:15 PM", t, fs));
    EXPECT_EQ(t.time(), QTime(14, 30, 15));
    for (const char *bad : {"05/03/2024", "2024-02-30", "2024-03-05 25:00", "yesterday", ""})
        EXPECT_FALSE(TryStrToDateTime(bad, t, fs)) << bad;
}
