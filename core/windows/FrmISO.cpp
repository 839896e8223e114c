#include "windows/FrmISO.h"

#include "engine/Formats.h"
#include "engine/SharedChange.h"
#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "model/Devise.h"
#include "model/ISO.h"
#include "ui/ControlPanel.h"
#include "windows/Controls.h"
#include "windows/Grid.h"
#include "windows/Reported.h"
#include "windows/WindowLayout.h"
#include "windows/WindowText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QValidator>
#include <algorithm>

namespace kvt::windows {

namespace {

constexpr int kMaxDecimals = 15;
constexpr int kLanguageColTwips = 1200;
constexpr int kNameColTwips = 2535;
constexpr int kNameCol = 1;
constexpr int kEditInsetTwips = 8;
constexpr const char *kEuro = "EUR";
// The code's own first alias, flagged as its code alias, and no default alias.
constexpr const char *kOwnAlias = "-1|";

// Legal formats are written with capital X, whatever the keyboard gives.
class UpperCase final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

// The store keeps a code as a key of its settings and in "|"-separated lists: a "|", a "\"
// (which would open a sub-section) or a control character cannot be part of it.
bool storableCode(const QString &code) {
    return std::none_of(code.begin(), code.end(), [](QChar c) {
        return c == QLatin1Char('|') || c == QLatin1Char('\\')
               || c.category() == QChar::Other_Control;
    });
}

std::string trimmed(const QLineEdit &field) {
    return field.text().trimmed().toStdString();
}

} // namespace

FrmISO::FrmISO(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmISO"));
    setModal(true);
    build();
    TranslateFix();
}

void FrmISO::build() {
    mTxtISOCode = named<QLineEdit>(this, "txtISOCode");
    mLblIsoCode = buddyLabel(this, "lblIsoCode", mTxtISOCode);
    mChkInEuro = named<QCheckBox>(this, "chkInEuro");
    mTxtNrDecimal = named<QLineEdit>(this, "TxtNrDecimal");
    mTxtNrDecimal->setValidator(new QIntValidator(0, kMaxDecimals, mTxtNrDecimal));
    mLblNrDecimal = buddyLabel(this, "lblNrDecimal", mTxtNrDecimal);
    mUpDown1 = named<QSpinBox>(this, "UpDown1");
    mUpDown1->setRange(0, kMaxDecimals);
    arrowsOnly(*mUpDown1);
    mTxtLegalFormat = named<QLineEdit>(this, "txtLegalFormat");
    mTxtLegalFormat->setValidator(new UpperCase(mTxtLegalFormat));
    mLblLegalFormat = buddyLabel(this, "lblLegalFormat", mTxtLegalFormat);
    mFlexIsoNames = named<Grid>(this, "FlexIsoNames");
    mLblISONames = buddyLabel(this, "lblISONames", mFlexIsoNames);
    // Laid over the cell being edited, in the grid's view of its cells.
    mTxtEdit = named<QLineEdit>(mFlexIsoNames->viewport(), "txtEdit");
    mTxtEdit->hide();
    mLblExplanation = named<QLabel>(this, "lblExplanation");
    mLblExplanation->setWordWrap(true);
    mCmdAddIso = named<QPushButton>(this, "CmdAddIso");
    mCmdAddIso->setDefault(true);
    mCmdAddIsoCancel = named<QPushButton>(this, "cmdAddIsoCancel");
    mCmdAddIsoCancel->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(mLblIsoCode, 0, 0);
    layout->addWidget(mTxtISOCode, 0, 1);
    layout->addWidget(mChkInEuro, 0, 2, 1, 2);
    layout->addWidget(mLblNrDecimal, 1, 0);
    layout->addWidget(mTxtNrDecimal, 1, 1);
    layout->addWidget(mUpDown1, 1, 2, Qt::AlignLeft);
    layout->addWidget(mLblLegalFormat, 2, 0);
    layout->addWidget(mTxtLegalFormat, 2, 1);
    layout->addWidget(mLblISONames, 3, 0, 1, 4);
    layout->addWidget(mFlexIsoNames, 4, 0, 1, 4, Qt::AlignLeft);
    layout->addWidget(mLblExplanation, 5, 0, 1, 4);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mCmdAddIso);
    buttons->addWidget(mCmdAddIsoCancel);
    layout->addLayout(buttons, 6, 0, 1, 4);
    layout->setColumnStretch(3, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(mTxtLegalFormat, &QLineEdit::textChanged, this, [this] { formatChanged(); });
    connect(mTxtNrDecimal, &QLineEdit::textChanged, this, [this] { decimalsChanged(); });
    connect(mUpDown1, &QSpinBox::valueChanged, this,
            [this](int value) { mTxtNrDecimal->setText(QString::number(value)); });
    connect(mFlexIsoNames, &QTableWidget::cellClicked, this, [this] { startEdit({}); });
    connect(mFlexIsoNames, &QTableWidget::cellDoubleClicked, this, [this] { startEdit({}); });
    connect(mFlexIsoNames, &QTableWidget::currentCellChanged, this, [this] { commitEdit(); });
    connect(mCmdAddIso, &QPushButton::clicked, this, [this] { CmdAddIso_Click(); });
    connect(mCmdAddIsoCancel, &QPushButton::clicked, this, &QDialog::reject);
    mFlexIsoNames->installEventFilter(this);
    mTxtEdit->installEventFilter(this);

    QWidget *const order[] = {mTxtISOCode, mChkInEuro,      mTxtNrDecimal,
                              mUpDown1,    mTxtLegalFormat, mFlexIsoNames,
                              mTxtEdit,    mCmdAddIso,      mCmdAddIsoCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void FrmISO::init(IsoEditorHost &host) {
    mHost = &host;
    mUpdateDecimals = true;
    mUpdateFormat = true;
}

void FrmISO::TranslateFix() {
    const std::pair<QWidget *, int> captions[] = {
        {mLblIsoCode, msg::IsoCodeLabel},  {mChkInEuro, msg::IsoInEuro},
        {mLblNrDecimal, msg::IsoDecimals}, {mLblLegalFormat, msg::IsoLegalFormat},
        {mLblISONames, msg::IsoNames},     {mCmdAddIsoCancel, msg::IsoCancel}};
    for (const auto &[widget, message] : captions) {
        if (auto *label = qobject_cast<QLabel *>(widget))
            label->setText(messageText(message));
        else
            static_cast<QAbstractButton *>(widget)->setText(messageText(message));
    }
    // Controls without a caption of their own are named by the caption beside them.
    mUpDown1->setAccessibleName(messageText(msg::IsoDecimals));
    mFlexIsoNames->setAccessibleName(messageText(msg::IsoNames));
    mTxtEdit->setAccessibleName(messageText(msg::IsoNameHeader));
}

void FrmISO::prepare(Mode mode, const std::string &code) {
    // Filling the fields is no change by the user: neither field rewrites the other.
    const QScopedValueRollback<bool> keepDecimals(mUpdateDecimals, false);
    const QScopedValueRollback<bool> keepFormat(mUpdateFormat, false);
    mMode = mode;
    TranslateFix();
    prepareGrid();
    mLblExplanation->setText(messageText(msg::IsoExplanation));
    const bool update = mode == Update;
    setWindowTitle(messageText(update ? msg::IsoModifyTitle : msg::IsoNewTitle));
    mCmdAddIso->setText(messageText(update ? msg::IsoModify : msg::IsoCreate));
    mTxtISOCode->setEnabled(!update);
    if (update) {
        const ISO &record = *sharedChange()->ColISO()->Item(code);
        mTxtISOCode->setText(QString::fromStdString(code));
        mChkInEuro->setChecked(record.MasterISO() == kEuro);
        mTxtLegalFormat->setText(QString::fromStdString(record.LegalFormat()));
        mTxtNrDecimal->setText(QString::number(FrmControlPanel::NrOfDec(record.LegalFormat())));
        const std::vector<std::string> &names = record.ColNames();
        for (std::size_t language = 0; language < names.size(); ++language) {
            const int row = static_cast<int>(language) + 1;
            if (row < mFlexIsoNames->Rows() - 1)
                mFlexIsoNames->setTextMatrix(row, kNameCol, names[language]);
        }
        mChkInEuro->setFocus();
    } else {
        mTxtISOCode->clear();
        mChkInEuro->setChecked(false);
        mTxtLegalFormat->setText(QStringLiteral("X.XX"));
        mTxtNrDecimal->setText(QStringLiteral("2"));
        mTxtISOCode->setFocus();
    }
    mFlexIsoNames->setRow(1);
    mFlexIsoNames->setCol(kNameCol);
    adjustSize();
    centreOnScreen(*this);
}

// One fixed header row, then a row per language (its own name for it) and a spare row.
void FrmISO::prepareGrid() {
    mTxtEdit->hide();
    mTxtEdit->clear();
    const Message &messages = *sharedMessage();
    const int languages = sharedChange()->NrLanguages();
    Grid &grid = *mFlexIsoNames;
    grid.setCols(2);
    grid.setRows(languages + 2);
    grid.setFixedRows(1);
    grid.setFixedCols(0);
    grid.Clear();
    grid.setTextMatrix(0, 0, Translate(msg::IsoLanguageHeader));
    grid.setTextMatrix(0, kNameCol, Translate(msg::IsoNameHeader));
    grid.setColWidth(0, kLanguageColTwips);
    grid.setColWidth(kNameCol, kNameColTwips);
    for (int language = 0; language < languages; ++language)
        grid.setTextMatrix(language + 1, 0, messages.strGetLangMsg(language, msg::LanguageName));
}

void FrmISO::formatChanged() {
    if (!mUpdateDecimals)
        return;
    const QScopedValueRollback<bool> once(mUpdateFormat, false);
    mTxtNrDecimal->setText(
        QString::number(FrmControlPanel::NrOfDec(mTxtLegalFormat->text().toStdString())));
}

void FrmISO::decimalsChanged() {
    bool number = false;
    const int decimals = mTxtNrDecimal->text().toInt(&number);
    const bool usable = number && decimals >= 0 && decimals <= kMaxDecimals;
    if (usable) {
        const QSignalBlocker quiet(mUpDown1);
        mUpDown1->setValue(decimals);
    }
    if (!mUpdateFormat || !usable)
        return;
    const QScopedValueRollback<bool> once(mUpdateDecimals, false);
    mTxtLegalFormat->setText(
        QString::fromStdString(FrmControlPanel::LegalFormatFromNrDec(decimals)));
}

bool FrmISO::CheckLegalFormat(std::string_view format) {
    return kvt::CheckLegalFormat(format);
}

int FrmISO::Fgi(int row, int col) const {
    return row * mFlexIsoNames->Cols() + col;
}

// Only the names are typed: the language column and the spare row are the grid's frame.
void FrmISO::startEdit(const QString &typed) {
    Grid &grid = *mFlexIsoNames;
    const int row = grid.Row();
    const int col = grid.Col();
    if (col != kNameCol || row < 1 || row >= grid.Rows() - 1)
        return;
    mEditRow = row;
    mEditCol = col;
    mTxtEdit->setText(typed.isEmpty() ? QString::fromStdString(grid.TextMatrix(row, col)) : typed);
    mTxtEdit->end(false);
    const int inset = twipsToPixels(*this, kEditInsetTwips);
    const QRect cell =
        grid.visualRect(grid.model()->index(row - grid.FixedRows(), col - grid.FixedCols()));
    mTxtEdit->setGeometry(cell.left(), cell.top(), cell.width() - inset, cell.height() - inset);
    mTxtEdit->show();
    mTxtEdit->setFocus(Qt::OtherFocusReason);
}

void FrmISO::commitEdit() {
    if (!mTxtEdit->isVisible())
        return;
    mTxtEdit->hide();
    mFlexIsoNames->setTextMatrix(mEditRow, mEditCol, mTxtEdit->text().toStdString());
}

bool FrmISO::EditKeyCode(int key) {
    Grid &grid = *mFlexIsoNames;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commitEdit();
        break;
    case Qt::Key_Escape:
        mTxtEdit->hide();
        break;
    case Qt::Key_Up:
        commitEdit();
        if (grid.Row() > grid.FixedRows())
            grid.setRow(grid.Row() - 1);
        break;
    case Qt::Key_Down:
        commitEdit();
        if (grid.Row() + 1 < grid.Rows())
            grid.setRow(grid.Row() + 1);
        break;
    default:
        return false;
    }
    grid.setFocus(Qt::OtherFocusReason);
    return true;
}

// A character typed on the grid starts the name with it; Enter, F2, Space and Backspace open
// the cell's name as it is. Other keys move in the grid or leave it.
bool FrmISO::gridKeyPress(const QKeyEvent &key) {
    const QString text = key.text();
    const bool control = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (!control && text.size() == 1 && text.front().unicode() > ' ' && text.front().isPrint()) {
        startEdit(text);
        return true;
    }
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
    case Qt::Key_Space:
    case Qt::Key_Backspace:
        startEdit({});
        return true;
    default:
        return false;
    }
}

bool FrmISO::eventFilter(QObject *watched, QEvent *event) {
    if (watched == mTxtEdit && event->type() == QEvent::KeyPress)
        return EditKeyCode(static_cast<QKeyEvent *>(event)->key())
               || QDialog::eventFilter(watched, event);
    if (watched == mFlexIsoNames) {
        if (event->type() == QEvent::FocusIn)
            commitEdit();
        else if (event->type() == QEvent::KeyPress
                 && gridKeyPress(*static_cast<QKeyEvent *>(event)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

std::string FrmISO::refusal(const std::string &code, const std::string &format) const {
    const auto joined = [](std::int32_t first, const std::string &middle, std::int32_t last) {
        return Translate(first) + " " + middle + " " + Translate(last);
    };
    if (mMode == Add) {
        if (code.empty())
            return Translate(msg::IsoEmptyCode);
        if (!storableCode(QString::fromStdString(code)))
            return Translate(msg::IsoForbiddenCharacter);
        // The catalogue tells codes apart without regard to case, so "xau" is "XAU".
        if (sharedChange()->ColISO()->find(code))
            return joined(msg::IsoExists, code, msg::IsoExistsEnd);
    }
    if (!CheckLegalFormat(format))
        return joined(msg::IsoBadFormat, format, msg::IsoBadFormatEnd);
    // The names are stored as one "|"-separated list: a "|" in a name would shift the others.
    for (int row = 1; row < mFlexIsoNames->Rows() - 1; ++row)
        if (mFlexIsoNames->TextMatrix(row, kNameCol).find('|') != std::string::npos)
            return Translate(msg::IsoNameWithSeparator);
    return {};
}

// Each language's name followed by the list separator, as the store keeps names.
std::string FrmISO::names() const {
    const std::string separator = CurrencyTables::RegListSeparator();
    std::string joined;
    for (int row = 1; row < mFlexIsoNames->Rows() - 1; ++row)
        joined += mFlexIsoNames->TextMatrix(row, kNameCol) + separator;
    return joined;
}

void FrmISO::CmdAddIso_Click() {
    commitEdit();
    reported("CmdAddIso_Click", [this] {
        const std::string code = trimmed(*mTxtISOCode);
        const std::string format = trimmed(*mTxtLegalFormat);
        if (const std::string refused = refusal(code, format); !refused.empty()) {
            sharedMessage()->Msgbox(refused, false);
            return;
        }
        save(code, format);
        if (mHost)
            mHost->isoSaved(code);
        accept();
    });
}

void FrmISO::save(const std::string &code, const std::string &format) {
    Change &change = *sharedChange();
    const std::string master = mChkInEuro->isChecked() ? kEuro : "";
    if (mMode == Add) {
        change.mSubAddISO(code, 0, format, master);
        change.msubAddAlias(code, kOwnAlias);
        change.msubLoadTaux(code, {}); // no rates yet
        for (const auto &entry : *change.ColISO())
            if (entry->Value() != code)
                entry->AddTaux(code, 0.0);
        std::shared_ptr<ColISO> catalogue = change.ColISO();
        change.SortColIso(catalogue);
    } else {
        ISO &record = *change.ColISO()->Item(code);
        record.setLegalFormat(format);
        record.setMasterISO(master);
        // A selected currency rounds by its own copy of the format: it follows at once, as it
        // would after the next load.
        if (Devise *currency = change.ColDevises()->find(code)) {
            currency->setInEuro(mChkInEuro->isChecked());
            currency->setAliasDef(record.aliasDef());
            currency->setDevFormat(format);
        }
    }
    change.msubAddNames(code, names());
}

} // namespace kvt::windows
