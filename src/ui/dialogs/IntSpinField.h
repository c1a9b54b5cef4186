#pragma once
// The dialogs' integer spin field: a text field with arrow buttons that reads as a
// whole number inside a fixed range, however it was typed.

#include <QAbstractSpinBox>

namespace solvena {

// Typed input is limited to digits, sign characters and the decimal separator, so a
// text on its way to a number is never refused half-typed; the field reads a text that
// is not an integer as its minimum and a number outside the range as the nearest bound,
// and shows that value once the keyboard focus leaves it.
class IntSpinField : public QAbstractSpinBox {
    Q_OBJECT

public:
    IntSpinField(int minimum, int maximum, int value, QWidget* parent = nullptr);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // The number the field stands for now, whatever its text.
    int value() const;
    void setValue(int value);
    // Shows value() as the text: what leaving the field does.
    void correct();

    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    StepEnabled stepEnabled() const override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int minimum_;
    int maximum_;
};

}  // namespace solvena
