// The printer set-up as the production seam shows it: only the printer, the orientation, the
// copies and the page range, driven with the keyboard and the mouse.

#include "app/Messages.h"
#include "app/PrinterSetupDialog.h"
#include "common/InShowing.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace kavelon;

namespace {

// Shows the production set-up on setup and acts on the dialog once it is the modal window; the
// dialog is cancelled afterwards if the actions left it open.
bool runSetup(PrinterSetup& setup, const std::function<void(QDialog&)>& act) {
    QDialog* dialog = nullptr;
    bool ok = false;
    test::actInShowing(
        QStringLiteral("the set-up dialog"),
        [&] { return (dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())); },
        [&] { ok = messages().printerSetup(setup); },
        [&] {
            act(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
    return ok;
}

template <class W> W* child(QDialog& dialog, const char* name) {
    W* w = dialog.findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// A click on a radio button's mark, as its text may end well before the middle of the button.
void clickMark(QRadioButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void typeNumber(QSpinBox* box, const char* digits) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QLatin1String(digits));
}

PrinterSetup preset() {
    PrinterSetup s;
    s.printers = {QStringLiteral("PDF"), QStringLiteral("Office")};
    s.printer = QStringLiteral("Office");
    s.maxPage = 3;
    return s;
}

} // namespace

TEST(PrinterSetup, OffersOnlyWhatThePrintoutHonours) {
    PrinterSetup setup = preset();
    const bool ok = runSetup(setup, [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Printer setup"));
        // Every button there is: nothing prints, nothing is offered that printing ignores.
        QStringList buttons;
        for (QAbstractButton* b : d.findChildren<QAbstractButton*>())
            buttons << b->text().remove(u'&');
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{QStringLiteral("All pages"), QStringLiteral("Cancel"),
                                        QStringLiteral("Landscape"), QStringLiteral("OK"),
                                        QStringLiteral("Pages from"), QStringLiteral("Portrait")}));
        QStringList inputs;
        for (QWidget* w : d.findChildren<QWidget*>())
            if (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                (qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractSpinBox*>(w->parent())))
                inputs << w->objectName();
        inputs.sort();
        EXPECT_EQ(inputs, (QStringList{QStringLiteral("Copies"), QStringLiteral("FromPage"),
                                       QStringLiteral("PrinterName"), QStringLiteral("ToPage")}));

        // Preset as asked: the report's printer, portrait, one copy, all pages.
        auto* printer = child<QComboBox>(d, "PrinterName");
        EXPECT_EQ(printer->count(), 2);
        EXPECT_EQ(printer->currentText(), QStringLiteral("Office"));
        EXPECT_TRUE(child<QRadioButton>(d, "Portrait")->isChecked());
        EXPECT_EQ(child<QSpinBox>(d, "Copies")->value(), 1);
        EXPECT_TRUE(child<QRadioButton>(d, "AllPages")->isChecked());
        EXPECT_FALSE(child<QSpinBox>(d, "FromPage")->isEnabled());

        printer->setFocus();
        QTest::keyClick(printer, Qt::Key_Up);
        clickMark(child<QRadioButton>(d, "Landscape"));
        typeNumber(child<QSpinBox>(d, "Copies"), "2");
        clickMark(child<QRadioButton>(d, "PageRange"));
        typeNumber(child<QSpinBox>(d, "FromPage"), "2");
        typeNumber(child<QSpinBox>(d, "ToPage"), "7"); // beyond the pages made: refused
        EXPECT_EQ(child<QSpinBox>(d, "ToPage")->value(), 3);
        QTest::mouseClick(child<QAbstractButton>(d, "OK"), Qt::LeftButton);
    });
    ASSERT_TRUE(ok);
    EXPECT_EQ(setup.printer, QStringLiteral("PDF"));
    EXPECT_TRUE(setup.landscape);
    EXPECT_EQ(setup.copies, 2);
    EXPECT_EQ(setup.fromPage, 2);
    EXPECT_EQ(setup.toPage, 3);
}

TEST(PrinterSetup, TheRangeStaysInOrderAndCancelChangesNothing) {
    PrinterSetup setup = preset();
    setup.landscape = true;
    setup.copies = 3;
    setup.fromPage = setup.toPage = 2;
    setup.maxPage = 4;
    const PrinterSetup before = setup;
    EXPECT_FALSE(runSetup(setup, [](QDialog& d) {
        EXPECT_TRUE(child<QRadioButton>(d, "Landscape")->isChecked());
        EXPECT_EQ(child<QSpinBox>(d, "Copies")->value(), 3);
        EXPECT_TRUE(child<QRadioButton>(d, "PageRange")->isChecked());
        auto* from = child<QSpinBox>(d, "FromPage");
        auto* to = child<QSpinBox>(d, "ToPage");
        EXPECT_EQ(from->value(), 2);
        typeNumber(to, "1"); // the start follows an end set before it
        EXPECT_EQ(from->value(), 1);
        typeNumber(from, "4"); // and the end a start set after it
        EXPECT_EQ(to->value(), 4);
        clickMark(child<QRadioButton>(d, "Portrait"));
        QTest::keyClick(&d, Qt::Key_Escape);
    }));
    EXPECT_EQ(setup.landscape, before.landscape);
    EXPECT_EQ(setup.copies, 3);
    EXPECT_EQ(setup.fromPage, 2);
    EXPECT_EQ(setup.toPage, 2);

    // All pages chosen again: no range is kept.
    EXPECT_TRUE(runSetup(setup, [](QDialog& d) {
        clickMark(child<QRadioButton>(d, "AllPages"));
        EXPECT_FALSE(child<QSpinBox>(d, "ToPage")->isEnabled());
        QTest::mouseClick(child<QAbstractButton>(d, "OK"), Qt::LeftButton);
    }));
    EXPECT_EQ(setup.fromPage, 0);
    EXPECT_EQ(setup.toPage, 0);
}
