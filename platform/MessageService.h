#pragma once
// Every message box and dialog of the program goes through this service. In the program it
// shows real Qt dialogs. Unattended (ZERKON_ANSWERS=<file>, or answers given by a test) it
// answers each box and dialog from the script instead, in the order they are shown, and never
// waits for a person. ZERKON_TRANSCRIPT=<file> receives one JSON line per box or dialog; it is
// made readable by its owner only, and values given to password fields are masked in it.
//
// Answer script, one line per box or dialog (blank lines and lines starting with "#" skipped):
//   message box   OK | Cancel | Yes | No | Retry
//   file dialog   a path, or Cancel
//   text input    the text, or Cancel ("=" before the text takes it literally: "=Cancel")
//   our own forms name=value; name=value; Button
//                 (widgets by object name: a line edit's text, a check box 1/0, a combo box's
//                 index; then the object name of the button to press, or OK / Cancel)
// When the script has run out, boxes take the safe answer (No, Cancel, else OK) and dialogs
// are cancelled; the transcript marks those answers "(default)".
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QWidget;

namespace zk {

enum class Icon { None, Information, Exclamation, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };

class MessageService {
public:
    static MessageService& instance();

    // An empty caption shows the application's title ("Zerkon").
    Answer show(const QString& text, const QString& caption = {}, Icon icon = Icon::None,
                Buttons buttons = Buttons::Ok);
    // Empty when cancelled.
    QString openFileName(const QString& caption, const QString& folder, const QString& filter);
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter);
    std::optional<QString> inputText(const QString& caption, const QString& prompt, const QString& initial = {});
    // Runs one of our own forms modally; returns QDialog::exec's result.
    int exec(QDialog& dialog);

    bool unattended() const { return unattended_; }
    void setAnswers(const QStringList& lines); // makes the service unattended
    void setTranscriptFile(const QString& path);
    const QList<QJsonObject>& transcript() const { return transcript_; }
    void clearTranscript() { transcript_.clear(); }
    int answersLeft() const { return int(answers_.size()); }
    // While a sink is set, boxes that only inform (one OK button) are not shown: their text
    // goes to the sink (and to the transcript, marked "held"), so that a run the seller left
    // alone does not wait at each; the run says them itself. Questions are still asked.
    void setNoticeSink(QStringList* sink) { noticeSink_ = sink; }
    QStringList* noticeSink() const { return noticeSink_; }
    // While set, message boxes stay above every other window, another program's too: a box that
    // asks for a click in the office's window must not vanish under it. The transcript marks them
    // "above".
    void setKeptAbove(bool above) { keptAbove_ = above; }
    bool keptAbove() const { return keptAbove_; }
    // Parent for the real dialogs (the main window).
    void setParentWindow(QWidget* parent) { parent_ = parent; }

    static QString applicationTitle() { return QStringLiteral("Zerkon"); }

private:
    MessageService();
    std::optional<QString> nextAnswer();
    void record(QJsonObject entry);
    bool answerDialog(QDialog& dialog, const QString& line);
    enum class FileDialog { Open, Save };
    // A file name asked of the seller (or taken from the script), to open or to save.
    QString fileName(FileDialog kind, const QString& caption, const QString& folder, const QString& filter);

    bool unattended_ = false;
    QStringList answers_;
    QList<QJsonObject> transcript_;
    QString transcriptPath_;
    QWidget* parent_ = nullptr;
    QStringList* noticeSink_ = nullptr;
    bool keptAbove_ = false;
};

} // namespace zk
