#pragma once
// A fresh database, its connection, cursors opened as a dialog opens its own, and a shown,
// active window to put controls on, with the recording message seam in force.

#include "common/RecordingMessages.h"
#include "common/TempDatabase.h"
#include "controls/TDataSource.h"
#include "data/Connection.h"
#include "data/TableCursor.h"

#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace kavelon::test {

class ControlTest : public ::testing::Test {
protected:
    TempDatabase db;
    RecordingMessages recorded;
    Connection connection;
    std::vector<std::unique_ptr<TableCursor>> cursors;
    std::unique_ptr<QWidget> window;
    QPushButton* button = nullptr; // another control of the window, to leave to
    int buttonClicks = 0;

    void SetUp() override {
        db.enter();
        window = std::make_unique<QWidget>();
        window->setObjectName(QStringLiteral("Form"));
        window->resize(420, 300);
        button = new QPushButton(QStringLiteral("ОК"), window.get());
        button->setObjectName(QStringLiteral("Button1"));
        button->setGeometry(300, 250, 100, 30);
        QObject::connect(button, &QPushButton::clicked, [this] { ++buttonClicks; });
    }

    void TearDown() override {
        window.reset(); // the controls go before the data sources and cursors they use
    }

    TableCursor& open(const QString& table, const QString& name = QStringLiteral("ADOTable1")) {
        auto cursor = std::make_unique<TableCursor>(name);
        cursor->setConnection(&connection);
        cursor->setTableName(table);
        cursor->Open();
        cursors.push_back(std::move(cursor));
        return *cursors.back();
    }

    TDataSource* source(TableCursor& cursor) {
        auto* s = new TDataSource(window.get());
        s->setDataSet(&cursor);
        return s;
    }

    void showWindow() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void focus(QWidget* w) {
        w->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    // Leaves a control for the button by clicking it, as a user does.
    void clickButton() { QTest::mouseClick(button, Qt::LeftButton); }

    void sql(const QString& statement) { db.exec(statement); }

    QStringList errors() const { return recorded.texts(RecordingMessages::Kind::Error); }
};

} // namespace kavelon::test
