#include "controls/FormSetup.h"

#include <QWidget>

namespace kavelon {

QFont pixelFont(const QString& family, int pixelHeight, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QFont defaultFormFont() {
    return pixelFont(QStringLiteral("MS Sans Serif"), 11);
}

void setUpForm(QWidget* form, const QString& objectName, const QString& caption, QSize client) {
    form->setObjectName(objectName);
    form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    form->setWindowTitle(caption);
    form->setFont(defaultFormFont());
    form->setFixedSize(client);
}

} // namespace kavelon
