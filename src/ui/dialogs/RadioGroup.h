#pragma once
// A captioned group of radio items chosen by index, as the dialogs' choices are.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

namespace solvena {

// At most one item is chosen; the index is -1 while none is.
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    RadioGroup(const QString& caption, const QStringList& items, int itemIndex,
               QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);   // -1 chooses none

private:
    void updateTabStop();

    QButtonGroup* buttons_;
};

}  // namespace solvena
