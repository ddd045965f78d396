// The option groups' rows: each choice as wide as its text needs when the group is as wide as its
// widest row, as the forms size them.
#include "platform/RadioGroup.h"

#include <QApplication>
#include <QLayout>
#include <QRadioButton>
#include <gtest/gtest.h>

TEST(RadioGroup, AShortLastRowDoesNotNarrowTheColumnsAbove) {
    struct Case {
        QStringList items;
        int columns;
    };
    // The last choice longer than the one above it, alone on its row.
    const QList<Case> cases = {
        {{"使用", "不使用", "値下げ"}, 2},
        {{"a", "bb", "cccccccccc", "dddddddddd", "eeeeeeeeeeeeeeeeee"}, 2},
        {{"出品中", "落札有", "落札無", "落札者無しの全件"}, 3},
        {{"する", "しない"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.items.join('/').toStdString());
        QWidget host;
        auto* group = new zk::RadioGroup(&host);
        group->setTitle("T");
        group->setColumns(c.columns);
        group->setItems(c.items);
        const auto buttons = group->findChildren<QRadioButton*>();
        ASSERT_EQ(buttons.size(), c.items.size());
        int widest = 0;
        for (int start = 0; start < buttons.size(); start += c.columns) {
            const int end = std::min<int>(start + c.columns, buttons.size());
            int width = (end - start - 1) * group->layout()->spacing();
            for (int i = start; i < end; ++i) width += buttons[i]->sizeHint().width();
            widest = std::max(widest, width);
        }
        const QMargins margins = group->layout()->contentsMargins();
        const int frame = group->width() - group->contentsRect().width();
        group->resize(widest + margins.left() + margins.right() + frame + 4, group->sizeHint().height());
        host.show();
        QApplication::processEvents();
        for (QRadioButton* b : buttons) EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
    }
}
