// "Печать заказа" in the journal: the preview of the orders report over the journal as it stands.

#include "../../report/PreviewDriver.h"
#include "../JournalFixture.h"
#include "windows/journal/Unit4.h"

namespace kavelon::test {

TEST_F(JournalTest, PrintOrdersShowsThePreviewOverTheWholeJournal) {
    inJournal([this] {
        typeInto(Form2->Edit1, QStringLiteral("ив")); // the journal's search does not apply
        QStringList texts;
        QWidget* owner = nullptr;
        bool closedWithJournal = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            report::PreviewWindow* w = Form4->Report1->preview();
            if (!w || !runFinished(w) || owner)
                return;
            owner = w->parentWidget();
            for (const report::PageItem& i : w->pages()->pages.at(0).items)
                if (i.kind == report::PageItem::Text && i.text.size() > 2)
                    texts << i.text;
            Form2->close(); // closing the journal closes the preview first
            closedWithJournal = w->isClosed();
        });
        timer.start(5);
        Form2->Button4->click(); // returns when the preview has closed
        EXPECT_EQ(owner, Form2);
        EXPECT_TRUE(closedWithJournal);
        for (const char* client : {"Иванов", "Сивкова", "Петров", "Ab's"})
            EXPECT_TRUE(texts.contains(QString::fromUtf8(client))) << client;
        EXPECT_EQ(Form4->Report1->preview(), nullptr);
    });
    EXPECT_TRUE(forms->boxes.boxes().empty());
}

} // namespace kavelon::test
