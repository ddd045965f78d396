#include "RadioGroup.h"

#include <QGridLayout>
#include <QRadioButton>

namespace zk {

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    connect(&group_, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

void RadioGroup::setItems(const QStringList& items) {
    items_ = items;
    rebuild();
}

void RadioGroup::setColumns(int columns) {
    columns_ = std::max(1, columns);
    rebuild();
}

void RadioGroup::rebuild() {
    const int chosen = itemIndex() >= 0 ? itemIndex() : wanted_;
    for (QAbstractButton* b : group_.buttons()) {
        group_.removeButton(b);
        delete b;
    }
    auto* grid = static_cast<QGridLayout*>(layout());
    for (int i = 0; i < items_.size(); ++i) {
        auto* radio = new QRadioButton(items_[i], this);
        radio->setObjectName(objectName() + QString::number(i));
        group_.addButton(radio, i);
        // The last item of a short row spans the rest of it, so it does not narrow the columns above.
        const bool last = i == items_.size() - 1;
        grid->addWidget(radio, i / columns_, i % columns_, 1, last ? columns_ - i % columns_ : 1);
    }
    setItemIndex(chosen);
}

int RadioGroup::itemIndex() const { return group_.checkedId(); }

void RadioGroup::setItemIndex(int index) {
    // Forms set the index before the items (captions come with the translation step): keep it.
    wanted_ = index;
    if (QAbstractButton* b = group_.button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = group_.checkedButton()) {
        group_.setExclusive(false);
        checked->setChecked(false);
        group_.setExclusive(true);
    }
}

} // namespace zk
