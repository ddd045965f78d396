#pragma once
// A titled group of radio buttons chosen by index, as the panel's option groups behave:
// "時間のゆらぎ", "価格一時変更", "送信", the collection mode.
#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

namespace zk {

class RadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex)
    Q_PROPERTY(int columns READ columns WRITE setColumns)
public:
    explicit RadioGroup(QWidget* parent = nullptr);

    QStringList items() const { return items_; }
    void setItems(const QStringList& items);
    // -1 when no item is chosen.
    int itemIndex() const;
    void setItemIndex(int index);
    int columns() const { return columns_; }
    void setColumns(int columns);
    QString itemText() const { return items_.value(itemIndex()); }
    QAbstractButton* button(int index) const { return group_.button(index); }

signals:
    // The user (or a scripted click) chose an item.
    void clicked(int index);

private:
    void rebuild();

    QStringList items_;
    int columns_ = 1;
    int wanted_ = -1;
    QButtonGroup group_;
};

} // namespace zk
