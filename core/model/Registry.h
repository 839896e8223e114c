#pragma once

#include "kvt_export.h"
#include "model/SettingsBackend.h"

#include <memory>
#include <string>
#include <vector>

namespace kvt {

// The one gateway through which the library reads and writes single settings. Every value lives
// under the application name ProjectName(), then a section path ("Currencies\ISOCodes"), then a
// key; reads always go to the backend, nothing is cached, so other processes' changes show at
// once. Every operation needs a ProjectName first.
class KVT_EXPORT Registry {
public:
    explicit Registry(std::shared_ptr<SettingsBackend> backend);

    const std::string &ProjectName() const { return mProjectName; }
    void setProjectName(std::string name) { mProjectName = std::move(name); }

    // The stored value; an absent or empty value is replaced by argstrDefault, which is stored
    // and returned. So every default in use ends up in the store.
    std::string strGetSetting(const std::string &argstrSection, const std::string &argstrKey,
                              const std::string &argstrDefault);
    // The stored value, "" when there is none; nothing is written.
    std::string readSetting(const std::string &section, const std::string &key);
    void SetReg(const std::string &argstrSection, const std::string &argstrKey,
                const std::string &argstrValue);
    // Appends Message and CR LF to the log file (defaultLogFilePath()), creating the file and its
    // folder as needed; the file is opened and closed again on every call.
    void LogFile(const std::string &Message);

    // All key/value pairs of exactly this section, in ascending key order (letter case ignored).
    SettingsEntries EnumerateSection(const std::string &section);
    // Every section of the application that holds a value, in the same order.
    std::vector<std::string> EnumerateSections();
    void DeleteSetting(const std::string &section, const std::string &key);

    // One transaction over the settings: other processes see all of its writes or none. Commit
    // with commit(); a scope left without commit (an exception, say) rolls everything back. A batch
    // opened while another is open joins it, and the outer one decides; if a joined batch ends
    // without commit, the outer commit rolls back and throws, so nothing half-done is kept.
    class Batch {
    public:
        explicit Batch(Registry &registry);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

        void commit();
        // False when this batch joined one opened before it, which decides for both.
        bool outermost() const { return mOutermost; }

    private:
        Registry &mRegistry;
        bool mFinished = false;
        bool mOutermost = false;
    };

private:
    void requireProjectName() const;

    std::shared_ptr<SettingsBackend> mBackend;
    std::string mProjectName;
    int mBatchDepth = 0;
    bool mBatchAbandoned = false;
};

// The library's one settings store: created on first use, on the per-user SQLite database at
// defaultSettingsPath() (opened when first read or written).
KVT_EXPORT std::shared_ptr<Registry> sharedRegistry();
// Replaces the shared store (tests); null drops it, and a later use creates the default again.
KVT_EXPORT void setSharedRegistry(std::shared_ptr<Registry> registry);

} // namespace kvt
