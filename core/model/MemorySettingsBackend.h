#pragma once

#include "kvt_export.h"
#include "model/SettingsBackend.h"

#include <map>
#include <optional>
#include <tuple>

namespace kvt {

// Settings held in memory only; for tests and for hosts that must not persist anything.
class KVT_EXPORT MemorySettingsBackend final : public SettingsBackend {
public:
    std::string read(const std::string &app, const std::string &section,
                     const std::string &key) override;
    bool contains(const std::string &app, const std::string &section,
                  const std::string &key) override;
    void write(const std::string &app, const std::string &section, const std::string &key,
               const std::string &value) override;
    void remove(const std::string &app, const std::string &section,
                const std::string &key) override;
    SettingsEntries enumerate(const std::string &app, const std::string &section) override;
    std::vector<std::string> sections(const std::string &app) override;

    void beginBatch() override;
    void commitBatch() override;
    void rollbackBatch() override;

private:
    using Address = std::tuple<std::string, std::string, std::string>;
    struct AddressLess {
        bool operator()(const Address &a, const Address &b) const;
    };
    using Values = std::map<Address, std::string, AddressLess>;

    Values mValues;
    // The values as they were when the open batch began; a rollback restores them.
    std::optional<Values> mBatchStart;
};

} // namespace kvt
