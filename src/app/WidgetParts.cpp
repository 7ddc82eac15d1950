#include "app/WidgetParts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace olv {

QPushButton* WidgetParts::Button(QWidget* parent, const QString& caption,
                                 const QString& accessibleName) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    if (!accessibleName.isEmpty())
        button->setAccessibleName(accessibleName);
    return button;
}

QLabel* WidgetParts::BuddyLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setProperty("role", QStringLiteral("caption"));
    label->setBuddy(buddy);
    return label;
}

QHBoxLayout* WidgetParts::ButtonRow(std::initializer_list<QPushButton*> buttons,
                                    QPushButton* help) {
    auto* row = new QHBoxLayout;
    for (QPushButton* button : buttons)
        row->addWidget(button);
    row->addStretch(1);
    row->addWidget(help);
    return row;
}

QAction* WidgetParts::ContextAction(QWidget* owner, const QString& caption) {
    auto* action = new QAction(caption, owner);
    owner->addAction(action);
    owner->setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}

namespace {
constexpr const char* kPictureProperty = "olvPicture";

QAccessibleInterface* PictureFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->property(kPictureProperty).toBool())
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    return nullptr;
}
} // namespace

void WidgetParts::ShowAsPicture(QWidget* widget) {
    static const bool installed = [] {
        QAccessible::installFactory(PictureFactory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kPictureProperty, true);
}

} // namespace olv
