#include "Conversions.h"
#include "FamilyFormats.h"

#include <gtest/gtest.h>

using namespace zvo;

namespace {
class Conversions : public ::testing::Test {
protected:
    void SetUp() override { InitFamilyFormats(); }
};
} // namespace

TEST_F(Conversions, CleanNumericText)
{
    struct Case { const char *in; bool emptyResult; bool ok; const char *out; };
    const Case cases[] = {
        {" 1.5 ", false, true, "1.5"}, {".5", false, true, "0.5"},
        {"5.", false, true, "5.0"},    {"1..5", false, true, "1.5"},
        {"..5", false, true, "0.5"},   {"1 000", false, true, "1000"},
        {"1.2.3", false, false, "1.2.3"}, {"12,5", false, false, "12,5"},
        {"abc", false, false, "abc"},  {"1e5", false, false, "1e5"},
        {"1E5", false, true, "1E5"},   {".", false, true, "0."},
        {"", true, true, ""},          {"   ", false, false, ""},
        {"\t-2\r\n", false, true, "-2"},
    };
    for (const Case &c : cases) {
        QString s = c.in;
        EXPECT_EQ(CleanNumericText(s, c.emptyResult), c.ok) << c.in;
        EXPECT_EQ(s, c.out) << c.in;
    }
}

TEST_F(Conversions, StrToRoundedFloatRoundsHalvesToEven)
{
    struct Case { const char *in; double def; uint32_t scale; double out; };
    const Case cases[] = {
        {"0.125", 0, 100, 0.12}, {"0.375", 0, 100, 0.38}, {"x", 2.5, 1, 2},
        {"", 1.23456, 1000, 1.235}, {"0.5", 0, 1, 0}, {"1.5", 0, 1, 2},
        {"12.3456", 0, 1000, 12.346}, {"12,3456", 0, 1000, 0}, {" 3.5 ", 0, 1, 4},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(StrToRoundedFloat(c.in, c.def, c.scale), c.out) << c.in;
}

TEST_F(Conversions, FixedFormatsWhateverTheUserLocale)
{
    // The user's settings use a comma; the family's start-up replaces them.
    FormatSettings() = TFormatSettings::Create("de-DE");
    EXPECT_EQ(FormatFloat("####0.00", 123.5), "123,50");
    InitFamilyFormats();
    EXPECT_EQ(FormatFloat("####0.00", 123.5), "123.50");
    EXPECT_EQ(FormatDateTime("yyyy mmm dd  hh:nn", QDateTime(QDate(2024, 3, 5), QTime(14, 30))),
              "2024 Mar 05  14:30");
    EXPECT_EQ(FormatDateTime("ddddd", QDateTime(QDate(2024, 3, 5), QTime())), "2024-03-05");
    EXPECT_EQ(FormatSettings().ShortTimeFormat, "hh:mm:ss");
    EXPECT_DOUBLE_EQ(StrToRoundedFloat("12.3456", 0, 1000), 12.346);
    EXPECT_EQ(FamilyFormatSettings().DecimalSeparator, '.');
}

TEST_F(Conversions, SmallHelpers)
{
    EXPECT_EQ(BoolToText(true), "Yes");
    EXPECT_EQ(BoolToText(false), "No");
    EXPECT_EQ(Spaces(5), "     ");
    EXPECT_EQ(Spaces(0), "");
    EXPECT_EQ(Spaces(255).size(), 255);
}
