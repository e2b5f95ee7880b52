// The texts of the boxes: the title, the error box's final ".", the fatal box's report.

#include "app/MessageText.h"

#include <gtest/gtest.h>

using namespace kavelon;

TEST(MessageTexts, TitleIsTheProgramFileNameUpToItsFirstDot) {
    EXPECT_EQ(applicationTitleFrom(QStringLiteral("Test.Copy.exe")), QStringLiteral("Test"));
    EXPECT_EQ(applicationTitleFrom(QStringLiteral("MYPROG.EXE")), QStringLiteral("Myprog"));
    EXPECT_EQ(applicationTitleFrom(QStringLiteral("/opt/kavelon/bin/Kavelon")),
              QStringLiteral("Kavelon"));
    EXPECT_EQ(applicationTitleFrom(QStringLiteral("C:\\Программы\\КАВЕЛОН.EXE")),
              QStringLiteral("Кавелон"));
    EXPECT_EQ(applicationTitleFrom(QStringLiteral("x")), QStringLiteral("x"));
}

TEST(MessageTexts, ErrorBoxAddsAPeriodAfterCharactersThatComeAfterIt) {
    for (const char* unchanged : {"a,", "a-", "a.", "a!", "a)", "a'", "a\"", "a "})
        EXPECT_EQ(withErrorBoxPeriod(QString::fromUtf8(unchanged)), QString::fromUtf8(unchanged))
            << unchanged;
    for (const char* extended : {"a/", "a1", "a:", "a?", "ab", "не найден", "Z"})
        EXPECT_EQ(withErrorBoxPeriod(QString::fromUtf8(extended)),
                  QString::fromUtf8(extended) + QLatin1Char('.'))
            << extended;
    EXPECT_EQ(withErrorBoxPeriod(QString()), QString());
}

TEST(MessageTexts, FatalReportNamesClassModuleLocationAndMessage) {
    EXPECT_EQ(fatalText(QStringLiteral("ResourceError"), QStringLiteral("Kavelon"), 0,
                        QStringLiteral("JPEG data is damaged")),
              QStringLiteral("Exception ResourceError in module Kavelon at 00000000.\r\n"
                             "JPEG data is damaged.\r\n"));
    // The fatal box's own rule: only a final "." stops the extra one, not "!" or ")".
    EXPECT_EQ(fatalText(QStringLiteral("Error"), QStringLiteral("Kavelon"), 0x4a3f2b,
                        QStringLiteral("Stop!")),
              QStringLiteral("Exception Error in module Kavelon at 004A3F2B.\r\nStop!.\r\n"));
    EXPECT_EQ(fatalText(QStringLiteral("EngineUnavailableError"), QStringLiteral("Kavelon"), 0,
                        QStringLiteral("Done.")),
              QStringLiteral("Exception EngineUnavailableError in module Kavelon at "
                             "00000000.\r\nDone.\r\n"));
    EXPECT_EQ(fatalText(QStringLiteral("Error"), QStringLiteral("Kavelon"), 0, QString()),
              QStringLiteral("Exception Error in module Kavelon at 00000000.\r\n\r\n"));
    // A message with %-signs is taken as it stands.
    EXPECT_EQ(fatalText(QStringLiteral("Error"), QStringLiteral("K"), 0, QStringLiteral("%1 %2")),
              QStringLiteral("Exception Error in module K at 00000000.\r\n%1 %2.\r\n"));
}
