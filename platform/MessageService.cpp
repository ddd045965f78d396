#include "MessageService.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QPlainTextEdit>
#include <algorithm>

namespace zk {
namespace {

QString iconName(Icon icon) {
    switch (icon) {
    case Icon::Information: return "information";
    case Icon::Exclamation: return "exclamation";
    case Icon::Error: return "error";
    case Icon::Question: return "question";
    case Icon::None: break;
    }
    return "none";
}

QList<Answer> buttonsOf(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok: return {Answer::Ok};
    case Buttons::OkCancel: return {Answer::Ok, Answer::Cancel};
    case Buttons::YesNo: return {Answer::Yes, Answer::No};
    case Buttons::YesNoCancel: return {Answer::Yes, Answer::No, Answer::Cancel};
    case Buttons::RetryCancel: return {Answer::Retry, Answer::Cancel};
    }
    return {Answer::Ok};
}

QString answerName(Answer a) {
    switch (a) {
    case Answer::Ok: return "OK";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    case Answer::Retry: return "Retry";
    }
    return "OK";
}

// What a Windows message box shows on its buttons in Japanese.
QString buttonCaption(Answer a) {
    switch (a) {
    case Answer::Ok: return "OK";
    case Answer::Cancel: return "キャンセル";
    case Answer::Yes: return "はい(&Y)";
    case Answer::No: return "いいえ(&N)";
    case Answer::Retry: return "再試行(&R)";
    }
    return "OK";
}

Answer safeAnswer(const QList<Answer>& offered) {
    for (Answer a : {Answer::No, Answer::Cancel})
        if (offered.contains(a)) return a;
    return offered.first();
}

bool isCancel(const QString& line) { return line.compare("Cancel", Qt::CaseInsensitive) == 0; }

// Windows file dialogs take "description|*.a;*.b|..." pairs; Qt's dialog wants
// "description (*.a *.b);;...". Patterns are offered in both cases, as Windows matches either.
QString qtFilter(const QString& filter) {
    if (!filter.contains('|')) return filter;
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts))
            for (const QString& v : {p.trimmed(), p.trimmed().toLower(), p.trimmed().toUpper()})
                if (!patterns.contains(v)) patterns << v;
        out << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return out.join(";;");
}

// The script's line for a form as the transcript keeps it: the values given to fields that
// hide what is typed (the account's password) are masked.
QString withoutHiddenValues(const QDialog& dialog, const QString& line) {
    QStringList parts = line.split(';');
    for (QString& part : parts) {
        const int eq = part.indexOf('=');
        if (eq <= 0) continue;
        const QList<QLineEdit*> edits = dialog.findChildren<QLineEdit*>(part.left(eq).trimmed());
        const bool hidden = std::any_of(edits.begin(), edits.end(),
                                        [](const QLineEdit* e) { return e->echoMode() != QLineEdit::Normal; });
        if (hidden) part = part.left(eq + 1) + "********";
    }
    return parts.join(';');
}

} // namespace

MessageService& MessageService::instance() {
    static MessageService service;
    return service;
}

MessageService::MessageService() {
    const QString answersPath = QString::fromLocal8Bit(qgetenv("ZERKON_ANSWERS"));
    if (!answersPath.isEmpty()) {
        QFile file(answersPath);
        QStringList lines;
        if (file.open(QIODevice::ReadOnly))
            lines = QString::fromUtf8(file.readAll()).split('\n');
        setAnswers(lines);
    }
    setTranscriptFile(QString::fromLocal8Bit(qgetenv("ZERKON_TRANSCRIPT")));
}

void MessageService::setAnswers(const QStringList& lines) {
    unattended_ = true;
    answers_.clear();
    for (QString line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
        answers_ << line;
    }
}

void MessageService::setTranscriptFile(const QString& path) { transcriptPath_ = path; }

std::optional<QString> MessageService::nextAnswer() {
    if (answers_.isEmpty()) return std::nullopt;
    return answers_.takeFirst();
}

void MessageService::record(QJsonObject entry) {
    transcript_ << entry;
    if (transcriptPath_.isEmpty()) return;
    // What the seller typed into forms is in it: readable by this user only, also when the
    // file was there before.
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile file(transcriptPath_);
    if (!file.open(QIODevice::Append, ownerOnly)) return;
    const QFileDevice::Permissions others =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    if (file.permissions() & others) file.setPermissions(ownerOnly);
    file.write(QJsonDocument(entry).toJson(QJsonDocument::Compact) + "\n");
}

Answer MessageService::show(const QString& text, const QString& caption, Icon icon, Buttons buttons) {
    const QString title = caption.isEmpty() ? applicationTitle() : caption;
    const QList<Answer> offered = buttonsOf(buttons);
    QJsonArray names;
    for (Answer a : offered) names << answerName(a);
    QJsonObject entry{{"kind", "message"}, {"caption", title}, {"text", text}, {"icon", iconName(icon)}, {"buttons", names}};
    if (keptAbove_) entry["above"] = true;

    // A run left alone keeps its notices for its summary rather than stopping at each.
    if (noticeSink_ && buttons == Buttons::Ok) {
        noticeSink_->append(text);
        entry["held"] = true;
        entry["answer"] = answerName(Answer::Ok);
        record(entry);
        return Answer::Ok;
    }
    Answer answer = offered.first();
    if (unattended_) {
        std::optional<QString> line = nextAnswer();
        answer = safeAnswer(offered);
        QString given = "(default)";
        if (line) {
            given = *line;
            for (Answer a : offered)
                if (answerName(a).compare(line->trimmed(), Qt::CaseInsensitive) == 0) answer = a;
        }
        entry["script"] = given;
    } else {
        QMessageBox box(parent_);
        // Above every other program's window (the office's, where the seller clicks meanwhile).
        if (keptAbove_) box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.setWindowTitle(title);
        box.setText(text);
        switch (icon) {
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Icon::Error: box.setIcon(QMessageBox::Critical); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::None: break;
        }
        QList<QPair<QAbstractButton*, Answer>> made;
        for (Answer a : offered) {
            QMessageBox::ButtonRole role = (a == Answer::No || a == Answer::Cancel) ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
            made << qMakePair(static_cast<QAbstractButton*>(box.addButton(buttonCaption(a), role)), a);
        }
        box.setDefaultButton(static_cast<QPushButton*>(made.first().first));
        box.exec();
        answer = safeAnswer(offered);
        for (auto& [button, a] : made)
            if (box.clickedButton() == button) answer = a;
    }
    entry["answer"] = answerName(answer);
    record(entry);
    return answer;
}

QString MessageService::openFileName(const QString& caption, const QString& folder, const QString& filter) {
    return fileName(FileDialog::Open, caption, folder, filter);
}

QString MessageService::saveFileName(const QString& caption, const QString& folder, const QString& filter) {
    return fileName(FileDialog::Save, caption, folder, filter);
}

QString MessageService::fileName(FileDialog kind, const QString& caption, const QString& folder, const QString& filter) {
    const bool open = kind == FileDialog::Open;
    QJsonObject entry{{"kind", open ? "open-file" : "save-file"}, {"caption", caption}, {"folder", folder}, {"filter", filter}};
    QString result;
    if (unattended_) {
        std::optional<QString> line = nextAnswer();
        if (line && !isCancel(*line)) result = *line;
        entry["script"] = line.value_or("(default)");
    } else {
        result = open ? QFileDialog::getOpenFileName(parent_, caption, folder, qtFilter(filter))
                      : QFileDialog::getSaveFileName(parent_, caption, folder, qtFilter(filter));
    }
    entry["answer"] = result.isEmpty() ? QString("Cancel") : result;
    record(entry);
    return result;
}

std::optional<QString> MessageService::inputText(const QString& caption, const QString& prompt, const QString& initial) {
    QJsonObject entry{{"kind", "input"}, {"caption", caption}, {"text", prompt}, {"initial", initial}};
    std::optional<QString> result;
    if (unattended_) {
        std::optional<QString> line = nextAnswer();
        if (line && !isCancel(*line)) result = line->startsWith('=') ? line->mid(1) : *line;
        entry["script"] = line.value_or("(default)");
    } else {
        bool ok = false;
        QString text = QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, initial, &ok);
        if (ok) result = text;
    }
    entry["answer"] = result ? *result : QString("Cancel");
    record(entry);
    return result;
}

bool MessageService::answerDialog(QDialog& dialog, const QString& line) {
    const QStringList parts = line.split(';');
    for (const QString& rawPart : parts) {
        const QString part = rawPart.trimmed();
        if (part.isEmpty()) continue;
        const int eq = part.indexOf('=');
        if (eq > 0) {
            const QString name = part.left(eq).trimmed();
            const QString value = part.mid(eq + 1);
            QWidget* w = dialog.findChild<QWidget*>(name);
            if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(value);
            else if (auto* c = qobject_cast<QCheckBox*>(w)) c->setChecked(value == "1");
            else if (auto* r = qobject_cast<QRadioButton*>(w)) r->setChecked(value == "1");
            else if (auto* b = qobject_cast<QComboBox*>(w)) b->setCurrentIndex(value.toInt());
            else if (auto* s = qobject_cast<QSpinBox*>(w)) s->setValue(value.toInt());
            else if (auto* t = qobject_cast<QPlainTextEdit*>(w)) t->setPlainText(value);
            else if (auto* t = qobject_cast<QTextEdit*>(w)) t->setPlainText(value);
            continue;
        }
        if (part.compare("OK", Qt::CaseInsensitive) == 0) {
            dialog.accept();
        } else if (isCancel(part)) {
            dialog.reject();
        } else if (auto* button = dialog.findChild<QAbstractButton*>(part)) {
            button->click();
        }
    }
    return true;
}

int MessageService::exec(QDialog& dialog) {
    if (!unattended_) return dialog.exec();

    // Scripted: fill and press until the form closes itself or the script runs out. A form that
    // rejects its input shows a box (answered from the script) and stays open for the next line.
    int result = QDialog::Rejected;
    bool finished = false;
    QMetaObject::Connection c = QObject::connect(&dialog, &QDialog::finished, [&](int r) {
        result = r;
        finished = true;
    });
    dialog.setModal(true);
    dialog.show();
    while (!finished) {
        std::optional<QString> line = nextAnswer();
        QJsonObject entry{{"kind", "dialog"}, {"caption", dialog.windowTitle()}, {"object", dialog.objectName()},
                          {"script", line ? withoutHiddenValues(dialog, *line) : QString("(default)")}};
        // A form of ours that reports something says what, as a box would.
        if (const QVariant text = dialog.property("transcriptText"); text.isValid()) entry["text"] = text.toString();
        record(entry);
        if (!line) {
            dialog.reject();
            break;
        }
        answerDialog(dialog, *line);
    }
    QObject::disconnect(c);
    dialog.hide();
    return result;
}

} // namespace zk
