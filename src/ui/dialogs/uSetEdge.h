#pragma once
// frmSetEdge: the edge-arrow dialog, choosing no arrow, a rising or a falling one.

#include "editing/AttributeCommands.h"
#include "ui/dialogs/ToolDialog.h"

#include <functional>
#include <optional>

namespace solvena {

class RadioGroup;

class TfrmSetEdge : public ToolDialog {
    Q_OBJECT

public:
    // `apply` runs on OK with the chosen arrow (nullopt while no item is chosen),
    // against the selection current then.
    TfrmSetEdge(std::function<void(std::optional<EdgeArrow>)> apply, QWidget* parent);

    void btnOKClick() override;

    RadioGroup* const rdoEdge;

private:
    std::function<void(std::optional<EdgeArrow>)> apply_;
};

}  // namespace solvena
