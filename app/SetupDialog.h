#pragma once
// "Zerkonの初期設定": shown at a start whose data folder lacks the files the start-up needs.
// It names the folder and offers what fits: a folder for the real site made from the package's
// defaults, a practice folder wired to the practice site (which it starts), or a folder the
// seller has already; a folder missing only some files is offered those files from the defaults.
// Each button does its work at once: one that fails says why and leaves the window open.
#include "app/DataFolderSetup.h"

#include <QDialog>
#include <memory>

class QLineEdit;

namespace zk {

class PracticeSite;

class SetupDialog : public QDialog {
    Q_OBJECT
public:
    SetupDialog(const QString& dataFolder, const setup::FolderState& state, const QString& defaults,
                QWidget* parent = nullptr);
    ~SetupDialog() override;

    // The data folder to start with (another one when the seller chose one).
    const QString& folder() const { return folder_; }
    // The practice site started for a new practice folder; empty otherwise.
    std::unique_ptr<PracticeSite> takePracticeSite();

private:
    void makeSiteFolder();
    void makePracticeFolder();
    void chooseFolder();
    // The two host names, or a box saying what is wrong with them (false then).
    bool hostsGiven(setup::SiteHosts& hosts);

    QString folder_;
    setup::FolderState state_;
    QString defaults_;
    QLineEdit* auctionHost_ = nullptr;
    QLineEdit* loginHost_ = nullptr;
    std::unique_ptr<PracticeSite> practice_;
};

} // namespace zk
