#pragma once
// The mini bar: a 20-pixel strip that stands in for the folded panel until the mouse enters it.
#include <QLabel>
#include <QWidget>
#include <functional>

namespace zk {

class TMinForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TMinForm1(QWidget* parent = nullptr);
    void setEnteredHandler(std::function<void()> handler) { entered_ = std::move(handler); }
    QLabel* Image1 = nullptr;

    void Image1MouseEnter();

protected:
    void enterEvent(QEnterEvent* event) override;

private:
    std::function<void()> entered_;
};

} // namespace zk
