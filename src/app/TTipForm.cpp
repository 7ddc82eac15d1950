#include "app/TTipForm.h"

#include "app/Browser.h"
#include "app/QtText.h"
#include "app/TipOfTheDay.h"
#include "app/WebPages.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace olv {

TTipForm::TTipForm(TipOfTheDay& tips, QWidget* parent) : QDialog(parent), tips_(tips) {
    setWindowTitle(QStringLiteral("Tip of the Day..."));
    text_ = new QTextBrowser(this);
    text_->setAccessibleName(QStringLiteral("Tip"));
    text_->setOpenLinks(false);
    text_->setTabChangesFocus(true);
    showAtStartup_ = new QCheckBox(QStringLiteral("Show Tips at Startup"), this);
    showAtStartup_->setChecked(tips_.ShowAtStartup());
    auto* next = new QPushButton(QStringLiteral("Next"), this);
    auto* quickStart = new QPushButton(QStringLiteral("Quick Start Guide"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setDefault(true);
    connect(next, &QPushButton::clicked, this, &TTipForm::ShowNextTip);
    connect(quickStart, &QPushButton::clicked, this,
            [] { Browser::OpenProgramFile(web::kQuickStartGuide); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showAtStartup_);
    buttons->addStretch(1);
    buttons->addWidget(quickStart);
    buttons->addWidget(next);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    resize(440, 170);
    ShowNextTip();
}

void TTipForm::ShowNextTip() {
    const std::string tip = tips_.Next();
    text_->setPlainText(tip.empty() ? QStringLiteral("There are no tips to show.") : ToQt(tip));
}

QString TTipForm::TipText() const {
    return text_->toPlainText();
}

void TTipForm::done(int result) {
    tips_.SetShowAtStartup(showAtStartup_->isChecked());
    QDialog::done(result);
}

QPoint TTipForm::Place(const QRect& mainWindow, const QSize& size, const QRect& screen) {
    int x = mainWindow.left() + (mainWindow.width() - size.width()) / 2;
    int y = mainWindow.bottom() - kAboveMainBottom - size.height();
    if (y + size.height() > screen.bottom())
        y -= size.height();
    if (x + size.width() > screen.right())
        x -= size.width();
    return {x, y};
}

} // namespace olv
