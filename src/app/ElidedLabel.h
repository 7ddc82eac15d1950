#pragma once

#include <QLabel>

namespace olv {

// A one-line label that shows as much of its text as fits, ending in "..." where it is cut.
// The whole text stays its accessible name, and its tooltip while it is cut, so a long place
// name never widens the window and is never lost.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void SetFullText(const QString& text);
    QString FullText() const { return fullText_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Elide();

    QString fullText_;
};

} // namespace olv
