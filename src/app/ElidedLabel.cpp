#include "app/ElidedLabel.h"

#include <QEvent>

namespace olv {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // The layout gives it the room left over; its text does not ask for more.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::SetFullText(const QString& text) {
    fullText_ = text;
    // (Qt tells screen readers when the name changes.)
    setAccessibleName(text);
    Elide();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Elide();
}

// The style sheet sets the caption's font after it was made.
void ElidedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        Elide();
}

void ElidedLabel::Elide() {
    const QString shown =
        fontMetrics().elidedText(fullText_, Qt::ElideRight, contentsRect().width());
    if (shown != text())
        setText(shown);
    setToolTip(shown == fullText_ ? QString() : fullText_);
}

} // namespace olv
