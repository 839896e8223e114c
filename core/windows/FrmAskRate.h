#pragma once

#include "engine/RatePrompt.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kvt::windows {

// The rate question: an explanation above "1 <from> = [rate] <to>", and OK. It has no cancel:
// the close box and Escape only hide it, like OK, so every showing ends with the text in
// txtRate. Whether that text is a usable rate is the engine's business, which asks again.
class FrmAskRate final : public QDialog {
    Q_OBJECT

public:
    explicit FrmAskRate(QWidget *parent = nullptr);

    // Fills the window from the question. Each showing starts in txtRate with its whole text
    // selected, so that typing replaces it.
    void init(const RateQuestion &question);
    // Shows the window modally until it is hidden, however that happens; the text then in
    // txtRate.
    std::string showModal();

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    void selectRate();

    QLabel *lblMsg;
    QLabel *lblDevisefrom;
    QLineEdit *txtRate;
    QLabel *lblDeviseTo;
    QPushButton *OKButton;
    bool mSelectOnActivation = false;
};

// The engine's rate question in the window, created on the first question and then kept,
// hidden between questions, for the library's life.
class AskRateWindowPrompt final : public RatePrompt {
public:
    std::optional<std::string> ask(const RateQuestion &question) override;
};

// The window, or null before the first question.
FrmAskRate *askRateWindow();

} // namespace kvt::windows
