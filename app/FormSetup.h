#pragma once
// What every window of the program shares in its form description: a fixed single border with
// the system menu, minimise and close boxes (no maximise), the focus shown from the first showing,
// the caption, the client size and the default font, "MS Sans Serif" 11 pixels high.

#include <QFont>
#include <QSize>
#include <QString>

class QWidget;

namespace kavelon {

// A font asked for by family and character height in pixels, as the windows name them.
QFont pixelFont(const QString& family, int pixelHeight, bool bold = false);

// The windows' default font.
QFont defaultFormFont();

// The border every window has, and its focus frame drawn from the start rather than only after
// the first Tab.
void setFormFrame(QWidget* form);

// Makes the widget a top-level window of the program with its name, caption and fixed client size.
void setUpForm(QWidget* form, const QString& objectName, const QString& caption, QSize client);

} // namespace kavelon
