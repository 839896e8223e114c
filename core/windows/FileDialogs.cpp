#include "windows/FileDialogs.h"

#include <QFileDialog>

namespace kvt::windows {

namespace {

std::shared_ptr<FileDialogs> &installed() {
    static std::shared_ptr<FileDialogs> dialogs = std::make_shared<QtFileDialogs>();
    return dialogs;
}

} // namespace

std::optional<QString> QtFileDialogs::choose(QWidget *parent, const FileRequest &request) {
    const QString path =
        request.mode == FileRequest::Mode::Open
            ? QFileDialog::getOpenFileName(parent, request.title, {}, request.filter)
            : QFileDialog::getSaveFileName(parent, request.title, request.suggestedName,
                                           request.filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> ScriptedFileDialogs::choose(QWidget *, const FileRequest &request) {
    mRequests.push_back(request);
    if (mPaths.empty())
        return std::nullopt;
    const QString path = mPaths.front();
    mPaths.erase(mPaths.begin());
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

FileDialogs &fileDialogs() {
    return *installed();
}

void setFileDialogs(std::shared_ptr<FileDialogs> dialogs) {
    installed() = dialogs ? std::move(dialogs) : std::make_shared<QtFileDialogs>();
}

} // namespace kvt::windows
