#pragma once
// The option editor's window. Every widget has an object name, so that unattended runs can
// fill and press it (see IniSetting.h for the answer lines): the SYSTEM keys by their key
// names, the section chooser SectionSelect, the fields of the chosen section NAME<i>, TYPE<i>
// (index into TEXT, CHECK, COMBO, RADIO), VALUE<i> and RemoveField<i>, and the buttons
// AddSection, RemoveSection, AddField, SaveButton, CancelButton.
#include "FieldsSettings.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zk::optpanel {

class OptionDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionDialog(FieldsSettings& settings, QWidget* parent = nullptr);

    // Saves (after asking when required keys are left unset) and closes; stays open when the
    // user declines or the file cannot be written.
    void accept() override;

    int currentSection() const; // 0-based, -1 when there are none

private:
    struct Row {
        QLabel* number;
        QLineEdit* name;
        QComboBox* type;
        QLineEdit* value;
        QPushButton* remove;
    };

    static void keepEnterForSave(QPushButton* button);
    QWidget* buildSystemGroup();
    QWidget* buildFieldsGroup();
    QSpinBox* integerBox(const QString& objectName, int SystemKeys::*member, int maximum);
    void refreshSections(int select);
    void showSection(int index);
    void clearRows();
    void addRow(int section, int index);
    void AddSectionClick();
    void RemoveSectionClick();
    void AddFieldClick();
    void updatePriceStatus();
    QString priceText(const QString& what, int section, int item) const;

    FieldsSettings& settings_;
    QLineEdit* title_ = nullptr;
    QLineEdit* setumei_ = nullptr;
    QList<QSpinBox*> integerBoxes_;
    QLabel* sectionNum_ = nullptr;
    QComboBox* sectionSelect_ = nullptr;
    QPushButton* removeSection_ = nullptr;
    QPushButton* addField_ = nullptr;
    QGridLayout* rowsLayout_ = nullptr;
    QLabel* emptyNote_ = nullptr;
    QLabel* priceStatus_ = nullptr;
    QList<Row> rows_;
};

} // namespace zk::optpanel
