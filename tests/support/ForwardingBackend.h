#pragma once

#include "model/MemorySettingsBackend.h"

namespace kvt::test {

// A memory store whose operations a test can watch: a derived class overrides the ones it
// cares about and forwards to the base.
class ForwardingBackend : public SettingsBackend {
public:
    std::string read(const std::string &app, const std::string &section,
                     const std::string &key) override {
        return mValues.read(app, section, key);
    }
    bool contains(const std::string &app, const std::string &section,
                  const std::string &key) override {
        return mValues.contains(app, section, key);
    }
    void write(const std::string &app, const std::string &section, const std::string &key,
               const std::string &value) override {
        mValues.write(app, section, key, value);
    }
    void remove(const std::string &app, const std::string &section,
                const std::string &key) override {
        mValues.remove(app, section, key);
    }
    SettingsEntries enumerate(const std::string &app, const std::string &section) override {
        return mValues.enumerate(app, section);
    }
    std::vector<std::string> sections(const std::string &app) override {
        return mValues.sections(app);
    }
    void beginBatch() override { mValues.beginBatch(); }
    void commitBatch() override { mValues.commitBatch(); }
    void rollbackBatch() override { mValues.rollbackBatch(); }

private:
    MemorySettingsBackend mValues;
};

} // namespace kvt::test
