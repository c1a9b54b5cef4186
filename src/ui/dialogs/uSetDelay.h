#pragma once
// frmSetDelay: the delay dialog, asking how many pixels an edge is shifted.

#include "ui/dialogs/ToolDialog.h"

#include <cstdint>
#include <functional>

namespace solvena {

class IntSpinField;

class TfrmSetDelay : public ToolDialog {
    Q_OBJECT

public:
    // `apply` runs on OK with the delay, against the selection current then.
    TfrmSetDelay(std::function<void(int32_t delay)> apply, QWidget* parent);

    void btnOKClick() override;

    IntSpinField* const edtDelay;

private:
    std::function<void(int32_t)> apply_;
};

}  // namespace solvena
