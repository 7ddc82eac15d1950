#pragma once

#include <QString>
#include <initializer_list>

class QAction;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace olv {

// Small pieces the areas of the window are built from, made the same way everywhere.
class WidgetParts {
public:
    // A push button that Enter in a list or field does not press; accessibleName tells
    // buttons with the same caption apart ("Help").
    static QPushButton* Button(QWidget* parent, const QString& caption,
                               const QString& accessibleName = {});
    // A caption that names its buddy for screen readers ("labelled by").
    static QLabel* BuddyLabel(const QString& caption, QWidget* buddy, QWidget* parent);
    // Buttons on the left, the help button on the right.
    static QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons, QPushButton* help);
    // An entry of the widget's context menu.
    static QAction* ContextAction(QWidget* owner, const QString& caption);
    // A drawn gauge is met by screen readers as a picture ("image") named by its accessible
    // name, not as an unnamed filler they pass over. Call before the widget is first named.
    static void ShowAsPicture(QWidget* widget);
};

} // namespace olv
