#include "ui/dialogs/IntSpinField.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>

namespace solvena {

IntSpinField::IntSpinField(int minimum, int maximum, int value, QWidget* parent)
    : QAbstractSpinBox(parent), minimum_(minimum), maximum_(std::max(minimum, maximum))
{
    setAccelerated(true);
    setValue(value);
}

int IntSpinField::value() const
{
    bool ok = false;
    const int typed = text().toInt(&ok);
    return ok ? std::clamp(typed, minimum_, maximum_) : minimum_;
}

void IntSpinField::setValue(int value)
{
    const QString shown = QString::number(std::clamp(value, minimum_, maximum_));
    if (lineEdit()->text() != shown)
        lineEdit()->setText(shown);
    update();   // the arrows' enabled state follows the value
}

void IntSpinField::correct()
{
    setValue(value());
}

QValidator::State IntSpinField::validate(QString& input, int&) const
{
    const QString decimalPoint = locale().decimalPoint();
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar ch = input.at(i);
        if (!ch.isDigit() && ch != u'+' && ch != u'-' && !decimalPoint.contains(ch))
            return QValidator::Invalid;
    }
    // Whatever passes is read as a number, so the spin box never holds back a text.
    return QValidator::Acceptable;
}

void IntSpinField::stepBy(int steps)
{
    const long long stepped = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(stepped, minimum_, maximum_)));
    selectAll();
}

QAbstractSpinBox::StepEnabled IntSpinField::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    StepEnabled enabled = StepNone;
    if (value() < maximum_)
        enabled |= StepUpEnabled;
    if (value() > minimum_)
        enabled |= StepDownEnabled;
    return enabled;
}

QSize IntSpinField::sizeHint() const
{
    // Room for the widest number of the range, as a spin box of that range would have.
    const QFontMetrics metrics(font());
    const int digits = std::max(metrics.horizontalAdvance(QString::number(minimum_)),
                                metrics.horizontalAdvance(QString::number(maximum_)));
    const QSize base = QAbstractSpinBox::sizeHint();
    return QSize(std::max(base.width(), digits + 48), base.height());
}

QSize IntSpinField::minimumSizeHint() const
{
    return sizeHint();
}

void IntSpinField::focusInEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusInEvent(event);
    // Typing replaces the number as soon as the field is reached by keyboard or shown.
    if (event->reason() != Qt::MouseFocusReason)
        selectAll();
}

void IntSpinField::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    // A menu or a context menu opened over the field is no leaving.
    if (event->reason() != Qt::PopupFocusReason)
        correct();
}

}  // namespace solvena
