#pragma once

#include "kvt_export.h"

#include <string>
#include <utility>
#include <vector>

namespace kvt {

// The key/value pairs of one settings section.
using SettingsEntries = std::vector<std::pair<std::string, std::string>>;

// Where string settings live, addressed by (application, section, key) as in a per-user
// registry. Application, section and key compare without regard to ASCII letter case; a section
// path keeps its "\" separators, and "Currencies\ISOCodes" is a section of its own, distinct from
// "Currencies". Names keep the spelling they were first written with.
//
// Failures throw kvt::Error. A backend is used by one thread at a time.
class KVT_EXPORT SettingsBackend {
public:
    virtual ~SettingsBackend() = default;

    // The stored value, or "" when there is none.
    virtual std::string read(const std::string &app, const std::string &section,
                             const std::string &key) = 0;
    // Whether a value is stored there, even an empty one.
    virtual bool contains(const std::string &app, const std::string &section,
                          const std::string &key) = 0;
    // Creates or replaces the value.
    virtual void write(const std::string &app, const std::string &section, const std::string &key,
                       const std::string &value) = 0;
    // Removes the value; removing an absent value is not an error.
    virtual void remove(const std::string &app, const std::string &section,
                        const std::string &key) = 0;
    // Every key/value pair of exactly this section (not of the sections nested below it), in
    // ascending key order as SQLite's NOCASE sorts: ASCII capitals folded to small letters, other
    // bytes by their unsigned value.
    virtual SettingsEntries enumerate(const std::string &app, const std::string &section) = 0;
    // The name of every section of the application that holds at least one value, each once (in
    // its first spelling), in the same order as enumerate's keys.
    virtual std::vector<std::string> sections(const std::string &app) = 0;

    // A batch makes a run of reads and writes one transaction: other users of the store see all
    // of its writes or none. Batches do not nest at this level; beginning one while one is open
    // throws. After a failed commit the batch is rolled back and closed.
    virtual void beginBatch() = 0;
    virtual void commitBatch() = 0;
    virtual void rollbackBatch() = 0;
};

} // namespace kvt
