#include "app/YahooIDDialog.h"

#include "app/Mainform.h"
#include "app/Texts.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "workflow/SystemIni.h"
#include "ui_YahooIDDialog.h"

#include <QGuiApplication>
#include <QScreen>

namespace zk {
namespace {

const QString kNotSet = QStringLiteral("0000");

} // namespace

TYahooIDDialog1::TYahooIDDialog1(QWidget* owner, QString& id, QString& password)
    : QDialog(owner), ui_(std::make_unique<Ui::TYahooIDDialog1>()), id_(id), password_(password) {
    ui_->setupUi(this);
    setFixedSize(size());
    // Centred on the screen, not on the owner: the panel sits at the foot of the screen, and a
    // dialog centred on it would hang over the screen's edge.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (id != kNotSet && password != kNotSet) {
        ui_->ID->setText(id);
        ui_->Password1->setText(password);
    }
    connect(ui_->OKBtn, &QPushButton::clicked, this, &TYahooIDDialog1::OKBtnClick);
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TYahooIDDialog1::~TYahooIDDialog1() = default;

void TYahooIDDialog1::OKBtnClick() {
    const QString* problem = nullptr;
    if (ui_->ID->text().isEmpty()) problem = &texts::NoId;
    else if (ui_->Password1->text().isEmpty()) problem = &texts::NoPassword;
    else if (ui_->Password2->text() != ui_->Password1->text()) problem = &texts::PasswordMismatch;
    if (problem) {
        MessageService::instance().show(*problem);
        return;
    }
    if (const QString missing = cp932::unkeptCharacters(ui_->ID->text()); !missing.isEmpty()) {
        MessageService::instance().show(texts::IdNotInCp932.arg(missing));
        return;
    }
    if (!cp932::unkeptCharacters(ui_->Password1->text()).isEmpty()) {
        MessageService::instance().show(texts::PasswordNotInCp932);
        return;
    }
    id_ = ui_->ID->text();
    password_ = ui_->Password1->text();
    accept();
}

bool EditAccount(QWidget* owner, workflow::Settings& settings) {
    QString newId = settings.value(workflow::ini::YahooId);
    QString newPassword = settings.value(workflow::ini::Password);
    TYahooIDDialog1 dialog(owner, newId, newPassword);
    if (MessageService::instance().exec(dialog) != QDialog::Accepted) return false;
    if (!settings.writeAccount(newId, newPassword)) {
        MessageService::instance().show(texts::SystemIniOpenFailed, texts::CaptionError, Icon::Error);
        return false;
    }
    return true;
}

void TMain::SetYahooIDClick() {
    if (!services_.settings.fileReadable()) {
        MessageService::instance().show(texts::SystemIniOpenFailed, texts::CaptionError, Icon::Error);
        return;
    }
    EditAccount(this, services_.settings);
}

bool TMain::EditAccountAtStart() {
    if (!services_.settings.fileReadable()) return false;
    return EditAccount(this, services_.settings);
}

} // namespace zk
