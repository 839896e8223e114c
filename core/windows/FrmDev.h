#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QPushButton;

namespace kvt::windows {

class TwoColumnList;

// The new-currency dialog: the catalogue codes not yet among the user's currencies, with their
// names, of which the user picks any number to add to the rate table. OK, Enter or a double
// click on an entry confirms the entries picked; Cancel, Escape and the close box pick none.
class FrmDev final : public QDialog {
    Q_OBJECT
public:
    explicit FrmDev(QWidget *parent = nullptr);

    // Fills the list, shows the dialog modally and returns the codes confirmed, in list order.
    std::vector<std::string> GetISO();

private:
    void fill();
    void cmdOK_Click();

    TwoColumnList *mLstIso;
    QPushButton *mCmdOK;
    QPushButton *mCmdKO;
    std::vector<std::string> mResult;
};

} // namespace kvt::windows
