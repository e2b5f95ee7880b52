// Ending the program: a real close request to the main window while a list window is shown.

#include "FormsFixture.h"
#include "WhenShown.h"
#include "reference/Unit5.h"
#include "shell/Unit1.h"

#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace kavelon;

namespace {
int rowsIn(const QString& file, const QString& table) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table).toUtf8();
    int n = -1;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}
} // namespace

// Ends the message loop for good, so it stands alone in its test (ctest runs each test in a
// process of its own).
TEST(Ending, CloseRequestWhileAWindowIsShownEndsTheProgramWithoutWritingPendingRows) {
    test::Forms forms;
    const QString file = forms.database.path();
    // An unposted new client on the list's cursor: dropped at the end, never written.
    Form5->ADOTable1->Insert();
    Form5->ADOTable1->FieldByName(QStringLiteral("Наименование"))
        .setAsString(QStringLiteral("Не записывать"));

    showMainWindow(Form1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    bool showingReturned = false, closedWhileShown = false;
    QTimer::singleShot(0, [&] {
        Form1->Button5->click(); // the clients list, shown modally
        showingReturned = true;
    });
    test::whenShown(Form5, [&] {
        // The path a window manager's close request takes through the platform layer.
        closedWhileShown = Form1->windowHandle()->close();
    });
    const int exitCode = QApplication::exec();

    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(closedWhileShown);
    EXPECT_TRUE(showingReturned);
    EXPECT_TRUE(programEnding());
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_EQ(modalWindow(), nullptr);
    // Showing anything more once ending returns at once.
    Form1->Button1->click();
    EXPECT_EQ(modalWindow(), nullptr);

    destroyForms(); // thirteenth first, the main window with the connection last
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Form5, nullptr);
    EXPECT_EQ(rowsIn(file, schema::clientsTable), 0);
}
