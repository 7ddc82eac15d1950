#include "app/dialogs/TOVLookForm.h"

#include "app/QtColour.h"
#include "app/dialogs/DialogSupport.h"
#include "settings/TBaseRegistryClass.h"
#include "util/ColourText.h"
#include "util/Strings.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace olv {
namespace {

constexpr const char* kTrayFontName = "TrayFontName";
constexpr const char* kTrayFontSize = "TrayFontSize";
constexpr const char* kTrayFontColor = "TrayFontColor";
constexpr double kReadableContrast = 3.0;

// The captions of the samples, in kColourItems order.
constexpr std::array<const char*, 6> kSampleCaptions = {
    "S&tart Color:", "&End Color:",   "Button Colo&r:",
    "&Label Color:", "&Value Color:", "Button Capt&ions:"};

struct Scheme {
    const char* caption;
    std::array<const char*, 6> colours;
};

// The last one is filled from the declared defaults.
constexpr Scheme kSchemes[TOVLookForm::kSchemeCount] = {
    {"&Black On White", {"clWhite", "clWhite", "clWhite", "clBlack", "clBlack", "clBlack"}},
    {"&White On Black", {"clBlack", "clBlack", "clBlack", "clWhite", "clWhite", "clWhite"}},
    {"&Sunrise (Orange)", {"128", "4227327", "128", "16777215", "65408", "65535"}},
    {"Eart&h (Green)", {"$00004000", "$00004000", "clGreen", "$0000FF80", "$0080FFFF", "clLime"}},
    {"White on &Purple", {"$00800040", "$00FF0080", "$00800040", "clWhite", "clWhite", "clWhite"}},
    {"Blue &Gradient (Default)", {}},
};

// Pairs of (text colour, background colour) by index into kColourItems, with what they are.
const struct {
    int text;
    int background;
    const char* what;
} kReadablePairs[] = {
    {4, 0, "values on the start colour"},       {4, 1, "values on the end colour"},
    {3, 0, "labels on the start colour"},       {3, 1, "labels on the end colour"},
    {5, 2, "button captions on their buttons"},
};

QString WithoutMnemonic(const char* caption) {
    QString text = QString::fromLatin1(caption).remove(QLatin1Char('&'));
    text.chop(1); // the colon
    return text;
}

// "Navy" for a named colour, else its three components.
QString ColourName(const std::string& text) {
    Rgb colour;
    if (!ColourFromText(text, colour))
        return Latin1(text);
    const std::string canonical = ColourToText(colour);
    if (StartsWith(canonical, "cl"))
        return Latin1(canonical.substr(2));
    return QStringLiteral("RGB %1, %2, %3").arg(colour.Red).arg(colour.Green).arg(colour.Blue);
}

void PaintSample(QLabel* sample, const std::string& text) {
    sample->setText(ColourName(text));
    Rgb colour;
    if (!ColourFromText(text, colour)) {
        sample->setStyleSheet(QString());
        return;
    }
    // The name is written in black or white, whichever reads better on the colour.
    const Rgb black{0, 0, 0}, white{255, 255, 255};
    const char* ink =
        ContrastRatio(colour, black) >= ContrastRatio(colour, white) ? "black" : "white";
    sample->setStyleSheet(QStringLiteral("background-color: %1; color: %2; border: 1px solid gray;")
                              .arg(ToQColor(colour).name(), QString::fromLatin1(ink)));
}

} // namespace

TOVLookForm::TOVLookForm(TBaseRegistryClass& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Olvenar Appearance"));
    PickColour = [](QWidget* owner, const QColor& initial,
                    const QString& title) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, owner, title);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
    PickFont = [](QWidget* owner, const QFont& initial) -> std::optional<QFont> {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, initial, owner);
        return ok ? std::optional<QFont>(chosen) : std::nullopt;
    };
    for (size_t i = 0; i < kColourItems.size(); ++i)
        colours_[i] = settings.GetValue(kColourItems[i]).AsString();
    trayFontName_ = settings.GetValue(kTrayFontName).AsString();
    trayFontSize_ = settings.GetValue(kTrayFontSize).AsInt();
    trayFontColor_ = settings.GetValue(kTrayFontColor).AsString();

    auto* grid = new QGridLayout;
    for (size_t i = 0; i < kColourItems.size(); ++i) {
        auto* caption = new QLabel(QString::fromLatin1(kSampleCaptions[i]), this);
        samples_[i] = new QLabel(this);
        samples_[i]->setMinimumWidth(160);
        auto* change = new QPushButton(QStringLiteral("Change"), this);
        change->setAccessibleName(QStringLiteral("Change ") + WithoutMnemonic(kSampleCaptions[i]));
        caption->setBuddy(change);
        connect(change, &QPushButton::clicked, this, [this, i] { ChangeColour(int(i)); });
        grid->addWidget(caption, int(i), 0);
        grid->addWidget(samples_[i], int(i), 1);
        grid->addWidget(change, int(i), 2);
    }
    const int trayRow = int(kColourItems.size());
    auto* trayCaption = new QLabel(QStringLiteral("System Tray &Font:"), this);
    trayFontSample_ = new QLabel(QStringLiteral("72\u00B0"), this);
    trayFontSample_->setAlignment(Qt::AlignCenter);
    trayFontText_ = new QLabel(this);
    auto* changeFont = new QPushButton(QStringLiteral("Change"), this);
    changeFont->setAccessibleName(QStringLiteral("Change System Tray Font"));
    auto* changeFontColour = new QPushButton(QStringLiteral("Font Colo&ur"), this);
    trayCaption->setBuddy(changeFont);
    connect(changeFont, &QPushButton::clicked, this, &TOVLookForm::ChangeTrayFont);
    connect(changeFontColour, &QPushButton::clicked, this, &TOVLookForm::ChangeTrayFontColour);
    auto* trayButtons = new QVBoxLayout;
    trayButtons->addWidget(changeFont);
    trayButtons->addWidget(changeFontColour);
    auto* trayText = new QVBoxLayout;
    trayText->addWidget(trayFontSample_);
    trayText->addWidget(trayFontText_);
    grid->addWidget(trayCaption, trayRow, 0, Qt::AlignTop);
    grid->addLayout(trayText, trayRow, 1);
    grid->addLayout(trayButtons, trayRow, 2);

    auto* schemes = new QGroupBox(QStringLiteral("Colour Schemes"), this);
    auto* schemeGrid = new QGridLayout(schemes);
    for (int scheme = 0; scheme < kSchemeCount; ++scheme) {
        auto* button = new QPushButton(QString::fromLatin1(kSchemes[scheme].caption), schemes);
        connect(button, &QPushButton::clicked, this, [this, scheme] { ApplyScheme(scheme); });
        schemeGrid->addWidget(button, scheme / 2, scheme % 2);
    }

    warningLabel_ = new QLabel(this);
    warningLabel_->setWordWrap(true);
    warningLabel_->setObjectName(QStringLiteral("ReadabilityWarning"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TOVLookForm::Ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(schemes);
    layout->addWidget(warningLabel_);
    layout->addStretch();
    layout->addWidget(buttons);
    Refresh();
}

std::string TOVLookForm::DefaultTextOf(const char* item) const {
    for (const auto& declared : settings_.Items())
        if (SameText(declared->Name, item))
            return declared->DefaultAsText();
    return {};
}

void TOVLookForm::ApplyScheme(int scheme) {
    if (scheme < 0 || scheme >= kSchemeCount)
        return;
    defaultScheme_ = scheme == kDefaultScheme;
    for (size_t i = 0; i < kColourItems.size(); ++i)
        colours_[i] = defaultScheme_ ? DefaultTextOf(kColourItems[i]) : kSchemes[scheme].colours[i];
    Refresh();
}

void TOVLookForm::ChangeColour(int item) {
    const std::optional<QColor> chosen =
        PickColour(this, TextToQColor(colours_.at(size_t(item))),
                   WithoutMnemonic(kSampleCaptions.at(size_t(item))));
    if (!chosen)
        return;
    colours_[size_t(item)] = ColourToText(ToRgb(*chosen));
    defaultScheme_ = false;
    Refresh();
}

void TOVLookForm::ChangeTrayFont() {
    const std::optional<QFont> chosen = PickFont(this, QFont(Latin1(trayFontName_), trayFontSize_));
    if (!chosen)
        return;
    trayFontName_ = ToLatin1(chosen->family());
    if (chosen->pointSize() > 0)
        trayFontSize_ = chosen->pointSize();
    Refresh();
}

void TOVLookForm::ChangeTrayFontColour() {
    const std::optional<QColor> chosen =
        PickColour(this, TextToQColor(trayFontColor_), QStringLiteral("System Tray Font"));
    if (!chosen)
        return;
    trayFontColor_ = ColourToText(ToRgb(*chosen));
    Refresh();
}

void TOVLookForm::Refresh() {
    for (size_t i = 0; i < samples_.size(); ++i)
        PaintSample(samples_[i], colours_[i]);
    QFont font(Latin1(trayFontName_), trayFontSize_ > 0 ? trayFontSize_ : 20);
    trayFontSample_->setFont(font);
    // The tray icon is drawn on white.
    trayFontSample_->setStyleSheet(QStringLiteral("background-color: white; color: %1;")
                                       .arg(TextToQColor(trayFontColor_).name()));
    trayFontText_->setText(QStringLiteral("%1, %2 pt, %3")
                               .arg(Latin1(trayFontName_))
                               .arg(trayFontSize_)
                               .arg(ColourName(trayFontColor_)));
    const QString warning = ReadabilityWarning();
    warningLabel_->setText(warning);
    warningLabel_->setVisible(!warning.isEmpty());
}

QString TOVLookForm::ReadabilityWarning() const {
    QStringList hard;
    for (const auto& pair : kReadablePairs) {
        Rgb text, background;
        if (ColourFromText(colours_[size_t(pair.text)], text) &&
            ColourFromText(colours_[size_t(pair.background)], background) &&
            ContrastRatio(text, background) < kReadableContrast)
            hard << QString::fromLatin1(pair.what);
    }
    if (hard.isEmpty())
        return {};
    return QStringLiteral("Some text will be hard to read with these colours (contrast under "
                          "3:1): ") +
           hard.join(QStringLiteral(", ")) + QLatin1Char('.');
}

void TOVLookForm::Ok() {
    settings_.SetValue(kTrayFontName, trayFontName_);
    settings_.SetValue(kTrayFontSize, int32_t(trayFontSize_));
    settings_.SetValue(kTrayFontColor, trayFontColor_);
    if (defaultScheme_) {
        // Written first, so that nothing changed earlier in this session is lost; without
        // stored values the colours take their defaults.
        settings_.SaveAll();
        for (const char* item : kColourItems)
            settings_.DeleteAppValue(item);
        settings_.LoadAll();
    } else {
        for (size_t i = 0; i < kColourItems.size(); ++i)
            settings_.SetValue(kColourItems[i], colours_[i]);
    }
    emit AppearanceChanged();
    accept();
}

} // namespace olv
