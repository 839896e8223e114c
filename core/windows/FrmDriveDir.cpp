#include "windows/FrmDriveDir.h"

#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "windows/WindowLayout.h"
#include "windows/WindowText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

namespace kvt::windows {

namespace {

constexpr std::int32_t kDriveLabel = 440;
constexpr std::int32_t kPathLabel = 441;
constexpr std::int32_t kFoldersTip = 442;
constexpr std::int32_t kFilesTip = 443;
constexpr std::int32_t kTitle = 444;

bool isEnter(const QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Whether path lies on the file system mounted at root.
bool isBelow(const QString &path, const QString &root) {
    return path == root || root == QLatin1String("/")
           || path.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
}

// The folder list as a folder list box shows it: each folder from the root down to the current
// one, indented by its depth, then the current one's subfolders one step further in.
void addFolder(QListWidget &list, const QString &path, const QString &name, int depth,
               QStyle::StandardPixmap icon) {
    auto *entry = new QListWidgetItem(list.style()->standardIcon(icon),
                                      QString(depth * 2, QLatin1Char(' ')) + name, &list);
    entry->setData(Qt::UserRole, path);
}

} // namespace

FrmDriveDir::FrmDriveDir(FolderChoice &choice, QWidget *parent)
    : QDialog(parent)
    , mChoice(choice)
    , mDrive(new QComboBox(this))
    , mPath(new QLineEdit(this))
    , mDir(new QListWidget(this))
    , mFile(new QListWidget(this)) {
    setObjectName(QStringLiteral("FrmDriveDir"));
    setWindowTitle(messageText(kTitle));
    mDrive->setObjectName(QStringLiteral("Drive1"));
    mPath->setObjectName(QStringLiteral("TxtPath"));
    mDir->setObjectName(QStringLiteral("Dir1"));
    mFile->setObjectName(QStringLiteral("File1"));

    auto *driveLabel = new QLabel(messageText(kDriveLabel), this);
    driveLabel->setObjectName(QStringLiteral("lblDrive"));
    driveLabel->setBuddy(mDrive);
    mDrive->setAccessibleName(driveLabel->text());
    auto *pathLabel = new QLabel(messageText(kPathLabel), this);
    pathLabel->setObjectName(QStringLiteral("lblPath"));
    pathLabel->setBuddy(mPath);
    mPath->setAccessibleName(pathLabel->text());
    for (auto [list, tip] : {std::pair{mDir, kFoldersTip}, std::pair{mFile, kFilesTip}}) {
        list->setToolTip(messageText(tip));
        list->setAccessibleName(list->toolTip());
        list->setMinimumSize(pointsToPixels(*this, 150), pointsToPixels(*this, 150));
    }

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(messageText(msg::ButtonOk), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(messageText(msg::ButtonCancel), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(driveLabel, 0, 0);
    layout->addWidget(mDrive, 0, 1);
    layout->addWidget(pathLabel, 1, 0);
    layout->addWidget(mPath, 1, 1);
    layout->addWidget(mDir, 2, 0, 1, 2);
    layout->addWidget(mFile, 2, 2);
    layout->addWidget(buttons, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(2, 1);
    setTabOrder(mDrive, mPath);
    setTabOrder(mPath, mDir);
    setTabOrder(mDir, mFile);
    setTabOrder(mFile, ok);
    setTabOrder(ok, cancel);

    // Enter in the path box or the folder list goes somewhere; it must not also press OK.
    mPath->installEventFilter(this);
    mDir->installEventFilter(this);
    connect(mDrive, &QComboBox::activated, this, &FrmDriveDir::driveChosen);
    connect(mDir, &QListWidget::itemActivated, this, &FrmDriveDir::folderOpened);
    connect(buttons, &QDialogButtonBox::accepted, this, &FrmDriveDir::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &FrmDriveDir::reject);

    fillDrives();
    const QString start = QString::fromStdString(mChoice.currentPath);
    if (start.isEmpty() || !moveDir(start))
        if (!moveDir(QDir::homePath()))
            moveDir(QDir::rootPath());
    mPath->setText(mDirPath);
    mReady = true;
}

void FrmDriveDir::Show() {
    adjustSize();
    centreOnScreen(*this);
    exec();
}

void FrmDriveDir::fillDrives() {
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo &a, const QStorageInfo &b) {
        return a.rootPath() < b.rootPath();
    });
    for (const QStorageInfo &volume : volumes) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString name = volume.displayName();
        mDrive->addItem(name == volume.rootPath()
                            ? name
                            : QStringLiteral("%1 (%2)").arg(volume.rootPath(), name),
                        volume.rootPath());
    }
}

// The drive list shows the file system the folder lies on: the one mounted deepest above it.
void FrmDriveDir::showDriveOf(const QString &path) {
    int best = -1;
    for (int i = 0; i < mDrive->count(); ++i) {
        const QString root = mDrive->itemData(i).toString();
        if (isBelow(path, root)
            && (best < 0 || root.size() > mDrive->itemData(best).toString().size()))
            best = i;
    }
    mDrive->setCurrentIndex(best);
}

bool FrmDriveDir::moveDir(const QString &path) {
    const QFileInfo info(path);
    if (!info.isDir() || !info.isExecutable() || !info.isReadable())
        return false;
    const QString target = QDir::cleanPath(info.absoluteFilePath());
    const QDir dir(target);

    mDir->clear();
    QStringList chain;
    for (QDir up = dir;;) {
        chain.prepend(up.absolutePath());
        if (up.isRoot() || !up.cdUp())
            break;
    }
    int depth = 0;
    for (const QString &folder : chain) {
        const QString name = QDir(folder).isRoot() ? folder : QFileInfo(folder).fileName();
        addFolder(*mDir, folder, name, depth++, QStyle::SP_DirOpenIcon);
    }
    mDir->setCurrentRow(mDir->count() - 1);
    for (const QString &name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        addFolder(*mDir, dir.filePath(name), name, depth, QStyle::SP_DirClosedIcon);

    mFile->clear();
    mFile->addItems(dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
    mDirPath = target;
    showDriveOf(target);
    return true;
}

void FrmDriveDir::driveChosen(int index) {
    if (!mReady)
        return;
    const QString root = mDrive->itemData(index).toString();
    if (!moveDir(root)) {
        showDriveOf(mDirPath);
        return;
    }
    mPath->setText(root);
    mChoice.currentPath = root.toStdString();
}

void FrmDriveDir::pathEntered() {
    const QString typed = mPath->text().trimmed();
    if (typed.isEmpty())
        return;
    const QString target = QDir(mDirPath).absoluteFilePath(typed);
    if (!moveDir(target))
        return;
    mPath->setText(mDirPath);
    mChoice.currentPath = mDirPath.toStdString();
}

void FrmDriveDir::folderOpened(const QListWidgetItem *item) {
    if (mReady && item)
        moveDir(item->data(Qt::UserRole).toString());
}

void FrmDriveDir::confirm() {
    mChoice.chosenPath = mDirPath.toStdString();
    accept();
}

void FrmDriveDir::reject() {
    mChoice.chosenPath.clear();
    mChoice.currentPath.clear();
    QDialog::reject();
}

bool FrmDriveDir::eventFilter(QObject *watched, QEvent *event) {
    if (!isEnter(event) || (watched != mPath && watched != mDir))
        return QDialog::eventFilter(watched, event);
    if (watched == mPath)
        pathEntered();
    else
        folderOpened(mDir->currentItem());
    return true;
}

} // namespace kvt::windows
