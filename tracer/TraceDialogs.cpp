#include "TraceDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace kvt::tracer {

namespace {

QMessageBox::Icon boxIcon(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Information:
        return QMessageBox::Information;
    case BoxIcon::Critical:
        return QMessageBox::Critical;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    BoxAnswer answer;
};

std::vector<ButtonAnswer> buttonsOf(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::OkCancel:
        return {{QMessageBox::Ok, BoxAnswer::Ok}, {QMessageBox::Cancel, BoxAnswer::Cancel}};
    case BoxButtons::YesNo:
        return {{QMessageBox::Yes, BoxAnswer::Yes}, {QMessageBox::No, BoxAnswer::No}};
    case BoxButtons::YesNoCancel:
        return {{QMessageBox::Yes, BoxAnswer::Yes},
                {QMessageBox::No, BoxAnswer::No},
                {QMessageBox::Cancel, BoxAnswer::Cancel}};
    case BoxButtons::Ok:
        break;
    }
    return {{QMessageBox::Ok, BoxAnswer::Ok}};
}

class QtMessageBoxes final : public MessageBoxes {
public:
    BoxAnswer show(const BoxRequest &request) override {
        QMessageBox box(boxIcon(request.icon), QString::fromStdString(request.title),
                        QString::fromStdString(request.text), QMessageBox::NoButton,
                        QApplication::activeWindow());
        const std::vector<ButtonAnswer> buttons = buttonsOf(request.buttons);
        for (const ButtonAnswer &button : buttons)
            box.addButton(button.button);
        const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
        for (const ButtonAnswer &button : buttons)
            if (button.button == pressed)
                return button.answer;
        return safeDefault(request.buttons); // closed without a button
    }
};

class QtSaveFileChooser final : public SaveFileChooser {
public:
    std::optional<QString> saveFileName(const QString &suggested) override {
        const QString chosen =
            QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), suggested,
                                         QStringLiteral("Texte (*.txt);;Tous les fichiers (*)"));
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen;
    }
};

} // namespace

TraceDialogs qtTraceDialogs() {
    return {std::make_shared<QtMessageBoxes>(), std::make_shared<QtSaveFileChooser>()};
}

} // namespace kvt::tracer
