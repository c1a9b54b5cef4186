#include "ui/dialogs/uVcdImport.h"

#include "formats/VcdChart.h"
#include "formats/VcdTime.h"
#include "storage/FilePaths.h"
#include "ui/Application.h"
#include "ui/dialogs/IntSpinField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

constexpr int kVarRole = Qt::UserRole;

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

TfrmVcdImport::TfrmVcdImport(const VcdHeader& header, const VcdChoices& initial, QWidget* parent)
    : QDialog(parent),
      edtFilter(new QLineEdit(this)),
      tvwSignals(new QTreeWidget(this)),
      chkSplit(new QCheckBox(u"ベクタをビットごとの行に分ける(&B)"_s, this)),
      rdoClock(new QRadioButton(u"クロック(&C):"_s, this)),
      cmbClock(new QComboBox(this)),
      rdoStep(new QRadioButton(u"時間刻み(&T):"_s, this)),
      edtStep(new QLineEdit(this)),
      edtStart(new QLineEdit(this)),
      edtSteps(new IntSpinField(1, kMaxVcdSteps, kDefaultVcdSteps, this)),
      lblSize(new QLabel(this)),
      btnOK(new QPushButton(u"OK"_s, this)),
      btnCancel(new QPushButton(u"キャンセル"_s, this)),
      header_(header)
{
    setObjectName(u"frmVcdImport"_s);
    setWindowTitle(u"VCD の読み込み"_s);
    edtFilter->setObjectName(u"edtFilter"_s);
    tvwSignals->setObjectName(u"tvwSignals"_s);
    chkSplit->setObjectName(u"chkSplit"_s);
    rdoClock->setObjectName(u"rdoClock"_s);
    cmbClock->setObjectName(u"cmbClock"_s);
    rdoStep->setObjectName(u"rdoStep"_s);
    edtStep->setObjectName(u"edtStep"_s);
    edtStart->setObjectName(u"edtStart"_s);
    edtSteps->setObjectName(u"edtSteps"_s);
    lblSize->setObjectName(u"lblSize"_s);
    btnOK->setObjectName(u"btnOK"_s);
    btnCancel->setObjectName(u"btnCancel"_s);

    edtFilter->setPlaceholderText(u"名前の一部"_s);
    edtFilter->setClearButtonEnabled(true);
    tvwSignals->setHeaderLabels({u"信号"_s, u"種類"_s});
    tvwSignals->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    tvwSignals->setUniformRowHeights(true);
    edtStep->setPlaceholderText(u"自動（開始後の最初の間隔）"_s);
    cmbClock->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblSize->setWordWrap(true);
    btnOK->setDefault(true);

    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(u"絞り込み(&F):"_s, this);
    filterLabel->setBuddy(edtFilter);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(edtFilter, 1);

    auto* steps = new QGridLayout;
    steps->addWidget(rdoClock, 0, 0);
    steps->addWidget(cmbClock, 0, 1);
    steps->addWidget(rdoStep, 1, 0);
    steps->addWidget(edtStep, 1, 1);
    auto* startLabel = new QLabel(u"開始時刻(&S):"_s, this);
    startLabel->setBuddy(edtStart);
    steps->addWidget(startLabel, 2, 0);
    steps->addWidget(edtStart, 2, 1);
    auto* countLabel = new QLabel(u"ステップ数(&N):"_s, this);
    countLabel->setBuddy(edtSteps);
    steps->addWidget(countLabel, 3, 0);
    steps->addWidget(edtSteps, 3, 1, Qt::AlignLeft);
    steps->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(filterRow);
    column->addWidget(tvwSignals, 1);
    column->addWidget(chkSplit);
    column->addLayout(steps);
    column->addWidget(lblSize);
    column->addLayout(buttons);

    setTabOrder(edtFilter, tvwSignals);
    setTabOrder(tvwSignals, chkSplit);
    setTabOrder(chkSplit, rdoClock);
    setTabOrder(rdoClock, cmbClock);
    setTabOrder(cmbClock, rdoStep);
    setTabOrder(rdoStep, edtStep);
    setTabOrder(edtStep, edtStart);
    setTabOrder(edtStart, edtSteps);
    setTabOrder(edtSteps, btnOK);
    setTabOrder(btnOK, btnCancel);

    fillTree();
    showChoices(initial);
    resize(520, 560);

    connect(edtFilter, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(tvwSignals, &QTreeWidget::itemChanged, this, [this] { updateSize(); });
    connect(chkSplit, &QCheckBox::toggled, this, [this] { updateSize(); });
    connect(rdoClock, &QRadioButton::toggled, this, [this](bool clock) {
        cmbClock->setEnabled(clock);
        edtStep->setEnabled(!clock);
        updateSize();
    });
    connect(cmbClock, &QComboBox::currentIndexChanged, this, [this] { updateSize(); });
    connect(edtStep, &QLineEdit::textChanged, this, [this] { updateSize(); });
    connect(edtStart, &QLineEdit::textChanged, this, [this] { updateSize(); });
    if (auto* stepsText = edtSteps->findChild<QLineEdit*>())
        connect(stepsText, &QLineEdit::textChanged, this, [this] { updateSize(); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    cmbClock->setEnabled(rdoClock->isChecked());
    edtStep->setEnabled(!rdoClock->isChecked());
    updateSize();
    // Space checks the first signal at once.
    if (!varItems_.isEmpty()) tvwSignals->setCurrentItem(varItems_.front());
    tvwSignals->setFocus();
}

VcdChoices TfrmVcdImport::firstChoices(const VcdHeader& header)
{
    VcdChoices choices;
    choices.clock = suggestedVcdClock(header);
    return choices;
}

void TfrmVcdImport::fillTree()
{
    // Scopes nest as deep as the dump says: walked with a stack of our own.
    std::vector<std::pair<QTreeWidgetItem*, int32_t>> pending;
    for (auto it = header_.topScopes.rbegin(); it != header_.topScopes.rend(); ++it) pending.emplace_back(nullptr, *it);
    for (const int32_t var : header_.topVars) addVar(nullptr, var);
    while (!pending.empty()) {
        const auto [parent, scope] = pending.back();
        pending.pop_back();
        QTreeWidgetItem* item = addScope(parent, scope);
        const VcdScope& s = header_.scopes[static_cast<size_t>(scope)];
        for (const int32_t var : s.vars) addVar(item, var);
        for (auto it = s.scopes.rbegin(); it != s.scopes.rend(); ++it) pending.emplace_back(item, *it);
    }
    tvwSignals->expandAll();
    // The tree's order, which choices() keeps: scopes are added before their signals.
    varItems_.clear();
    for (QTreeWidgetItemIterator it(tvwSignals); *it; ++it)
        if ((*it)->data(0, kVarRole).isValid()) varItems_.push_back(*it);
}

QTreeWidgetItem* TfrmVcdImport::addScope(QTreeWidgetItem* parent, int32_t scope)
{
    const VcdScope& s = header_.scopes[static_cast<size_t>(scope)];
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvwSignals);
    item->setText(0, fromUtf8(s.name));
    item->setText(1, fromUtf8(s.type));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

void TfrmVcdImport::addVar(QTreeWidgetItem* parent, int32_t var)
{
    const VcdVar& v = header_.vars[static_cast<size_t>(var)];
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvwSignals);
    QString name = fromUtf8(v.displayName());
    if (v.isVector()) name += u" [%1:%2]"_s.arg(v.msb).arg(v.lsb);
    item->setText(0, name);
    item->setText(1, v.isScalar() ? fromUtf8(v.type) : u"%1（%2 ビット）"_s.arg(fromUtf8(v.type)).arg(v.width));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    item->setData(0, kVarRole, var);
    if (v.isScalar()) cmbClock->addItem(fromUtf8(header_.path(v)), var);
}

void TfrmVcdImport::showChoices(const VcdChoices& choices)
{
    VcdSelection selection = selectVcdSignals(header_, choices);
    // Choices remembered for a dump that has changed since may no longer fit it.
    if (!selection.ok()) selection = selectVcdSignals(header_, firstChoices(header_));
    QSet<int32_t> chosen;
    bool split = false;
    for (const VcdRow& row : selection.rows) {
        chosen.insert(row.var);
        split = split || row.bit >= 0;
    }
    for (QTreeWidgetItem* item : std::as_const(varItems_))
        item->setCheckState(0, chosen.contains(item->data(0, kVarRole).toInt()) ? Qt::Checked : Qt::Unchecked);
    chkSplit->setChecked(split);

    const int clock = selection.clock && selection.clock->bit < 0 ? cmbClock->findData(selection.clock->var) : -1;
    if (clock >= 0) cmbClock->setCurrentIndex(clock);
    rdoClock->setEnabled(cmbClock->count() > 0);
    rdoClock->setChecked(clock >= 0);
    rdoStep->setChecked(clock < 0);
    edtStep->setText(choices.stepFemtoseconds > 0 ? QString::fromStdString(timeText(choices.stepFemtoseconds)) : QString());
    edtStart->setText(QString::fromStdString(timeText(choices.startFemtoseconds)));
    edtSteps->setValue(choices.steps);
}

VcdChoices TfrmVcdImport::choices() const
{
    VcdChoices choices;
    const bool split = chkSplit->isChecked();
    for (QTreeWidgetItem* item : varItems_) {
        if (item->checkState(0) != Qt::Checked) continue;
        const VcdVar& var = header_.vars[static_cast<size_t>(item->data(0, kVarRole).toInt())];
        choices.signalNames.push_back(header_.path(var) + (split && var.isVector() ? "[*]" : ""));
    }
    if (rdoClock->isChecked() && cmbClock->currentIndex() >= 0)
        choices.clock = cmbClock->currentText().toStdString();
    else if (!edtStep->text().trimmed().isEmpty())
        choices.stepFemtoseconds = parseTimeText(edtStep->text().toStdString()).femtoseconds;
    if (!edtStart->text().trimmed().isEmpty())
        choices.startFemtoseconds = parseTimeText(edtStart->text().toStdString()).femtoseconds;
    choices.steps = edtSteps->value();
    return choices;
}

void TfrmVcdImport::applyFilter()
{
    const QString text = edtFilter->text().trimmed();
    for (QTreeWidgetItem* item : std::as_const(varItems_)) {
        const VcdVar& var = header_.vars[static_cast<size_t>(item->data(0, kVarRole).toInt())];
        item->setHidden(!text.isEmpty() && !fromUtf8(header_.path(var)).contains(text, Qt::CaseInsensitive));
    }
    // A scope shows while something in it does; children come after their parents.
    std::vector<QTreeWidgetItem*> scopes;
    for (QTreeWidgetItemIterator it(tvwSignals); *it; ++it)
        if (!(*it)->data(0, kVarRole).isValid()) scopes.push_back(*it);
    for (auto it = scopes.rbegin(); it != scopes.rend(); ++it) {
        bool shown = false;
        for (int i = 0; i < (*it)->childCount() && !shown; ++i) shown = !(*it)->child(i)->isHidden();
        (*it)->setHidden(!shown);
    }
}

int TfrmVcdImport::rowCount() const
{
    const bool split = chkSplit->isChecked();
    qint64 rows = 0;
    for (QTreeWidgetItem* item : varItems_) {
        if (item->checkState(0) != Qt::Checked) continue;
        const VcdVar& var = header_.vars[static_cast<size_t>(item->data(0, kVarRole).toInt())];
        rows += split && var.isVector() ? var.width : 1;
        if (rows > kMaxVcdRows) break;
    }
    return static_cast<int>(rows);
}

void TfrmVcdImport::updateSize()
{
    const int rows = rowCount();
    const int steps = edtSteps->value();
    const QString tick = QString::fromStdString(timeText(header_.tickFemtoseconds));
    const auto timeProblem = [&](const QString& what, const QString& text, bool zeroAllowed) -> QString {
        if (text.trimmed().isEmpty()) return {};
        const TimeText time = parseTimeText(text.toStdString());
        if (!time.ok()) return u"%1: %2"_s.arg(what, reasonText(timeTextReason(time.error)));
        if (!zeroAllowed && time.femtoseconds == 0) return u"%1は 0 より長くしてください"_s.arg(what);
        if (time.femtoseconds % header_.tickFemtoseconds != 0)
            return u"%1はダンプの時間の単位 %2 の整数倍にしてください"_s.arg(what, tick);
        return {};
    };

    QString problem;
    if (rows == 0)
        problem = u"取り込む信号を選んでください"_s;
    else if (rows > kMaxVcdRows)
        problem = u"%1 行を超えます。取り込めるのは %1 行までです"_s.arg(kMaxVcdRows);
    else if (rdoClock->isChecked() && cmbClock->currentIndex() < 0)
        problem = u"クロックにする信号を選んでください"_s;
    if (problem.isEmpty()) problem = timeProblem(u"開始時刻"_s, edtStart->text(), true);
    if (problem.isEmpty() && rdoStep->isChecked()) problem = timeProblem(u"時間刻み"_s, edtStep->text(), false);

    btnOK->setEnabled(problem.isEmpty());
    if (!problem.isEmpty()) {
        lblSize->setText(problem);
        return;
    }
    const VcdChoices chosen = choices();
    QString how;
    if (!chosen.clock.empty())
        how = u"%1 のエッジごと"_s.arg(QString::fromStdString(chosen.clock));
    else if (chosen.stepFemtoseconds > 0)
        how = u"%1 刻み"_s.arg(QString::fromStdString(timeText(chosen.stepFemtoseconds)));
    else
        how = u"開始後の最初の間隔で刻む"_s;
    lblSize->setText(u"%1 信号 × %2 ステップ（%3 から、%4）"_s.arg(rows)
                         .arg(steps)
                         .arg(QString::fromStdString(timeText(chosen.startFemtoseconds)), how));
}

void VcdChoiceMemory::remember(const QString& path, const VcdChoices& choices)
{
    byPath_.insert(key(path), choices);
}

std::optional<VcdChoices> VcdChoiceMemory::recall(const QString& path) const
{
    const auto it = byPath_.constFind(key(path));
    if (it == byPath_.constEnd()) return std::nullopt;
    return *it;
}

QString VcdChoiceMemory::key(const QString& path)
{
    // One file by any of its names: through a link, a relative path, "..".
    return fileKey(path);
}

std::optional<VcdChoices> askVcdChoices(QWidget* parent, const QString& path, const VcdHeader& header,
                                        VcdChoiceMemory& memory)
{
    TfrmVcdImport dialog(header, memory.recall(path).value_or(TfrmVcdImport::firstChoices(header)), parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const VcdChoices choices = dialog.choices();
    memory.remember(path, choices);
    return choices;
}

}  // namespace solvena
