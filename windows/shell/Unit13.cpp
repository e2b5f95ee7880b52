#include "windows/shell/Unit13.h"

#include "app/FormSetup.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

using namespace kavelon;

TForm13* Form13 = nullptr;

TForm13::TForm13() {
    setUpForm(this, QStringLiteral("Form13"), QStringLiteral("О программе..."), {402, 230});

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 0, 402, 230);
    Memo1->setFont(pixelFont(QStringLiteral("Comic Sans MS"), 16));
    QPalette navy = Memo1->palette();
    navy.setColor(QPalette::Text, QColor(0, 0, 128));
    Memo1->setPalette(navy);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setTabChangesFocus(true);
    Memo1->setPlainText(QStringList{
        QStringLiteral("Кавелон"),
        QStringLiteral("Журнал заказов грузоперевозок"),
        QStringLiteral("Автор: команда разработчиков «Кавелона»"),
        QString(),
        QStringLiteral("Данный ПП предназначен для овтоматизации "),
        QStringLiteral("рабочего места "),
        QStringLiteral("диспетчера по заполнению заказов. "),
        QString(),
        QStringLiteral("Прриятной работы..."),
    }
                            .join(QLatin1Char('\n')));
    Memo1->installEventFilter(this);
    Memo1->setFocus();
}

bool TForm13::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}
