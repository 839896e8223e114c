#include "model/Registry.h"

#include "model/Error.h"
#include "model/SharedInstance.h"
#include "model/SqliteSettingsBackend.h"
#include "model/UserPaths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kvt {

Registry::Registry(std::shared_ptr<SettingsBackend> backend)
    : mBackend(std::move(backend)) {
    if (!mBackend)
        throw Error(err::InvalidArgument, "A settings store needs a backend.");
}

void Registry::requireProjectName() const {
    if (mProjectName.empty())
        throw Error(err::SettingsStore,
                    "The settings store has no application name: set ProjectName first.");
}

std::string Registry::strGetSetting(const std::string &argstrSection, const std::string &argstrKey,
                                    const std::string &argstrDefault) {
    requireProjectName();
    std::string value = mBackend->read(mProjectName, argstrSection, argstrKey);
    if (!value.empty())
        return value;
    // An empty default stored before is not written again: a load that changes nothing must
    // work on a store the user may only read.
    if (!argstrDefault.empty() || !mBackend->contains(mProjectName, argstrSection, argstrKey))
        mBackend->write(mProjectName, argstrSection, argstrKey, argstrDefault);
    return argstrDefault;
}

std::string Registry::readSetting(const std::string &section, const std::string &key) {
    requireProjectName();
    return mBackend->read(mProjectName, section, key);
}

void Registry::SetReg(const std::string &argstrSection, const std::string &argstrKey,
                      const std::string &argstrValue) {
    requireProjectName();
    mBackend->write(mProjectName, argstrSection, argstrKey, argstrValue);
}

SettingsEntries Registry::EnumerateSection(const std::string &section) {
    requireProjectName();
    return mBackend->enumerate(mProjectName, section);
}

std::vector<std::string> Registry::EnumerateSections() {
    requireProjectName();
    return mBackend->sections(mProjectName);
}

void Registry::DeleteSetting(const std::string &section, const std::string &key) {
    requireProjectName();
    mBackend->remove(mProjectName, section, key);
}

namespace {

[[noreturn]] void throwLogFileError(const std::filesystem::path &path, const std::string &reason) {
    throw Error(err::FileAccess,
                "Cannot write to the log file \"" + path.string() + "\": " + reason);
}

} // namespace

void Registry::LogFile(const std::string &Message) {
    requireProjectName();
    const std::filesystem::path path = defaultLogFilePath();
    try {
        if (path.has_parent_path())
            createPrivateDirectories(path.parent_path());
    } catch (const Error &e) {
        throwLogFileError(path, e.description());
    }

    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        throwLogFileError(path, std::string(std::strerror(errno)) + ".");
    // One write per line, so that lines of several processes do not interleave.
    const std::string line = Message + "\r\n";
    std::size_t written = 0;
    int error = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(fd, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = errno;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        throwLogFileError(path, std::string(std::strerror(error)) + ".");
}

Registry::Batch::Batch(Registry &registry)
    : mRegistry(registry)
    , mOutermost(registry.mBatchDepth == 0) {
    if (mOutermost) {
        mRegistry.mBackend->beginBatch();
        mRegistry.mBatchAbandoned = false;
    }
    ++mRegistry.mBatchDepth;
}

Registry::Batch::~Batch() {
    if (mFinished)
        return;
    if (--mRegistry.mBatchDepth > 0) {
        mRegistry.mBatchAbandoned = true;
        return;
    }
    try {
        mRegistry.mBackend->rollbackBatch();
    } catch (...) {
        // A destructor cannot report; the backend closes the batch even when its rollback fails.
    }
}

void Registry::Batch::commit() {
    if (mFinished)
        return;
    mFinished = true;
    if (--mRegistry.mBatchDepth > 0)
        return;
    if (mRegistry.mBatchAbandoned) {
        mRegistry.mBackend->rollbackBatch();
        throw Error(err::SettingsStore, "A part of a settings batch failed, so none of the "
                                        "batch's changes were saved.");
    }
    mRegistry.mBackend->commitBatch();
}

namespace {

SharedInstance<Registry> &sharedRegistryInstance() {
    static SharedInstance<Registry> instance(
        [] { return std::make_shared<Registry>(std::make_shared<SqliteSettingsBackend>()); });
    return instance;
}

} // namespace

std::shared_ptr<Registry> sharedRegistry() {
    return sharedRegistryInstance().get();
}

void setSharedRegistry(std::shared_ptr<Registry> registry) {
    sharedRegistryInstance().set(std::move(registry));
}

} // namespace kvt
