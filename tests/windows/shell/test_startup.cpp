// The start-up: thirteen windows created hidden in order, each opening its cursors.

#include "../FormsFixture.h"
#include "app/Guard.h"
#include "windows/journal/Unit2.h"
#include "windows/journal/Unit3.h"
#include "windows/journal/Unit4.h"
#include "windows/reference/Unit10.h"
#include "windows/reference/Unit11.h"
#include "windows/reference/Unit12.h"
#include "windows/reference/Unit5.h"
#include "windows/reference/Unit6.h"
#include "windows/reference/Unit7.h"
#include "windows/reference/Unit8.h"
#include "windows/reference/Unit9.h"
#include "windows/shell/Unit1.h"
#include "windows/shell/Unit13.h"

#include <gtest/gtest.h>

using namespace kavelon;
using Kind = test::RecordingMessages::Kind;

namespace {
// The sixteen cursors in the order in which they open.
std::vector<TableCursor*> allCursors() {
    return {Form2->ADOTable1.get(),  Form3->ADOTable1.get(),  Form3->ADOTable2.get(),
            Form3->ADOTable3.get(),  Form3->ADOTable4.get(),  Form3->ADOTable5.get(),
            Form4->ADOTable1.get(),  Form5->ADOTable1.get(),  Form6->ADOTable1.get(),
            Form7->ADOTable1.get(),  Form8->ADOTable1.get(),  Form9->ADOTable1.get(),
            Form10->ADOTable1.get(), Form11->ADOTable1.get(), Form12->ADOTable1.get(),
            Form12->ADOTable2.get()};
}

QString lastError(const test::RecordingMessages& boxes) {
    const QStringList errors = boxes.texts(Kind::Error);
    return errors.isEmpty() ? QString() : errors.back();
}
} // namespace

TEST(Startup, MissingFileGivesSeventeenErrorBoxesThenEveryCursorFailsAsClosed) {
    test::Forms forms(false);
    const QStringList errors = forms.boxes.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 17);
    for (const QString& e : errors) {
        EXPECT_EQ(e, errors.front());
        EXPECT_TRUE(e.contains(QStringLiteral("кавелон.mdb"))) << e.toStdString();
    }
    EXPECT_TRUE(forms.boxes.texts(Kind::Fatal).isEmpty());
    EXPECT_FALSE(Form1->ADOConnection1->Connected());
    for (TableCursor* c : allCursors())
        EXPECT_FALSE(c->Active()) << c->Name().toStdString();

    // The program goes on; the cursors' operations fail with their prefixed messages.
    guard([] { Form2->ADOTable1->Delete(); });
    EXPECT_EQ(lastError(forms.boxes),
              QStringLiteral("ADOTable1: Cannot perform this operation on a closed dataset."));
    guard([] { Form3->ADOTable5->First(); });
    EXPECT_EQ(lastError(forms.boxes),
              QStringLiteral("ADOTable5: Cannot perform this operation on a closed dataset."));
    guard([] { Form11->ADOTable1->Insert(); });
    EXPECT_EQ(lastError(forms.boxes),
              QStringLiteral("ADOTable1: Cannot perform this operation on a closed dataset."));
    guard([] { Form2->ADOTable1->Post(); });
    EXPECT_EQ(lastError(forms.boxes),
              QStringLiteral("ADOTable1: Dataset not in edit or insert mode."));
    EXPECT_EQ(forms.boxes.texts(Kind::Error).size(), 21);
}

TEST(Startup, AnUnreachableServerGivesTheErrorBoxesOfAMissingFileNamingTheLink) {
    test::Forms forms(
        test::Forms::LinkTo{QStringLiteral("postgresql:///kavelon?host=%2Fnonexistent")});
    const QStringList errors = forms.boxes.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 17);
    EXPECT_TRUE(errors.front().contains(QStringLiteral("кавелон.mdb\" names cannot be reached")))
        << errors.front().toStdString();
    EXPECT_TRUE(forms.boxes.texts(Kind::Fatal).isEmpty());
    EXPECT_FALSE(Form1->ADOConnection1->Connected());
    for (TableCursor* c : allCursors())
        EXPECT_FALSE(c->Active()) << c->Name().toStdString();
}

TEST(Startup, WithTheFileEveryWindowExistsHiddenWithItsCaptionSizeAndOpenCursors) {
    test::Forms forms;
    EXPECT_TRUE(forms.boxes.boxes().empty());
    EXPECT_TRUE(Form1->ADOConnection1->Connected());
    for (TableCursor* c : allCursors()) {
        EXPECT_TRUE(c->Active()) << c->Name().toStdString();
        EXPECT_EQ(c->State(), dsBrowse);
    }
    // Declared fields for the windows with a grid, every column for the others.
    EXPECT_EQ(Form2->ADOTable1->FieldCount(), int(schema::journal().columns.size()));
    EXPECT_EQ(Form5->ADOTable1->FieldCount(), int(schema::clients().columns.size()));
    EXPECT_EQ(Form11->ADOTable1->FieldCount(), int(schema::drivers().columns.size()));
    EXPECT_EQ(Form3->ADOTable5->TableName(), schema::vehiclesTable);
    EXPECT_EQ(Form12->ADOTable2->TableName(), schema::vehiclesTable);

    const struct {
        QWidget* form;
        const char* caption;
        QSize client;
    } expected[] = {
        {Form2, "Журнал", {822, 633}},
        {Form3, "Новый заказ", {384, 387}},
        {Form4, "Печать заказа", {400, 300}},
        {Form5, "Клиенты", {701, 355}},
        {Form6, "Добавить клиента", {356, 239}},
        {Form7, "Населённые пункты", {530, 447}},
        {Form8, "Добавить населённый пункт", {420, 182}},
        {Form9, "Транспортные средства", {694, 339}},
        {Form10, "Добавить транспортное средство", {449, 286}},
        {Form11, "Водители", {758, 316}},
        {Form12, "Добавить водителя", {528, 341}},
        {Form13, "О программе...", {402, 230}},
    };
    EXPECT_FALSE(Form1->isVisible());
    for (const auto& e : expected) {
        EXPECT_EQ(e.form->windowTitle(), QString::fromUtf8(e.caption));
        EXPECT_EQ(e.form->size(), e.client) << e.caption;
        EXPECT_EQ(e.form->minimumSize(), e.form->maximumSize()) << e.caption;
        EXPECT_FALSE(e.form->windowFlags() & Qt::WindowMaximizeButtonHint) << e.caption;
        EXPECT_FALSE(e.form->isVisible()) << e.caption;
    }
}
