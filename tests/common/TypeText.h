#pragma once
// QTest::keyClicks aborts on text outside Latin-1: Cyrillic is typed one character at a time.

#include <QString>
#include <QTest>
#include <QWidget>

namespace kavelon::test {

inline void typeText(QWidget* w, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    for (const QChar ch : text) {
        const int key = ch.isLetterOrNumber() && ch.unicode() < 128 ? ch.toUpper().unicode() : 0;
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key(key ? key : Qt::Key_unknown), QString(ch),
                            mods);
    }
}

} // namespace kavelon::test
