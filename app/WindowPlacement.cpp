// Where the panel, the browser and the spreadsheet windows sit, remembered between runs.
#include "app/Mainform.h"
#include "app/Regmanage.h"

#include <QApplication>

namespace zk {

void TMain::restorePlacement(DesktopWindow* window, const QString& name) {
    if (!window) return;
    TRegManage reg;
    reg.TargetName = name;
    reg.Open();
    reg.Read();
    const QRect work = Desktop::instance().workArea();
    const bool self = name == "Zerkon";
    if (reg.Top == 0 && reg.Left == 0 && reg.Height == 0 && reg.Width == 0 && self) {
        window->setPlacement(QRect(0, work.height() - height(), width(), height()));
    } else {
        int top = reg.Top;
        int left = reg.Left;
        if (top < -10 || top >= work.height()) top = work.height() - height();
        if (left < -10 || left >= work.width()) left = 0;
        if (reg.Width > 0 && reg.Height > 0) {
            window->setPlacement(self ? QRect(left, top, width(), height()) : QRect(left, top, reg.Width, reg.Height));
            QApplication::processEvents();
        }
    }
    reg.Close();
}

void TMain::savePlacement(DesktopWindow* window, const QString& name) {
    QRect normal;
    if (!window || !window->placement(normal)) return;
    TRegManage reg;
    reg.TargetName = name;
    reg.Left = normal.left();
    reg.Top = normal.top();
    reg.Width = normal.width();
    reg.Height = normal.height();
    reg.Open();
    reg.Write();
    reg.Close();
}

} // namespace zk
