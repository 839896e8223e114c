#include "windows/frmAbout.h"

#include "messages/Message.h"
#include "messages/MessageBoxes.h"
#include "model/Error.h"
#include "model/MachineSettings.h"
#include "windows/Grid.h"
#include "windows/ProductImage.h"
#include "windows/WindowLayout.h"
#include "windows/WindowText.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace kvt::windows {

namespace {

constexpr std::int32_t kTitle = 41;
constexpr std::int32_t kOk = 42;
constexpr std::int32_t kSysInfo = 43;
constexpr std::int32_t kNameHeader = 47;
constexpr std::int32_t kValueHeader = 48;
constexpr std::int32_t kProductTitle = 430;
constexpr std::int32_t kVersion = 431;
constexpr std::int32_t kDescription = 432;
constexpr std::int32_t kYear = 433;
constexpr std::int32_t kNoSysInfo = 1255;
constexpr std::int32_t kOperationFailed = 1048;

constexpr int kNameWidth = 2400; // twips
constexpr int kValueWidth = 4000;
constexpr int kImageSize = 64;
constexpr int kMostTablePoints = 180; // the table's height before it scrolls

QLabel *label(QWidget *parent, const char *name) {
    auto *created = new QLabel(parent);
    created->setObjectName(QString::fromLatin1(name));
    return created;
}

// A path from a setting written for another system may separate its folders with "\".
QString withSlashes(const std::string &path) {
    return QString::fromStdString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// The file of that name in the folder, compared without regard to letter case as the setting's
// system did; empty when there is none.
QString fileInFolder(const QString &folder, const QString &name) {
    const QDir dir(folder);
    if (dir.exists(name))
        return dir.filePath(name);
    for (const QString &entry : dir.entryList(QDir::Files))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

void reportFailure(const std::string &description) {
    messageBoxes().show(BoxRequest{"Talvio",
                                   Translate(kOperationFailed) + " (StartSysInfo): " + description,
                                   BoxIcon::Critical, BoxButtons::Ok});
}

} // namespace

std::string systemInfoProgram() {
    // An empty value names no program.
    const auto program =
        GetKeyValue(kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    if (program && !program->empty())
        return withSlashes(*program).toStdString();
    const auto folder =
        GetKeyValue(kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO");
    if (folder && !folder->empty())
        return fileInFolder(withSlashes(*folder), QStringLiteral("MSINFO32.EXE")).toStdString();
    return {};
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
    , mImage(label(this, "Image1"))
    , mTitle(label(this, "lblTitle"))
    , mVersion(label(this, "lblVersion"))
    , mDescription(label(this, "lblDescription"))
    , mYear(label(this, "lblYear"))
    , mTable(new Grid(this))
    , mOk(new QPushButton(this))
    , mSysInfo(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmAbout"));
    mImage->setPixmap(productImage(kImageSize));
    QFont titleFont = mTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    mTitle->setFont(titleFont);
    mTable->setObjectName(QStringLiteral("FlexAbout"));
    mOk->setObjectName(QStringLiteral("cmdOK"));
    mOk->setDefault(true);
    mSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(mImage, 0, 0, 4, 1, Qt::AlignTop);
    layout->addWidget(mTitle, 0, 1);
    layout->addWidget(mVersion, 1, 1);
    layout->addWidget(mDescription, 2, 1);
    layout->addWidget(mYear, 3, 1);
    layout->addWidget(mTable, 4, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(mSysInfo);
    buttons->addStretch();
    buttons->addWidget(mOk);
    layout->addLayout(buttons, 5, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    setTabOrder(mTable, mOk);
    setTabOrder(mOk, mSysInfo);

    connect(mOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(mSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);

    setTexts();
    LoadFlexAbout({}, {});
}

void frmAbout::setTexts() {
    setWindowTitle(messageText(kTitle));
    mOk->setText(messageText(kOk));
    mSysInfo->setText(messageText(kSysInfo));
    mTitle->setText(messageText(kProductTitle));
    mVersion->setText(messageText(kVersion));
    mDescription->setText(messageText(kDescription));
    mYear->setText(messageText(kYear));
    mImage->setAccessibleName(mTitle->text());
}

void frmAbout::LoadFlexAbout(const std::vector<std::string> &names,
                             const std::vector<std::string> &values) {
    if (names.size() != values.size())
        throw Error(err::InvalidArgument,
                    "The about box needs one value for each parameter name, but was given "
                        + std::to_string(names.size()) + " names and "
                        + std::to_string(values.size()) + " values.");
    mTable->setCols(2);
    mTable->setRows(static_cast<int>(names.size()) + 1);
    mTable->setFixedCols(0);
    mTable->setFixedRows(1);
    mTable->Clear();
    mTable->setTextMatrix(0, 0, Translate(kNameHeader));
    mTable->setTextMatrix(0, 1, Translate(kValueHeader));
    mTable->setColWidth(0, kNameWidth);
    mTable->setColWidth(1, kValueWidth);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        mTable->setTextMatrix(row, 0, names[i]);
        mTable->setTextMatrix(row, 1, values[i]);
    }
    mTable->setAccessibleName(messageText(kNameHeader) + QStringLiteral(", ")
                              + messageText(kValueHeader));
    // Room for both columns and some rows; more rows scroll.
    const QSize wanted = mTable->sizeHint();
    const int most = pointsToPixels(*mTable, kMostTablePoints, Qt::Vertical);
    const int scrollBar =
        wanted.height() > most ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    mTable->setMinimumSize(wanted.width() + scrollBar, std::min(wanted.height(), most));
}

void frmAbout::Show() {
    mOk->setFocus();
    adjustSize();
    centreOnScreen(*this);
    exec();
}

void frmAbout::StartSysInfo() {
    try {
        const std::string program = systemInfoProgram();
        if (program.empty()) {
            sharedMessage()->Msgbox(Translate(kNoSysInfo), false);
            return;
        }
        QProcess process;
        process.setProgram(QString::fromStdString(program));
        if (!process.startDetached())
            throw Error(err::FileAccess, "Cannot start the system-information program \"" + program
                                             + "\": " + process.errorString().toStdString() + ".");
    } catch (const std::exception &failure) {
        reportFailure(failure.what());
    }
}

} // namespace kvt::windows
