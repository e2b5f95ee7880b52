// The grid's columns: from the cursor's fields, their widths, and dragging titles.

#include "GridFixture.h"

#include <QFontMetrics>

namespace kavelon::test {

TEST_F(GridTest, ColumnsFollowTheDeclaredFieldsWithWidthsFromTheFont) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    openGrid();
    ASSERT_EQ(grid->columnCount(), 8);
    const int zero = QFontMetrics(grid->font()).horizontalAdvance(u'0');
    const QFontMetrics title(grid->TitleFont());
    const auto& journal = schema::journal().columns;
    for (int i = 0; i < 8; ++i) {
        const ColumnSchema& c = journal[std::size_t(i)];
        EXPECT_EQ(grid->columnField(i), i);
        EXPECT_EQ(grid->columnWidth(i),
                  std::max(c.displayWidth * zero + 4, title.horizontalAdvance(c.name) + 4))
            << c.name.toStdString();
    }
}

TEST_F(GridTest, ANarrowColumnIsAsWideAsItsTitle) {
    std::vector<ColumnSchema> vehicles = schema::vehicles().columns;
    window.reset();
    openGrid(QStringLiteral("Транспортные ср-ва"), vehicles);
    QFont titleFont(QStringLiteral("MS Sans Serif"));
    titleFont.setPixelSize(11);
    grid->setTitleFont(titleFont);
    const int fuel = 4; // "Расход (л/100км)", display width 3
    ASSERT_EQ(vehicles[fuel].displayWidth, 3);
    EXPECT_EQ(grid->columnWidth(fuel),
              QFontMetrics(titleFont).horizontalAdvance(vehicles[fuel].name) + 4);
    EXPECT_GT(grid->columnWidth(fuel), 3 * QFontMetrics(grid->font()).horizontalAdvance(u'0') + 4);
}

TEST_F(GridTest, DraggingTitlesResizesAndMovesColumnsAndTheCurrentColumnGoesAlong) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    openGrid();
    goToColumn(Client);
    QWidget* view = grid->viewport();
    // The right edge of the "ID" title, 30 pixels to the right.
    const QRect id = grid->titleRect(ID);
    const QPoint edge(id.right() + 1, id.center().y());
    const int before = grid->columnWidth(ID);
    QTest::mousePress(view, Qt::LeftButton, {}, edge);
    QTest::mouseMove(view, edge + QPoint(30, 0));
    QTest::mouseRelease(view, Qt::LeftButton, {}, edge + QPoint(30, 0));
    EXPECT_EQ(grid->columnWidth(ID), before + 30);

    // The "Клиент" title dropped on the "Отправка" title.
    const QPoint from = grid->titleRect(Client).center();
    const QPoint to = grid->titleRect(Departure).center();
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, from - QPoint(10, 0));
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    EXPECT_EQ(grid->columnField(1), int(Client));
    EXPECT_EQ(grid->columnField(2), int(Departure));
    EXPECT_EQ(grid->currentColumn(), 1);
    type(QStringLiteral("Б"));
    key(Qt::Key_Return);
    EXPECT_EQ(table->FieldByName(QStringLiteral("Клиент")).AsString(), QStringLiteral("Б"));
}

} // namespace kavelon::test
