#include "listing/Titleedit.h"

#include "listing/Texts.h"
#include "listing/UploadRules.h"
#include "ui_Titleedit.h"

#include "platform/MessageService.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace zk::listing {

TTitleEdit1::TTitleEdit1(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::TTitleEdit1>()) {
    ui_->setupUi(this);
    setFixedSize(637, 238);
    ui_->Button1->setDefault(true);
    connect(ui_->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(ui_->Button2, &QPushButton::clicked, this, [this] { done(Cancelled); });
    // The edit's limit stops typing, never the title put in: a longer title is shown whole, and
    // while it is longer the limit follows it down, so that nothing can be typed until the text
    // fits again.
    designedMaxLength_ = ui_->LabeledEdit1->maxLength();
    connect(ui_->LabeledEdit1, &QLineEdit::textEdited, this, [this](const QString& text) {
        ui_->LabeledEdit1->setMaxLength(std::max<int>(designedMaxLength_, int(text.size())));
    });
    // Centred on the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TTitleEdit1::~TTitleEdit1() = default;

QLineEdit* TTitleEdit1::edit() const { return ui_->LabeledEdit1; }

void TTitleEdit1::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TTitleEdit1::FormShow() {
    // Raised first: setting a text longer than the limit would cut it.
    ui_->LabeledEdit1->setMaxLength(std::max<int>(designedMaxLength_, int(Title.size())));
    ui_->LabeledEdit1->setText(Title);
}

void TTitleEdit1::Button1Click() {
    // Measured as sent: the spaces around it do not go.
    const QString text = rules::titleAsSent(ui_->LabeledEdit1->text());
    // Characters, not bytes: the ruler is the user's guide to the byte limit.
    if (text.toUcs4().size() > MaxChars) return;
    Title = text;
    done(Confirmed);
}

int TTitleEdit1::ShowModal() {
    const int result = MessageService::instance().exec(*this);
    return result == Confirmed ? Confirmed : Cancelled;
}

bool TTitleEdit1::TooLong(const QString& title) { return rules::titleTooLong(title); }

QString TTitleEdit1::EditTitle(const QString& title, QWidget* owner) {
    TTitleEdit1 dialog(owner);
    dialog.Title = title;
    dialog.MaxChars = MaxTitleBytes;
    return dialog.ShowModal() == Confirmed ? dialog.Title : title;
}

} // namespace zk::listing
