#include "CodePage.h"

#include <gtest/gtest.h>

using namespace zvo;

TEST(CodePage, Windows1252BothWays)
{
    const QString text = QString::fromUtf8("Café €5 – ü");
    const QByteArray ansi = StringToAnsi(text);
    EXPECT_EQ(ansi, QByteArray("Caf\xE9 \x80" "5 \x96 \xFC"));
    EXPECT_EQ(AnsiToString(ansi), text);
    // Characters outside the code page become "?"; unassigned bytes survive a round trip.
    EXPECT_EQ(StringToAnsi(QString::fromUtf8("a\u4e2db")), "a?b");
    EXPECT_EQ(StringToAnsi(AnsiToString("\x81\x8D")), "\x81\x8D");
}

TEST(CodePage, Utf7BothWays)
{
    const QString text = QString::fromUtf8("Hi Mom -☺-!");
    const QByteArray utf7 = StringToUtf7(text);
    EXPECT_EQ(Utf7ToString(utf7), text);
    EXPECT_EQ(Utf7ToString("A+ImIDkQ."), QString::fromUtf8("A≢Α."));
}
