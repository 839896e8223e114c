#pragma once

#include "facade/Windows.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace kvt::windows {

// The folder chooser: drives (the mounted file systems that are ready) in Drive1, the folder
// list Dir1 (the folders from the root down to the current one, then its subfolders; Enter or a
// double click opens one), the current folder's files in File1, and a path to type in TxtPath
// (Enter goes there). A drive or folder that cannot be entered leaves the lists where they were.
// OK keeps the folder list's folder as the chosen path; Cancel, Escape or the close box empty
// the chosen and the current path.
class FrmDriveDir final : public QDialog {
    Q_OBJECT
public:
    // Starts at the choice's current path, or the home folder when that is empty or cannot be
    // entered; what the user does is written back to the choice.
    FrmDriveDir(FolderChoice &choice, QWidget *parent = nullptr);

    // Centres the chooser and shows it modally.
    void Show();
    // The folder the folder list stands in.
    const QString &dirPath() const { return mDirPath; }

    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillDrives();
    // Moves the folder and file lists to path; false, changing nothing, when it cannot be
    // entered or listed.
    bool moveDir(const QString &path);
    void showDriveOf(const QString &path);
    void driveChosen(int index);
    void pathEntered();
    void folderOpened(const QListWidgetItem *item);
    void confirm();

    FolderChoice &mChoice;
    QComboBox *mDrive;
    QLineEdit *mPath;
    QListWidget *mDir;
    QListWidget *mFile;
    QString mDirPath;
    bool mReady = false;
};

} // namespace kvt::windows
