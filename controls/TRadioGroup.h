#pragma once
// A captioned group of radio buttons, one item selected: the group holds the items' texts and the
// selected item's index, and tells when the user picks another item.

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace kavelon {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    // One radio button per item, spread evenly over the group's height.
    void setItems(const QStringList& items);
    const QStringList& Items() const { return items_; }
    int ItemIndex() const { return itemIndex_; }
    void setItemIndex(int index); // tells nothing: only the user's pick is a click
    QRadioButton* button(int index) const { return buttons_.at(std::size_t(index)); }

signals:
    // The user picked an item other than the selected one.
    void Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeButtons();

    QStringList items_;
    std::vector<QRadioButton*> buttons_;
    QButtonGroup* group_;
    int itemIndex_ = -1;
};

} // namespace kavelon
