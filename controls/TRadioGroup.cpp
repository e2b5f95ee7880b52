#include "controls/TRadioGroup.h"

#include "app/Guard.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QRadioButton>

namespace kavelon {

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this)) {
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        guard([&] {
            if (id == itemIndex_)
                return;
            itemIndex_ = id;
            emit Click();
        });
    });
}

void TRadioGroup::setItems(const QStringList& items) {
    for (QRadioButton* b : buttons_)
        delete b;
    buttons_.clear();
    items_ = items;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(objectName() + QStringLiteral("Item%1").arg(i));
        group_->addButton(b, i);
        buttons_.push_back(b);
        b->show();
    }
    itemIndex_ = -1;
    placeButtons();
}

void TRadioGroup::setItemIndex(int index) {
    itemIndex_ = index >= 0 && index < int(buttons_.size()) ? index : -1;
    if (itemIndex_ >= 0)
        buttons_[std::size_t(itemIndex_)]->setChecked(true);
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    guard([&] {
        QGroupBox::resizeEvent(event);
        placeButtons();
    });
}

// Below the caption, each item gets an equal share of the height, its button centred in it.
void TRadioGroup::placeButtons() {
    if (buttons_.empty())
        return;
    const int top = QFontMetrics(font()).height() + 2;
    const int share = std::max(1, (height() - top - 4) / int(buttons_.size()));
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const int h = std::min(share, buttons_[i]->sizeHint().height());
        buttons_[i]->setGeometry(8, top + int(i) * share + (share - h) / 2, width() - 16, h);
    }
}

} // namespace kavelon
