// Every button of the thirteen windows keeps its designed size and shows its whole caption in the
// faces that stand in for the designed ones.

#include "../FormsFixture.h"

#include "app/Buttons.h"
#include "windows/journal/Unit2.h"
#include "windows/reference/Unit9.h"
#include "windows/shell/Unit1.h"

#include <QPushButton>
#include <gtest/gtest.h>

using namespace kavelon;

TEST(ButtonCaptions, NoCaptionIsWiderThanItsButtonAndTheButtonsKeepTheirDesign) {
    test::Forms forms;
    int buttons = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->objectName().startsWith(QStringLiteral("Form")))
            continue;
        for (QPushButton* b : window->findChildren<QPushButton*>()) {
            ++buttons;
            EXPECT_LE(captionWidth(b), captionRoom(b))
                << window->objectName().toStdString() << " " << b->text().toStdString();
        }
    }
    EXPECT_GE(buttons, 5 + 5 + 4 * 4 + 4 * 2);

    // The ones the substitute faces made too wide keep their size and their face.
    const struct {
        QPushButton* button;
        QRect geometry;
        const char* family;
        int pixels;
    } designed[] = {{Form2->Button4, {472, 16, 121, 30}, "Georgia", 16},
                    {Form2->Button1, {56, 16, 113, 30}, "Georgia", 16},
                    {Form9->Button2, {112, 16, 107, 25}, "Georgia", 13},
                    {Form1->Button4, {32, 272, 177, 33}, "Segoe UI", 15}};
    for (const auto& d : designed) {
        EXPECT_EQ(d.button->geometry(), d.geometry) << d.button->text().toStdString();
        EXPECT_EQ(d.button->font().family(), QString::fromLatin1(d.family));
        EXPECT_EQ(d.button->font().pixelSize(), d.pixels);
    }
}
