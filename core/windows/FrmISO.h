#pragma once

#include <QDialog>
#include <string>
#include <string_view>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kvt::windows {

class Grid;

// What the ISO code editor tells the window that opened it once a code was added or updated.
class IsoEditorHost {
public:
    virtual ~IsoEditorHost() = default;
    virtual void isoSaved(const std::string &code) = 0;
};

// The ISO code editor: a new catalogue code (code, legal format, euro membership, a name in
// every language) or the format, membership and names of an existing one. The names are typed
// into the grid FlexIsoNames through the edit box txtEdit laid over the current cell: a click,
// Enter, F2 or a typed character opens it; Enter and Up/Down keep the text, Escape drops it.
// What the catalogue cannot keep is refused with an information box and changes nothing; the
// editor stays open. Cancel, Escape and the close box hide it without a change.
class FrmISO final : public QDialog {
    Q_OBJECT
public:
    enum Mode { Add = 1, Update = 2 };

    explicit FrmISO(QWidget *parent = nullptr);

    // Stores the window to tell and switches on the mutual update of format and decimals.
    void init(IsoEditorHost &host);
    // The captions that do not depend on the mode, in the current language.
    void TranslateFix();
    // Makes the editor ready to show for a mode: the names grid, the texts and the fields, empty
    // to add a code, those of the catalogue entry `code` to update it.
    void prepare(Mode mode, const std::string &code);

    // A legal format: "X", or "X." and any number of "X" more, in either case.
    static bool CheckLegalFormat(std::string_view format);
    // The index of a cell of the names grid, row by row.
    int Fgi(int row, int col) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void prepareGrid();
    void formatChanged();
    void decimalsChanged();
    // Opens the edit box over the current cell: with `typed` as its text, or the cell's.
    void startEdit(const QString &typed);
    // The cell being edited takes the edit box's text; the box hides.
    void commitEdit();
    // A key in the edit box that ends or moves the edit; false for any other key.
    bool EditKeyCode(int key);
    bool gridKeyPress(const QKeyEvent &key);
    void CmdAddIso_Click();
    // The first reason to refuse what the editor holds, as the box tells it; empty when none.
    std::string refusal(const std::string &code, const std::string &format) const;
    std::string names() const;
    void save(const std::string &code, const std::string &format);

    IsoEditorHost *mHost = nullptr;
    Mode mMode = Add;
    bool mUpdateDecimals = false; // a change of the legal format sets the decimals
    bool mUpdateFormat = false;   // a change of the decimals sets the legal format
    int mEditRow = 0;
    int mEditCol = 0;

    QLabel *mLblIsoCode;
    QLineEdit *mTxtISOCode;
    QCheckBox *mChkInEuro;
    QLabel *mLblNrDecimal;
    QLineEdit *mTxtNrDecimal;
    QSpinBox *mUpDown1;
    QLabel *mLblLegalFormat;
    QLineEdit *mTxtLegalFormat;
    QLabel *mLblISONames;
    Grid *mFlexIsoNames;
    QLineEdit *mTxtEdit;
    QLabel *mLblExplanation;
    QPushButton *mCmdAddIso;
    QPushButton *mCmdAddIsoCancel;
};

} // namespace kvt::windows
