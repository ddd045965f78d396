#pragma once
// Works the main window as a user does: a control is found by the name it carries (or a button
// by its caption), and is pressed, chosen or held so that its own handler runs. A control that is
// not there throws, which a test reports as a failure naming the control.
#include "platform/RadioGroup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTimer>
#include <QWidget>
#include <stdexcept>
#include <string>

namespace zk::test {

class PanelDriver {
public:
    explicit PanelDriver(QWidget& window) : window_(window) {}

    template <class T = QWidget>
    T* find(const QString& name) const {
        T* found = window_.findChild<T*>(name);
        if (!found) throw std::runtime_error("the panel has no " + name.toStdString() + " of the kind asked for");
        return found;
    }
    // A button by its caption as the user reads it (without its accelerator, "(&S)" or "&"), or
    // else by its name.
    QAbstractButton* button(const QString& captionOrName) const {
        static const QRegularExpression accelerator(QStringLiteral("\\(&.\\)$|&"));
        for (QAbstractButton* b : window_.findChildren<QAbstractButton*>())
            if (b->text().remove(accelerator) == captionOrName) return b;
        return find<QAbstractButton>(captionOrName);
    }
    void click(const QString& captionOrName) const { button(captionOrName)->click(); }
    // A row of a list chosen as the user chooses it: the list's handler runs.
    void choose(const QString& list, int row) const {
        QComboBox* box = find<QComboBox>(list);
        box->setCurrentIndex(row);
        emit box->activated(row);
    }
    // An item of a radio group clicked.
    void pick(const QString& group, int item) const {
        RadioGroup* radios = find<RadioGroup>(group);
        radios->setItemIndex(item);
        emit radios->clicked(item);
    }
    // The left button pressed on, or released over, a control that reacts to the mouse.
    void press(const QString& name) const { mouse(name, QEvent::MouseButtonPress); }
    void release(const QString& name) const { mouse(name, QEvent::MouseButtonRelease); }
    // A timer of the window run now rather than when it is due.
    void fire(const QString& timer) const {
        QTimer* t = find<QTimer>(timer);
        t->start(0);
        QApplication::processEvents();
        for (int i = 0; i < 100 && t->isActive() && t->interval() == 0; ++i) QApplication::processEvents();
    }

private:
    void mouse(const QString& name, QEvent::Type type) const {
        QWidget* target = find(name);
        const QPointF at = QRectF(target->rect()).center();
        QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    QWidget& window_;
};

} // namespace zk::test
