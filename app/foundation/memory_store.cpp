#include "app/foundation/memory_store.h"

#include <algorithm>

#include "app/foundation/text_helpers.h"
#include "libs/common/text/text_primitives.h"

namespace corvella {

struct MemoryStore::Node {
    struct Value {
        std::string name;
        int32_t type;
        std::vector<uint8_t> data;
    };
    std::string name;
    std::vector<Value> values;
    std::vector<std::unique_ptr<Node>> children;

    Node* Child(const std::string& n) const {
        for (const auto& c : children)
            if (EqualsNoCase(c->name, n)) return c.get();
        return nullptr;
    }
    Value* FindValue(const std::string& n) {
        for (auto& v : values)
            if (EqualsNoCase(v.name, n)) return &v;
        return nullptr;
    }
    size_t Count() const {
        size_t n = children.size();
        for (const auto& c : children) n += c->Count();
        return n;
    }
};

namespace {

// Path parts; a trailing backslash is allowed, any other empty part makes
// the path invalid.
bool SplitPath(const std::string& path, std::vector<std::string>& parts) {
    parts.clear();
    if (path.empty()) return true;
    std::string p = path;
    if (p.back() == '\\') p.pop_back();
    parts = SplitText(p, '\\');
    return std::none_of(parts.begin(), parts.end(), [](const std::string& s) { return s.empty(); });
}

}  // namespace

MemoryStore::MemoryStore() {
    for (int32_t root : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers})
        roots_[root] = std::make_unique<Node>();
}

MemoryStore::~MemoryStore() = default;

MemoryStore::Node* MemoryStore::Find(int32_t root, const std::string& path) const {
    auto it = roots_.find(root);
    std::vector<std::string> parts;
    if (it == roots_.end() || !SplitPath(path, parts)) return nullptr;
    Node* node = it->second.get();
    for (const std::string& part : parts) {
        node = node->Child(part);
        if (node == nullptr) return nullptr;
    }
    return node;
}

bool MemoryStore::KeyExists(int32_t root, const std::string& path) {
    return Find(root, path) != nullptr;
}

bool MemoryStore::CreateKey(int32_t root, const std::string& path) {
    auto it = roots_.find(root);
    std::vector<std::string> parts;
    if (failCreate_ || it == roots_.end() || !SplitPath(path, parts)) return false;
    Node* node = it->second.get();
    for (const std::string& part : parts) {
        Node* next = node->Child(part);
        if (next == nullptr) {
            node->children.push_back(std::make_unique<Node>());
            next = node->children.back().get();
            next->name = part;
        }
        node = next;
    }
    return true;
}

bool MemoryStore::DeleteKey(int32_t root, const std::string& path) {
    std::vector<std::string> parts;
    if (failDeletes_ || !SplitPath(path, parts) || parts.empty()) return false;
    std::string parentPath;
    for (size_t i = 0; i + 1 < parts.size(); ++i) parentPath += (i ? "\\" : "") + parts[i];
    Node* parent = Find(root, parentPath);
    if (parent == nullptr) return false;
    auto& kids = parent->children;
    auto it = std::find_if(kids.begin(), kids.end(),
                           [&](const auto& c) { return EqualsNoCase(c->name, parts.back()); });
    if (it == kids.end() || !(*it)->children.empty()) return false;
    kids.erase(it);
    return true;
}

bool MemoryStore::QueryValue(int32_t root, const std::string& path, const std::string& name,
                             int32_t& type, std::vector<uint8_t>& data) {
    Node* node = Find(root, path);
    Node::Value* v = node ? node->FindValue(name) : nullptr;
    if (v == nullptr) return false;
    type = v->type;
    data = v->data;
    return true;
}

StoreResult MemoryStore::SetValue(int32_t root, const std::string& path, const std::string& name,
                                  int32_t type, const std::vector<uint8_t>& data) {
    if (!CreateKey(root, path)) return StoreResult::kNoKey;
    if (failWrites_) return StoreResult::kFailed;
    Node* node = Find(root, path);
    if (Node::Value* v = node->FindValue(name)) {
        v->type = type;
        v->data = data;
    } else {
        node->values.push_back({name, type, data});
    }
    return StoreResult::kOk;
}

StoreResult MemoryStore::DeleteValue(int32_t root, const std::string& path,
                                     const std::string& name) {
    Node* node = Find(root, path);
    if (node == nullptr) return StoreResult::kNoKey;
    auto& vals = node->values;
    auto it = std::find_if(vals.begin(), vals.end(),
                           [&](const Node::Value& v) { return EqualsNoCase(v.name, name); });
    if (failDeletes_ || it == vals.end()) return StoreResult::kFailed;
    vals.erase(it);
    return StoreResult::kOk;
}

bool MemoryStore::EnumValues(int32_t root, const std::string& path,
                             std::vector<std::string>& names) {
    names.clear();
    Node* node = Find(root, path);
    if (node == nullptr) return false;
    for (const auto& v : node->values) names.push_back(v.name);
    return true;
}

bool MemoryStore::EnumSubKeys(int32_t root, const std::string& path,
                              std::vector<std::string>& names) {
    names.clear();
    Node* node = Find(root, path);
    if (node == nullptr) return false;
    for (const auto& c : node->children) names.push_back(c->name);
    return true;
}

void MemoryStore::SetEnvironment(const std::string& name, const std::string& value) {
    environment_[Cp1252CaseRules().Upper(name)] = value;
}

std::string MemoryStore::ExpandEnvironment(const std::string& text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        size_t open = text.find('%', i);
        size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            out += text.substr(i);
            break;
        }
        out += text.substr(i, open - i);
        std::string name = text.substr(open + 1, close - open - 1);
        auto it = environment_.find(Cp1252CaseRules().Upper(name));
        if (!name.empty() && it != environment_.end()) {
            out += it->second;
            i = close + 1;
        } else {
            // Unknown: keep the first "%" and look again from the second.
            out += '%';
            out += name;
            i = close;
        }
    }
    return out;
}

size_t MemoryStore::KeyCount() const {
    size_t n = 0;
    for (const auto& r : roots_) n += r.second->Count();
    return n;
}

}  // namespace corvella
