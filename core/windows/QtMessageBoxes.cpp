#include "windows/QtMessageBoxes.h"

#include "model/Error.h"
#include "windows/Application.h"

#include <QInputDialog>
#include <QMessageBox>
#include <iostream>
#include <vector>

namespace kvt::windows {

namespace {

QMessageBox::StandardButton standardButton(BoxAnswer answer) {
    switch (answer) {
    case BoxAnswer::Ok:
        return QMessageBox::Ok;
    case BoxAnswer::Cancel:
        return QMessageBox::Cancel;
    case BoxAnswer::Yes:
        return QMessageBox::Yes;
    case BoxAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon qtIcon(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::None:
        return QMessageBox::NoIcon;
    case BoxIcon::Information:
        return QMessageBox::Information;
    case BoxIcon::Critical:
        return QMessageBox::Critical;
    case BoxIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString titleOf(const std::string &title) {
    return title.empty() ? QStringLiteral("Talvio") : windowText(title);
}

} // namespace

bool windowsAvailable() {
    try {
        ensureApplication();
        return true;
    } catch (const Error &failure) {
        if (failure.number() != err::Windows)
            throw;
        static bool told = false;
        if (!told)
            std::cerr << "Talvio: " << failure.what() << '\n';
        told = true;
        return false;
    }
}

BoxAnswer QtMessageBoxes::show(const BoxRequest &request) {
    if (!windowsAvailable())
        return StderrMessageBoxes().show(request);
    QMessageBox box(qtIcon(request.icon), titleOf(request.title), windowText(request.text));
    box.setTextFormat(Qt::PlainText);
    const std::vector<BoxAnswer> answers = answersOf(request.buttons);
    for (const BoxAnswer answer : answers)
        box.addButton(standardButton(answer));
    box.setDefaultButton(standardButton(answers.front()));
    const BoxAnswer safe = safeDefault(request.buttons);
    box.setEscapeButton(box.button(standardButton(safe)));
    box.exec();
    for (const BoxAnswer answer : answers) {
        if (box.clickedButton() == box.button(standardButton(answer)))
            return answer;
    }
    return safe;
}

std::optional<std::string> QtMessageBoxes::input(const InputRequest &request) {
    if (!windowsAvailable())
        return std::nullopt;
    QInputDialog dialog;
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(titleOf(request.title));
    dialog.setLabelText(windowText(request.prompt));
    dialog.setTextValue(QString::fromStdString(request.initialText));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().toStdString();
}

} // namespace kvt::windows
