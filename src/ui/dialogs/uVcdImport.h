#pragma once
// frmVcdImport, "VCD の読み込み": what of a value change dump becomes the chart. The
// signal tree with check boxes and a name filter, the clock or the time of a step, the
// start time and the number of steps, and the size the chart will have.

#include "formats/VcdChoices.h"
#include "formats/VcdHeader.h"

#include <QDialog>
#include <QHash>
#include <QString>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace solvena {

class IntSpinField;

class TfrmVcdImport : public QDialog {
    Q_OBJECT

public:
    // Shows the dump's signals with `initial` chosen; `header` must outlive the dialog.
    TfrmVcdImport(const VcdHeader& header, const VcdChoices& initial, QWidget* parent = nullptr);

    // What the fields say now; valid when OK is enabled.
    VcdChoices choices() const;
    // What a dump opened for the first time starts with: its first 99 one-bit signals,
    // and a clock where one is named like a clock.
    static VcdChoices firstChoices(const VcdHeader& header);

    QLineEdit* const edtFilter;
    QTreeWidget* const tvwSignals;
    QCheckBox* const chkSplit;
    QRadioButton* const rdoClock;
    QComboBox* const cmbClock;
    QRadioButton* const rdoStep;
    QLineEdit* const edtStep;
    QLineEdit* const edtStart;
    IntSpinField* const edtSteps;
    QLabel* const lblSize;
    QPushButton* const btnOK;
    QPushButton* const btnCancel;

private:
    void fillTree();
    QTreeWidgetItem* addScope(QTreeWidgetItem* parent, int32_t scope);
    void addVar(QTreeWidgetItem* parent, int32_t var);
    void showChoices(const VcdChoices& choices);
    void applyFilter();
    // Counts the rows, checks the times and says what the chart will be; OK only when
    // it can be made.
    void updateSize();
    int rowCount() const;

    const VcdHeader& header_;
    QList<QTreeWidgetItem*> varItems_;   // in the tree's order
};

// The dialog's last choices for each dump, kept by the window for the run.
class VcdChoiceMemory {
public:
    void remember(const QString& path, const VcdChoices& choices);
    std::optional<VcdChoices> recall(const QString& path) const;

private:
    static QString key(const QString& path);
    QHash<QString, VcdChoices> byPath_;
};

// Asks what of the dump at `path` to take, starting from the choices remembered for it
// (or firstChoices); on OK remembers and returns them, on Cancel nullopt.
std::optional<VcdChoices> askVcdChoices(QWidget* parent, const QString& path, const VcdHeader& header,
                                        VcdChoiceMemory& memory);

}  // namespace solvena
