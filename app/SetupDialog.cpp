#include "app/SetupDialog.h"

#include "app/PracticeSite.h"
#include "app/Texts.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zk {
namespace {

QPushButton* button(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

SetupDialog::SetupDialog(const QString& dataFolder, const setup::FolderState& state, const QString& defaults,
                         QWidget* parent)
    : QDialog(parent), folder_(dataFolder), state_(state), defaults_(defaults) {
    setObjectName(QStringLiteral("SetupDialog"));
    setWindowTitle(texts::SetupCaption);
    const bool empty = state.kind == setup::FolderState::Kind::Empty;
    const bool hostsNeeded = empty || state.missing.contains(QStringLiteral("System.ini"));

    auto* layout = new QVBoxLayout(this);
    auto* where = note(texts::SetupFolder.arg(QDir::toNativeSeparators(dataFolder)), this);
    where->setObjectName(QStringLiteral("FolderLabel"));
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(where);
    layout->addWidget(note(empty ? texts::SetupEmpty : texts::SetupIncomplete.arg(state.missing.join(QStringLiteral("、"))), this));

    auto* site = new QGroupBox(empty ? texts::SetupSiteGroup : texts::SetupRestoreButton, this);
    auto* siteLayout = new QVBoxLayout(site);
    if (hostsNeeded) {
        siteLayout->addWidget(note(texts::SetupSiteNote, site));
        auto* form = new QFormLayout;
        auctionHost_ = new QLineEdit(site);
        auctionHost_->setObjectName(QStringLiteral("AuctionHost"));
        loginHost_ = new QLineEdit(site);
        loginHost_->setObjectName(QStringLiteral("LoginHost"));
        form->addRow(texts::SetupAuctionHost, auctionHost_);
        form->addRow(texts::SetupLoginHost, loginHost_);
        siteLayout->addLayout(form);
    }
    QPushButton* make = empty ? button(QStringLiteral("SiteFolderButton"), texts::SetupSiteButton, site)
                              : button(QStringLiteral("RestoreButton"), texts::SetupRestoreButton, site);
    connect(make, &QPushButton::clicked, this, &SetupDialog::makeSiteFolder);
    siteLayout->addWidget(make, 0, Qt::AlignRight);
    layout->addWidget(site);

    if (empty) {
        auto* practice = new QGroupBox(texts::SetupPracticeButton.section('(', 0, 0), this);
        auto* practiceLayout = new QVBoxLayout(practice);
        practiceLayout->addWidget(note(texts::SetupPracticeNote, practice));
        QPushButton* start = button(QStringLiteral("PracticeFolderButton"), texts::SetupPracticeButton, practice);
        connect(start, &QPushButton::clicked, this, &SetupDialog::makePracticeFolder);
        practiceLayout->addWidget(start, 0, Qt::AlignRight);
        layout->addWidget(practice);
    }

    auto* row = new QHBoxLayout;
    QPushButton* choose = button(QStringLiteral("ChooseFolderButton"), texts::SetupChooseButton, this);
    connect(choose, &QPushButton::clicked, this, &SetupDialog::chooseFolder);
    QPushButton* quit = button(QStringLiteral("Cancel"), texts::SetupQuitButton, this);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(choose);
    row->addStretch();
    row->addWidget(quit);
    layout->addLayout(row);
    setMinimumWidth(520);
}

SetupDialog::~SetupDialog() = default;

std::unique_ptr<PracticeSite> SetupDialog::takePracticeSite() { return std::move(practice_); }

bool SetupDialog::hostsGiven(setup::SiteHosts& hosts) {
    if (!auctionHost_) return true;
    const std::pair<QLineEdit*, QString> fields[] = {{auctionHost_, texts::SetupAuctionHost},
                                                     {loginHost_, texts::SetupLoginHost}};
    for (const auto& [edit, label] : fields) {
        const QString host = edit->text().trimmed();
        if (host.isEmpty()) {
            MessageService::instance().show(texts::SetupHostEmpty.arg(label), texts::SetupCaption, Icon::Exclamation);
            return false;
        }
        if (!setup::hostProblem(host).isEmpty()) {
            MessageService::instance().show(texts::SetupHostInvalid.arg(label, host), texts::SetupCaption, Icon::Exclamation);
            return false;
        }
    }
    hosts = {auctionHost_->text().trimmed(), loginHost_->text().trimmed()};
    return true;
}

void SetupDialog::makeSiteFolder() {
    setup::SiteHosts hosts;
    if (!hostsGiven(hosts)) return;
    // The workbooks are looked for first where the seller keeps documents.
    // A folder whose name System.ini cannot hold is no start for the workbook dialog: the home
    // folder is, unless it cannot be held either (then the setup says which characters).
    QString workbooks = paths::documentsFolder();
    if (workbooks.isEmpty() || !cp932::unkeptCharacters(workbooks).isEmpty()) workbooks = QDir::homePath() + '/';
    const QString error = setup::makeFromDefaults(folder_, defaults_, state_.missing, hosts, workbooks);
    if (!error.isEmpty()) {
        MessageService::instance().show(texts::SetupMakeFailed.arg(error), texts::SetupCaption, Icon::Error);
        return;
    }
    accept();
}

void SetupDialog::makePracticeFolder() {
    auto site = std::make_unique<PracticeSite>();
    const QString error = site->start(folder_, true);
    if (!error.isEmpty()) {
        MessageService::instance().show(texts::SetupPracticeFailed.arg(error), texts::SetupCaption, Icon::Error);
        return;
    }
    practice_ = std::move(site);
    accept();
}

void SetupDialog::chooseFolder() {
    const QString file = MessageService::instance().openFileName(texts::SetupChooseCaption, QDir::homePath(),
                                                                 texts::SetupChooseFilter);
    if (file.isEmpty()) return;
    const QString chosen = QFileInfo(file).absolutePath() + '/';
    const setup::FolderState state = setup::inspect(chosen);
    if (state.kind == setup::FolderState::Kind::Unreadable) {
        MessageService::instance().show(texts::SetupChosenUnreadable.arg(state.unreadable), texts::SetupCaption, Icon::Error);
        return;
    }
    if (state.kind != setup::FolderState::Kind::Ready) {
        MessageService::instance().show(texts::SetupChosenIncomplete.arg(QDir::toNativeSeparators(chosen), state.missing.join(QStringLiteral("、"))),
                                        texts::SetupCaption, Icon::Exclamation);
        return;
    }
    if (!paths::chooseDataFolder(chosen))
        MessageService::instance().show(texts::SetupNotRemembered.arg(paths::chosenDataFolderFile()), texts::SetupCaption,
                                        Icon::Exclamation);
    folder_ = chosen;
    accept();
}

} // namespace zk
