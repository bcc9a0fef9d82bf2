// The keys of a list's rows. A row is found by its key as Windows finds a
// file: without regard to letter case (ASCII letters), but a row whose key
// matches exactly wins over one that differs in case, so two files whose
// names differ only in case (possible on some file systems) each find their
// own row. A key may be given to several rows: the listing must never stop
// over a name; the first row given the key is found.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace corvella::platform {

class RowKeys {
public:
    // `row` is any stable identity of the row. An empty key is no key.
    void Add(const std::string& key, const void* row);
    // Forgets that `row` carries `key`; no effect when it does not.
    void Remove(const std::string& key, const void* row);
    // The row of that key (exact match first), null when none.
    const void* Find(const std::string& key) const;
    void Clear() { rows_.clear(); }

private:
    struct Entry {
        std::string key;
        const void* row;
    };
    std::unordered_map<std::string, std::vector<Entry>> rows_;  // by the folded key
};

}  // namespace corvella::platform
