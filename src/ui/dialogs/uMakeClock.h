#pragma once
// frmMakePulse: the pulse generator's dialog, asking the run length of each level and
// the level every row starts with.

#include "ui/dialogs/ToolDialog.h"

#include <cstdint>
#include <functional>

namespace solvena {

class IntSpinField;
class RadioGroup;

// What the dialog asks for a pulse fill.
struct PulseSettings {
    int32_t lowLength;    // cells of every run of low
    int32_t highLength;   // cells of every run of high
    int32_t startLevel;   // the level each row begins with: low or high
};

class TfrmMakePulse : public ToolDialog {
    Q_OBJECT

public:
    // `fill` runs on OK with the dialog's settings, against the selection current then.
    TfrmMakePulse(std::function<void(const PulseSettings&)> fill, QWidget* parent);

    void btnOKClick() override;

    IntSpinField* const edt0PerN;
    IntSpinField* const edt1perN;
    RadioGroup* const rdgBegin;

private:
    std::function<void(const PulseSettings&)> fill_;
};

}  // namespace solvena
