// A SettingsStore held in memory, for tests and for runs without a
// registry. It behaves as the registry does where the settings class can
// tell: key and value names match without regard to case (and keep the case
// they were created with), values enumerate in the order they were first
// written, sub-keys in the order they were created, a key with sub-keys
// cannot be deleted, and only the four predefined roots exist.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/foundation/settings_store.h"

namespace corvella {

class MemoryStore : public SettingsStore {
public:
    MemoryStore();
    ~MemoryStore() override;

    bool KeyExists(int32_t root, const std::string& path) override;
    bool CreateKey(int32_t root, const std::string& path) override;
    bool DeleteKey(int32_t root, const std::string& path) override;
    bool QueryValue(int32_t root, const std::string& path, const std::string& name, int32_t& type,
                    std::vector<uint8_t>& data) override;
    StoreResult SetValue(int32_t root, const std::string& path, const std::string& name,
                         int32_t type, const std::vector<uint8_t>& data) override;
    StoreResult DeleteValue(int32_t root, const std::string& path,
                            const std::string& name) override;
    bool EnumValues(int32_t root, const std::string& path,
                    std::vector<std::string>& names) override;
    bool EnumSubKeys(int32_t root, const std::string& path,
                     std::vector<std::string>& names) override;
    // %NAME% of a variable set with SetEnvironment is replaced by its text;
    // unknown names stay as they are.
    std::string ExpandEnvironment(const std::string& text) override;

    void SetEnvironment(const std::string& name, const std::string& value);

    // Fault injection: every key creation fails / every value write fails
    // after its key was opened / every delete fails.
    void SetFailCreate(bool fail) { failCreate_ = fail; }
    void SetFailWrites(bool fail) { failWrites_ = fail; }
    void SetFailDeletes(bool fail) { failDeletes_ = fail; }

    // Total of keys below the four roots, for tests of the wipe.
    size_t KeyCount() const;

private:
    struct Node;
    Node* Find(int32_t root, const std::string& path) const;

    std::map<int32_t, std::unique_ptr<Node>> roots_;
    std::map<std::string, std::string> environment_;  // by upper-case name
    bool failCreate_ = false;
    bool failWrites_ = false;
    bool failDeletes_ = false;
};

}  // namespace corvella
