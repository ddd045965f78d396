#pragma once
// The program's life from its first window to the end of its event loop: one Zerkon per user, the
// main window and the mini bar. Shared by the shipped program and the unattended driver of
// `make run`, which gets the shown main window to press its buttons.
#include <functional>

class QCoreApplication;
class QString;

namespace zk {

class TMain;

// Qt's own Japanese texts for its dialogs and buttons; false (with the file looked for in
// `missing`) when they are not installed.
bool loadQtTranslations(QCoreApplication& app, QString* missing);

// `whenShown` runs once the main window is up, before the event loop. Returns the process's exit
// code.
int runProgram(int argc, char** argv, const std::function<void(TMain*)>& whenShown = {});

} // namespace zk
