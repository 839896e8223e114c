#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace kvt::windows {

// Choosing a file to read or write: Qt's file dialogs, or a script in tests, the way message
// boxes are chosen.
struct FileRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString filter;        // "Rate files (*.xml *.csv)"
    QString suggestedName; // for Save
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The path chosen, or nullopt when the user cancels.
    virtual std::optional<QString> choose(QWidget *parent, const FileRequest &request) = 0;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<QString> choose(QWidget *parent, const FileRequest &request) override;
};

// Answers with the paths queued (nullopt cancels), then cancels; records every request.
class ScriptedFileDialogs final : public FileDialogs {
public:
    std::optional<QString> choose(QWidget *parent, const FileRequest &request) override;
    void queue(const std::optional<QString> &path) { mPaths.push_back(path.value_or(QString())); }
    const std::vector<FileRequest> &requests() const { return mRequests; }

private:
    std::vector<QString> mPaths; // an empty one cancels
    std::vector<FileRequest> mRequests;
};

// The process-wide implementation: Qt's dialogs until replaced; never null.
FileDialogs &fileDialogs();
void setFileDialogs(std::shared_ptr<FileDialogs> dialogs);

} // namespace kvt::windows
