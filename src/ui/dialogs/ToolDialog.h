#pragma once
// What the main window's four tool dialogs share: modeless, created once and then only
// shown and hidden, so their fields keep their values; an OK button and no Cancel.

#include <QDialog>

class QPushButton;

namespace solvena {

class ToolDialog : public QDialog {
    Q_OBJECT

public:
    // A fixed dialog border unless `sizeable`. The dialog starts hidden.
    ToolDialog(const QString& objectName, const QString& caption, bool sizeable, QWidget* parent);

    // Shows the dialog without blocking the main window, or brings it to the front.
    void showModeless();
    // Reads the dialog, hands its choice to the window and hides it.
    virtual void btnOKClick() = 0;

    QPushButton* const btnOK;

protected:
    // Lays `body` out above the OK button; call once the controls exist.
    void setBody(QLayout* body);
};

}  // namespace solvena
