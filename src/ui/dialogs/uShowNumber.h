#pragma once
// frmShowNumber: the number-label dialog, showing or hiding the level as a digit.

#include "ui/dialogs/ToolDialog.h"

#include <functional>
#include <optional>

namespace solvena {

class RadioGroup;

class TfrmShowNumber : public ToolDialog {
    Q_OBJECT

public:
    // `apply` runs on OK with whether labels show (nullopt while no item is chosen, as
    // at first), against the selection current then.
    TfrmShowNumber(std::function<void(std::optional<bool> shown)> apply, QWidget* parent);

    void btnOKClick() override;

    RadioGroup* const rdoShowNumber;

private:
    std::function<void(std::optional<bool>)> apply_;
};

}  // namespace solvena
