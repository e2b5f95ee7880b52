// The pages of the orders report as display lists: rows per page, positions, page elements and
// the printed texts of the values.

#include "ReportFixture.h"
#include "report/ReportRun.h"

#include <QLocale>

using namespace kavelon;
using namespace kavelon::report;
using namespace kavelon::test;

namespace {

const QStringList captions{QStringLiteral("ID"),           QStringLiteral("Отправка"),
                           QStringLiteral("Насел. пункт"), QStringLiteral("Клиент"),
                           QStringLiteral("Водитель"),     QStringLiteral("Транспортное ср-во"),
                           QStringLiteral("Вес груза"),    QStringLiteral("Итого")};

QStringList texts(const Page& page) {
    QStringList out;
    for (const PageItem& i : page.items)
        if (i.kind == PageItem::Text && !i.text.isEmpty())
            out << i.text;
    return out;
}

// Tops of the bands (white fills 189.97 mm wide) on a page.
std::vector<Length> bandTops(const Page& page) {
    std::vector<Length> tops;
    for (const PageItem& i : page.items)
        if (i.kind == PageItem::Fill && i.width == 18997)
            tops.push_back(i.y);
    return tops;
}

const PageItem* textItem(const Page& page, const QString& text) {
    for (const PageItem& i : page.items)
        if (i.kind == PageItem::Text && i.text == text)
            return &i;
    return nullptr;
}

PageSet makePages(const ReportDefinition& d, TableCursor* cursor,
                  Orientation o = Orientation::Portrait) {
    ReportRun run(d, o, cursor, 96);
    EXPECT_TRUE(run.run());
    return run.takePages();
}

} // namespace

TEST_F(ReportTest, EmptyJournalGivesOnePageWithTitleAndCaptions) {
    open();
    const PageSet pages = makePages(Report1->definition(), cursor.get());
    ASSERT_EQ(pages.pages.size(), 1u);
    EXPECT_EQ(pages.width, 21000);
    EXPECT_EQ(pages.height, 29700);
    EXPECT_EQ(texts(pages.pages[0]), QStringList{QStringLiteral("Печать заказов")} + captions);
    // The one band with empty values is there, at the top margin, under the page elements.
    EXPECT_EQ(bandTops(pages.pages[0]), std::vector<Length>{2000});
    EXPECT_EQ(pages.pages[0].items.front().kind, PageItem::Fill);

    // A closed cursor prints the same empty band rather than failing.
    cursor->Close();
    EXPECT_EQ(texts(makePages(Report1->definition(), cursor.get()).pages[0]).size(), 9);
}

TEST_F(ReportTest, TwentyFiveRowsFillAPageAndTheNextStartsPageTwo) {
    addOrders(51);
    open();
    const PageSet pages = makePages(Report1->definition(), cursor.get());
    ASSERT_EQ(pages.pages.size(), 3u);
    const std::vector<Length> tops = bandTops(pages.pages[0]);
    ASSERT_EQ(tops.size(), 25u);
    for (int n = 0; n < 25; ++n) {
        EXPECT_EQ(tops[n], 2000 + 1060 * n);
        // row n's values at 26.35 + 10.6 n mm: ID at the left margin, "Сумма" at 185.68 mm
        const PageItem* id = textItem(pages.pages[0], QString::number(n + 1));
        ASSERT_NE(id, nullptr) << n;
        EXPECT_EQ(id->y, 2635 + 1060 * n);
        EXPECT_EQ(id->x, 1000);
        const PageItem* sum = textItem(pages.pages[0], QString::number(1001 + n));
        ASSERT_NE(sum, nullptr);
        EXPECT_EQ(sum->x, 18568);
        EXPECT_EQ(sum->y, id->y);
    }
    // The 26th row is the first of page 2, at 20.0 mm, with the title and captions after it.
    EXPECT_EQ(bandTops(pages.pages[1]).front(), 2000);
    EXPECT_EQ(textItem(pages.pages[1], QStringLiteral("26"))->y, 2635);
    EXPECT_EQ(bandTops(pages.pages[2]).size(), 1u);
    for (const Page& page : pages.pages) {
        const QStringList t = texts(page);
        EXPECT_EQ(t.mid(t.size() - 9), QStringList{QStringLiteral("Печать заказов")} + captions);
    }

    // The title keeps its centre at 107.42 mm whatever width its text takes.
    const PageItem* title = textItem(pages.pages[0], QStringLiteral("Печать заказов"));
    EXPECT_NEAR(title->x + title->width / 2.0, 10742, 1.0);
    EXPECT_EQ(title->y, 0);
    EXPECT_EQ(title->alignment, Alignment::Centre);
    // Auto-size: the caption's box follows its text (pixels at 96 dpi plus one).
    const PageItem* caption = textItem(pages.pages[0], QStringLiteral("Итого"));
    EXPECT_EQ(caption->x, 18627);
    EXPECT_GT(caption->width, 300);
    EXPECT_LT(caption->width, 2000);
}

TEST_F(ReportTest, LandscapeHoldsSixteenRows) {
    addOrders(33);
    open();
    const PageSet pages = makePages(Report1->definition(), cursor.get(), Orientation::Landscape);
    EXPECT_EQ(pages.width, 29700);
    EXPECT_EQ(pages.height, 21000);
    ASSERT_EQ(pages.pages.size(), 3u);
    EXPECT_EQ(bandTops(pages.pages[0]).size(), 16u);
    EXPECT_EQ(bandTops(pages.pages[1]).size(), 16u);
    EXPECT_EQ(bandTops(pages.pages[2]).size(), 1u);
    // Every element keeps its distance from the top-left corner.
    EXPECT_NEAR(textItem(pages.pages[0], QStringLiteral("Печать заказов"))->x +
                    textItem(pages.pages[0], QStringLiteral("Печать заказов"))->width / 2.0,
                10742, 1.0);
}

TEST_F(ReportTest, ValuesPrintAsTheirFieldTexts) {
    db.exec(QStringLiteral(
        "INSERT INTO \"Журнал\" (\"Отправка\", \"Населённый пункт\", \"Клиент\", \"Водитель\", "
        "\"Транспортное средство\", \"Вес груза\", \"Сумма\") VALUES "
        "('2024-03-05 00:00:00', 'Тверь', 'ООО Ромашка', 'Иванов', 'КАМАЗ', NULL, 1234567),"
        "('2024-03-06 14:30:00', 'Клин', 'ИП Петров', 'Сидоров', 'ГАЗель', -5, 0)"));
    open();
    const PageSet pages = makePages(Report1->definition(), cursor.get());
    const QStringList t = texts(pages.pages[0]);
    const QString date5 =
        QLocale(QLocale::Russian).toString(QDate(2024, 3, 5), QLocale::ShortFormat);
    const QString date6 =
        QLocale(QLocale::Russian).toString(QDate(2024, 3, 6), QLocale::ShortFormat);
    EXPECT_EQ(t.mid(0, 7), (QStringList{QStringLiteral("1"), date5, QStringLiteral("Тверь"),
                                        QStringLiteral("ООО Ромашка"), QStringLiteral("Иванов"),
                                        QStringLiteral("КАМАЗ"), QStringLiteral("1234567")}));
    EXPECT_EQ(t[8], date6 + QStringLiteral(" 14:30:00"));
    EXPECT_EQ(t.mid(13, 2), (QStringList{QStringLiteral("-5"), QStringLiteral("0")}));
    // The missing weight leaves an empty text in its white box.
    int emptyTexts = 0;
    for (const PageItem& i : pages.pages[0].items)
        emptyTexts += i.kind == PageItem::Text && i.text.isEmpty() && i.x == 16452;
    EXPECT_EQ(emptyTexts, 1);
}

TEST_F(ReportTest, AColumnTheCursorLacksPrintsNothingAndStoppingDropsOrEndsThePage) {
    addOrders(30);
    open();
    ReportDefinition d = Report1->definition();
    d.detail.values[3].column = QStringLiteral("Нет такого");
    ReportRun run(d, Orientation::Portrait, cursor.get(), 96);
    int made = 0;
    run.pageMade = [&](int page) { made = page; };
    run.beforeRow = [](int done, int) {
        return done == 27 ? ReportRun::Stop::EndPage : ReportRun::Stop::No;
    };
    EXPECT_FALSE(run.run());
    EXPECT_EQ(made, 2); // the page with rows 26 and 27 still ends with its title and captions
    EXPECT_FALSE(texts(run.pages().pages[1]).contains(QStringLiteral("Клиент 26")));
    EXPECT_TRUE(texts(run.pages().pages[1]).contains(QStringLiteral("Водитель 26")));
    EXPECT_TRUE(texts(run.pages().pages[1]).contains(QStringLiteral("Итого")));

    ReportRun dropped(d, Orientation::Portrait, cursor.get(), 96);
    dropped.beforeRow = [](int done, int) {
        return done == 27 ? ReportRun::Stop::DropPage : ReportRun::Stop::No;
    };
    EXPECT_FALSE(dropped.run());
    EXPECT_FALSE(texts(dropped.pages().pages[1]).contains(QStringLiteral("Итого")));
}
