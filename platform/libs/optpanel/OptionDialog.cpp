#include "OptionDialog.h"

#include "Texts.h"
#include "platform/MessageService.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zk::optpanel {

namespace {

constexpr int MaxCount = 99;

// Widgets of a removed row may still be in the middle of their own signal: they go later,
// but lose their names at once so that scripted answers never reach them.
void retire(QWidget* w, QObject* receiver) {
    QObject::disconnect(w, nullptr, receiver, nullptr);
    w->setObjectName(QString());
    w->hide();
    w->deleteLater();
}

QLabel* header(const QString& text) {
    auto* label = new QLabel(text);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

OptionDialog::OptionDialog(FieldsSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("OptionDialog"));
    setWindowTitle(texts::DialogTitle);
    setModal(true);
    setStyleSheet(QStringLiteral("QDialog#OptionDialog { background: rgb(255, 236, 196); }"
                                 "QGroupBox { font-weight: bold; }"
                                 "QWidget#FieldRows { background: rgb(255, 250, 238); }"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildSystemGroup());
    layout->addWidget(buildFieldsGroup(), 1);

    priceStatus_ = new QLabel;
    priceStatus_->setObjectName(QStringLiteral("PriceStatus"));
    layout->addWidget(priceStatus_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* save = new QPushButton(texts::Save);
    save->setObjectName(QStringLiteral("SaveButton"));
    save->setDefault(true);
    auto* cancel = new QPushButton(texts::Cancel);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    keepEnterForSave(cancel);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &OptionDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &OptionDialog::reject);

    refreshSections(settings_.sections.isEmpty() ? -1 : 0);
    resize(780, 560);
}

void OptionDialog::keepEnterForSave(QPushButton* button) {
    // Enter while typing in a field must save, never add or remove something.
    button->setAutoDefault(false);
    button->setDefault(false);
}

QWidget* OptionDialog::buildSystemGroup() {
    auto* group = new QGroupBox(texts::GroupSystem);
    auto* grid = new QGridLayout(group);

    title_ = new QLineEdit(settings_.system.shouhinTitle);
    title_->setObjectName(QStringLiteral("SHOUHIN_TITLE"));
    connect(title_, &QLineEdit::textChanged, this, [this](const QString& t) { settings_.system.shouhinTitle = t; });
    setumei_ = new QLineEdit(settings_.system.shouhinSetumei);
    setumei_->setObjectName(QStringLiteral("SHOUHIN_SETUMEI"));
    connect(setumei_, &QLineEdit::textChanged, this, [this](const QString& t) { settings_.system.shouhinSetumei = t; });
    grid->addWidget(new QLabel(texts::LabelTitle), 0, 0);
    grid->addWidget(title_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(texts::LabelSetumei), 0, 4);
    grid->addWidget(setumei_, 0, 5, 1, 3);

    auto position = [&](int row, int column, const QString& label, const char* secKey, int SystemKeys::*sec,
                        const char* itemKey, int SystemKeys::*item) {
        grid->addWidget(new QLabel(label), row, column);
        auto* box = new QHBoxLayout;
        box->addWidget(new QLabel(texts::LabelSection));
        box->addWidget(integerBox(secKey, sec, FieldsSettings::MaxSections));
        box->addWidget(new QLabel(texts::LabelItem));
        box->addWidget(integerBox(itemKey, item, FieldsSettings::MaxFields));
        box->addStretch();
        grid->addLayout(box, row, column + 1, 1, 3);
    };
    position(1, 0, texts::LabelStartPrice, "KAISI_PRICE_SEC_POS", &SystemKeys::kaisiPriceSecPos,
             "KAISI_PRICE_ITEM_POS", &SystemKeys::kaisiPriceItemPos);
    position(1, 4, texts::LabelBuyPrice, "KIBOU_PRICE_SEC_POS", &SystemKeys::kibouPriceSecPos,
             "KIBOU_PRICE_ITEM_POS", &SystemKeys::kibouPriceItemPos);

    auto count = [&](int row, int column, const QString& label, const char* key, int SystemKeys::*member) {
        grid->addWidget(new QLabel(label), row, column);
        grid->addWidget(integerBox(key, member, MaxCount), row, column + 1);
    };
    count(2, 0, texts::LabelBankName, "BANK_NAME_NUM", &SystemKeys::bankNameNum);
    count(2, 4, texts::LabelBankDefault, "BANK_DEFAULT_NUM", &SystemKeys::bankDefaultNum);
    count(3, 0, texts::LabelSonotaKessai, "SONOTA_KESSAI_NUM", &SystemKeys::sonotaKessaiNum);
    count(3, 4, texts::LabelKessaiDefault, "KESSAI_DEFAULT_NUM", &SystemKeys::kessaiDefaultNum);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(7, 1);
    return group;
}

QSpinBox* OptionDialog::integerBox(const QString& objectName, int SystemKeys::*member, int maximum) {
    auto* box = new QSpinBox;
    box->setObjectName(objectName);
    box->setRange(-1, qMax(maximum, settings_.system.*member));
    box->setSpecialValueText(texts::NotSet); // shown for -1, which the program reads as missing
    box->setMinimumWidth(80);
    box->setValue(settings_.system.*member);
    connect(box, &QSpinBox::valueChanged, this, [this, member](int v) {
        settings_.system.*member = v;
        updatePriceStatus();
    });
    integerBoxes_.append(box);
    return box;
}

QWidget* OptionDialog::buildFieldsGroup() {
    auto* group = new QGroupBox(texts::GroupFields);
    auto* layout = new QVBoxLayout(group);

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(texts::LabelSection));
    sectionSelect_ = new QComboBox;
    sectionSelect_->setObjectName(QStringLiteral("SectionSelect"));
    sectionSelect_->setMinimumWidth(120);
    bar->addWidget(sectionSelect_);
    auto* addSection = new QPushButton(texts::AddSection);
    addSection->setObjectName(QStringLiteral("AddSection"));
    removeSection_ = new QPushButton(texts::RemoveSection);
    removeSection_->setObjectName(QStringLiteral("RemoveSection"));
    keepEnterForSave(addSection);
    keepEnterForSave(removeSection_);
    bar->addWidget(addSection);
    bar->addWidget(removeSection_);
    bar->addSpacing(16);
    bar->addWidget(new QLabel(texts::LabelSectionNum));
    sectionNum_ = new QLabel;
    sectionNum_->setObjectName(QStringLiteral("SECTION_NUM"));
    bar->addWidget(sectionNum_);
    bar->addStretch();
    addField_ = new QPushButton(texts::AddField);
    addField_->setObjectName(QStringLiteral("AddField"));
    keepEnterForSave(addField_);
    bar->addWidget(addField_);
    layout->addLayout(bar);

    connect(sectionSelect_, &QComboBox::currentIndexChanged, this, &OptionDialog::showSection);
    connect(addSection, &QPushButton::clicked, this, &OptionDialog::AddSectionClick);
    connect(removeSection_, &QPushButton::clicked, this, &OptionDialog::RemoveSectionClick);
    connect(addField_, &QPushButton::clicked, this, &OptionDialog::AddFieldClick);

    auto* host = new QWidget;
    host->setObjectName(QStringLiteral("FieldRows"));
    rowsLayout_ = new QGridLayout(host);
    rowsLayout_->setColumnStretch(1, 2);
    rowsLayout_->setColumnStretch(3, 3);
    rowsLayout_->addWidget(header(texts::HeaderNo), 0, 0);
    rowsLayout_->addWidget(header(texts::HeaderName), 0, 1);
    rowsLayout_->addWidget(header(texts::HeaderType), 0, 2);
    rowsLayout_->addWidget(header(texts::HeaderValue), 0, 3);
    emptyNote_ = new QLabel;
    emptyNote_->setWordWrap(true);
    rowsLayout_->addWidget(emptyNote_, 1, 0, 1, 5);
    rowsLayout_->setRowStretch(1000, 1);

    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(host);
    layout->addWidget(scroll, 1);

    auto* hint = new QLabel(texts::ValueHint);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    return group;
}

int OptionDialog::currentSection() const { return sectionSelect_->currentIndex(); }

void OptionDialog::refreshSections(int select) {
    {
        const QSignalBlocker block(sectionSelect_);
        sectionSelect_->clear();
        for (int s = 1; s <= settings_.sections.size(); ++s) sectionSelect_->addItem(FieldsSettings::sectionName(s));
        sectionSelect_->setCurrentIndex(select);
    }
    sectionNum_->setText(QString::number(settings_.sections.size()));
    removeSection_->setEnabled(!settings_.sections.isEmpty());
    addField_->setEnabled(!settings_.sections.isEmpty());
    showSection(sectionSelect_->currentIndex());
}

void OptionDialog::clearRows() {
    for (const Row& r : rows_) {
        for (QWidget* w : std::initializer_list<QWidget*>{r.number, r.name, r.type, r.value, r.remove}) {
            rowsLayout_->removeWidget(w);
            retire(w, this);
        }
    }
    rows_.clear();
}

void OptionDialog::showSection(int index) {
    clearRows();
    if (index < 0 || index >= settings_.sections.size()) {
        emptyNote_->setText(texts::NoSections);
        emptyNote_->setVisible(true);
    } else {
        const int count = int(settings_.sections[index].fields.size());
        for (int i = 0; i < count; ++i) addRow(index, i);
        emptyNote_->setText(texts::NoFields);
        emptyNote_->setVisible(count == 0);
    }
    updatePriceStatus();
}

void OptionDialog::addRow(int section, int index) {
    const FieldEntry& field = settings_.sections[section].fields[index];
    const int n = index + 1;
    Row r;
    r.number = new QLabel(QString::number(n));
    r.name = new QLineEdit(field.name);
    r.name->setObjectName(QStringLiteral("NAME%1").arg(n));
    r.type = new QComboBox;
    r.type->setObjectName(QStringLiteral("TYPE%1").arg(n));
    r.type->addItems(FieldsSettings::Types);
    int typeIndex = int(FieldsSettings::Types.indexOf(field.type));
    if (typeIndex < 0) {
        // Kept as it is unless the user picks one of the four.
        r.type->addItem(texts::UnknownType.arg(field.type), field.type);
        typeIndex = r.type->count() - 1;
    }
    r.type->setCurrentIndex(typeIndex);
    r.value = new QLineEdit(field.value);
    r.value->setObjectName(QStringLiteral("VALUE%1").arg(n));
    r.remove = new QPushButton(texts::RemoveField);
    r.remove->setObjectName(QStringLiteral("RemoveField%1").arg(n));
    keepEnterForSave(r.remove);

    const int row = n + 1; // row 0 the headers, row 1 the empty note
    rowsLayout_->addWidget(r.number, row, 0);
    rowsLayout_->addWidget(r.name, row, 1);
    rowsLayout_->addWidget(r.type, row, 2);
    rowsLayout_->addWidget(r.value, row, 3);
    rowsLayout_->addWidget(r.remove, row, 4);

    auto entry = [this, section, index]() -> FieldEntry& { return settings_.sections[section].fields[index]; };
    connect(r.name, &QLineEdit::textChanged, this, [this, entry](const QString& t) {
        entry().name = t;
        updatePriceStatus();
    });
    QComboBox* type = r.type;
    connect(r.type, &QComboBox::currentIndexChanged, this, [entry, type](int i) {
        if (i >= 0 && i < FieldsSettings::Types.size()) entry().type = FieldsSettings::Types[i];
        else if (i >= 0) entry().type = type->itemData(i).toString();
    });
    connect(r.value, &QLineEdit::textChanged, this, [entry](const QString& t) { entry().value = t; });
    connect(r.remove, &QPushButton::clicked, this, [this, section, index] {
        settings_.sections[section].fields.removeAt(index);
        showSection(section);
    });
    rows_.append(r);
}

void OptionDialog::AddSectionClick() {
    settings_.sections.append(SectionEntry());
    refreshSections(int(settings_.sections.size()) - 1);
}

void OptionDialog::RemoveSectionClick() {
    const int s = currentSection();
    if (s < 0) return;
    settings_.sections.removeAt(s);
    refreshSections(qMin(s, int(settings_.sections.size()) - 1));
}

void OptionDialog::AddFieldClick() {
    const int s = currentSection();
    if (s < 0) return;
    settings_.sections[s].fields.append({QString(), FieldsSettings::Types.first(), QString()});
    showSection(s);
    rows_.last().name->setFocus();
}

QString OptionDialog::priceText(const QString& what, int section, int item) const {
    const FieldEntry* f = settings_.fieldAt(section, item);
    return f ? texts::PriceAt.arg(what).arg(section).arg(item).arg(f->name) : texts::PriceMissing.arg(what);
}

void OptionDialog::updatePriceStatus() {
    const SystemKeys& k = settings_.system;
    priceStatus_->setText(priceText(texts::StartPriceName, k.kaisiPriceSecPos, k.kaisiPriceItemPos) +
                          QStringLiteral("　　") +
                          priceText(texts::BuyPriceName, k.kibouPriceSecPos, k.kibouPriceItemPos));
}

void OptionDialog::accept() {
    if (settings_.isModified()) {
        const QStringList missing = settings_.missingKeys();
        if (!missing.isEmpty() &&
            MessageService::instance().show(texts::ConfirmIncomplete.arg(missing.join(QStringLiteral("、"))),
                                            texts::CaptionConfirm, Icon::Question, Buttons::YesNo) != Answer::Yes)
            return;
        if (!settings_.save()) {
            MessageService::instance().show(settings_.errorString(), texts::CaptionError, Icon::Exclamation);
            return;
        }
    }
    QDialog::accept();
}

} // namespace zk::optpanel
