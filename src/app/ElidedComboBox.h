#pragma once

#include <QComboBox>

namespace olv {

// A drop-down that shows its current entry cut with "..." where it does not fit, instead of
// clipped mid-letter (a place name is often longer than the room beside its neighbour).
// Screen readers and the open list still get the whole entry.
class ElidedComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace olv
