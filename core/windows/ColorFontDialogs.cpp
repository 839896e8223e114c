#include "windows/ColorFontDialogs.h"

#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "windows/Application.h"
#include "windows/WindowText.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace kvt::windows {

namespace {

// The colour dialog over parent: the colour chosen, nothing when cancelled.
std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) {
    QColorDialog dialog(initial, parent);
    dialog.setObjectName(QStringLiteral("dlgColor"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

// Qt's font dialog offers strike-through and underline but no colour: it sits here as a widget,
// without its buttons, beside a colour button and this dialog's own OK and Cancel.
class FontDialog final : public QDialog {
public:
    explicit FontDialog(const FontChoice &choice)
        : mColor(choice.color)
        , mPresetSize(choice.size) {
        setObjectName(QStringLiteral("dlgFont"));
        setWindowTitle(messageText(msg::FontDialogTitle));
        // Made first and made a widget before the buttons exist: Tab goes through the font
        // choice, then the buttons.
        mChooser = new QFontDialog(this);
        mChooser->setObjectName(QStringLiteral("fontChooser"));
        mChooser->setWindowFlags(Qt::Widget);
        mChooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        mChooser->setCurrentFont(presetFont(choice));
        // The chooser's lists keep Enter to themselves and the chooser, a dialog itself, takes
        // Escape as closing itself alone: this dialog sees both keys first.
        mChooser->installEventFilter(this);
        for (auto *control : mChooser->findChildren<QWidget *>())
            control->installEventFilter(this);
        nameChooserFields();

        mColorButton = new QPushButton(messageText(msg::FontDialogColour), this);
        mColorButton->setObjectName(QStringLiteral("cmdColor"));
        mColorButton->setAutoDefault(false);
        showColor();
        connect(mColorButton, &QPushButton::clicked, this, [this] {
            if (const auto chosen = chooseColor(this, hostToColor(mColor))) {
                mColor = colorToHost(*chosen);
                showColor();
            }
        });
        auto *ok = new QPushButton(messageText(msg::ButtonOk), this);
        ok->setObjectName(QStringLiteral("cmdOK"));
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        auto *cancel = new QPushButton(messageText(msg::ButtonCancel), this);
        cancel->setObjectName(QStringLiteral("cmdCancel"));
        cancel->setAutoDefault(false);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

        auto *buttons = new QHBoxLayout;
        buttons->addWidget(mColorButton);
        buttons->addStretch();
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(mChooser);
        layout->addLayout(buttons);
    }

    // The choice as the user confirmed it.
    void update(FontChoice &choice) const {
        const QFont font = mChooser->currentFont();
        choice.name = font.family().toStdString();
        // The chooser keeps whole points: a fractional size the user left alone stays as given.
        const double size = font.pointSizeF();
        if (std::lround(mPresetSize) != std::lround(size))
            choice.size = static_cast<float>(size);
        choice.bold = font.bold();
        choice.italic = font.italic();
        choice.strike = font.strikeOut();
        choice.underline = font.underline();
        choice.color = mColor;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->matches(QKeySequence::Cancel)) {
                reject();
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                accept();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }

private:
    static QFont presetFont(const FontChoice &choice) {
        QFont font = QGuiApplication::font();
        if (!choice.name.empty())
            font.setFamily(QString::fromStdString(choice.name));
        if (choice.size > 0)
            font.setPointSizeF(static_cast<double>(choice.size));
        font.setBold(choice.bold);
        font.setItalic(choice.italic);
        font.setStrikeOut(choice.strike);
        font.setUnderline(choice.underline);
        if (const QString style = closestStyle(font.family(), choice.bold, choice.italic);
            !style.isEmpty())
            font.setStyleName(style);
        return font;
    }

    // The chooser finds a style by name only ("Normal", "Bold Italic") and otherwise takes the
    // first one its list shows, which for a family that names its styles otherwise (DejaVu's
    // "Book" and "Oblique") could be an italic for a plain font. So the preset names the
    // family's own style: the right slant, then the right width, then the nearest weight.
    static QString closestStyle(const QString &family, bool bold, bool italic) {
        const int weight = bold ? QFont::Bold : QFont::Normal;
        QString closest;
        int closestDistance = std::numeric_limits<int>::max();
        for (const QString &style : QFontDatabase::styles(family)) {
            const QFont font = QFontDatabase::font(family, style, 12);
            const int stretch = font.stretch();
            const int distance =
                (font.italic() != italic ? 10000 : 0)
                + (stretch != QFont::AnyStretch && stretch != QFont::Unstretched ? 1000 : 0)
                + std::abs(font.weight() - weight);
            if (distance < closestDistance) {
                closest = style;
                closestDistance = distance;
            }
        }
        return closest;
    }

    // Screen readers name a list by its accessible name only, never by its label, and the
    // chooser's read-only name fields stand for the lists behind them: both take the label's
    // text. The size list's label names the size field above it.
    void nameChooserFields() {
        QString sizeName;
        for (auto *edit : mChooser->findChildren<QLineEdit *>()) {
            if (QWidget *list = edit->focusProxy())
                edit->setAccessibleName(labelFor(list));
            else if (!labelFor(edit).isEmpty())
                sizeName = labelFor(edit);
        }
        for (auto *list : mChooser->findChildren<QAbstractItemView *>()) {
            const QString label = labelFor(list);
            list->setAccessibleName(label.isEmpty() ? sizeName : label);
        }
    }

    QString labelFor(const QWidget *widget) const {
        for (auto *label : mChooser->findChildren<QLabel *>())
            if (label->buddy() == widget)
                return label->text().remove(u'&');
        return {};
    }

    void showColor() {
        QPixmap swatch(16, 16);
        swatch.fill(hostToColor(mColor));
        mColorButton->setIcon(swatch);
        mColorButton->setAccessibleDescription(hostToColor(mColor).name());
    }

    QFontDialog *mChooser = nullptr;
    QPushButton *mColorButton = nullptr;
    std::int32_t mColor;
    float mPresetSize;
};

} // namespace

QColor hostToColor(std::int32_t color) {
    const auto value = static_cast<std::uint32_t>(color);
    return {static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
            static_cast<int>((value >> 16) & 0xFFu)};
}

std::int32_t colorToHost(const QColor &color) {
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

std::optional<std::int32_t> ColorByDialog(std::int32_t colorDef) {
    ensureApplication();
    const auto chosen = chooseColor(nullptr, hostToColor(colorDef));
    if (!chosen)
        return std::nullopt;
    return colorToHost(*chosen);
}

bool FontByDialog(FontChoice &choice) {
    ensureApplication();
    FontDialog dialog(choice);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.update(choice);
    return true;
}

} // namespace kvt::windows
