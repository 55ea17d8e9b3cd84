#pragma once

#include <cctype>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/RegistryStore.h"

namespace quorrel::test {

// A registry kept in memory, with the success rules of the real one: key paths and value
// names compare without regard to ASCII case, creating a key creates its parents, a string
// needs its length plus a terminating zero in the caller's buffer, a value of the other
// type is WrongType, and a key opened for reading refuses writes. Tests preset and inspect
// values through the helpers below and can deny full access to chosen keys.
class MemoryRegistryStore final : public platform::RegistryStore {
public:
    MemoryRegistryStore() : state_(std::make_shared<State>()) {}

    // --- What a test arranges ---

    // Keys (any case) that cannot be opened with full access nor created, as for a user
    // without administrator rights; opening them for reading still works.
    void denyFullAccess(std::string_view path) {
        const std::lock_guard lock(state_->mutex);
        state_->denied.insert(lower(path));
    }

    // How many bytes a text takes in the caller's buffer; by default its UTF-8 bytes. Tests
    // of code page limits plug in the CP949 length here.
    void setEncodedLength(std::function<std::size_t(std::string_view)> length) {
        const std::lock_guard lock(state_->mutex);
        state_->encodedLength = std::move(length);
    }

    void addKey(std::string_view path) {
        const std::lock_guard lock(state_->mutex);
        state_->create(path);
    }
    void putString(std::string_view path, std::string_view name, std::string_view value) {
        const std::lock_guard lock(state_->mutex);
        state_->create(path)->put(name, Value{false, std::string(value), 0});
    }
    void putDword(std::string_view path, std::string_view name, std::uint32_t value) {
        const std::lock_guard lock(state_->mutex);
        state_->create(path)->put(name, Value{true, {}, value});
    }

    // --- What a test inspects ---

    bool hasKey(std::string_view path) const {
        const std::lock_guard lock(state_->mutex);
        return state_->keys.count(lower(path)) != 0;
    }
    std::optional<std::string> stringValue(std::string_view path, std::string_view name) const {
        const std::lock_guard lock(state_->mutex);
        const Value* value = state_->find(path, name);
        if (value == nullptr || value->isDword) {
            return std::nullopt;
        }
        return value->text;
    }
    std::optional<std::uint32_t> dwordValue(std::string_view path, std::string_view name) const {
        const std::lock_guard lock(state_->mutex);
        const Value* value = state_->find(path, name);
        if (value == nullptr || !value->isDword) {
            return std::nullopt;
        }
        return value->number;
    }

    // Every successful or failed open and create, in order: the path as given and the
    // access asked for (create asks for full access).
    std::vector<std::pair<std::string, platform::RegAccess>> openLog() const {
        const std::lock_guard lock(state_->mutex);
        return state_->openLog;
    }

    // Keys opened and not yet closed.
    int openHandles() const {
        const std::lock_guard lock(state_->mutex);
        return state_->openHandles;
    }

    // --- The store itself ---

    platform::RegStatus openKey(std::string_view path, platform::RegAccess access,
                                std::unique_ptr<platform::RegistryKey>& key) override {
        const std::lock_guard lock(state_->mutex);
        state_->openLog.emplace_back(std::string(path), access);
        if (!validPath(path)) {
            return platform::RegStatus::Failed;
        }
        if (state_->keys.count(lower(path)) == 0) {
            return platform::RegStatus::NotFound;
        }
        if (access == platform::RegAccess::AllAccess && state_->denied.count(lower(path)) != 0) {
            return platform::RegStatus::AccessDenied;
        }
        key = std::make_unique<Key>(state_, lower(path), access == platform::RegAccess::AllAccess);
        return platform::RegStatus::Ok;
    }

    platform::RegStatus createKey(std::string_view path,
                                  std::unique_ptr<platform::RegistryKey>& key) override {
        const std::lock_guard lock(state_->mutex);
        state_->openLog.emplace_back(std::string(path), platform::RegAccess::AllAccess);
        if (!validPath(path)) {
            return platform::RegStatus::Failed;
        }
        if (state_->denied.count(lower(path)) != 0) {
            return platform::RegStatus::AccessDenied;
        }
        state_->create(path);
        key = std::make_unique<Key>(state_, lower(path), true);
        return platform::RegStatus::Ok;
    }

private:
    struct Value {
        bool isDword = false;
        std::string text;
        std::uint32_t number = 0;
    };

    struct KeyData {
        // Lower-case name -> value.
        std::map<std::string, Value> values;
        void put(std::string_view name, Value value) { values[lower(name)] = std::move(value); }
    };

    struct State {
        std::mutex mutex;
        std::map<std::string, KeyData> keys;  // lower-case path -> key
        std::set<std::string> denied;
        std::function<std::size_t(std::string_view)> encodedLength;
        std::vector<std::pair<std::string, platform::RegAccess>> openLog;
        int openHandles = 0;

        KeyData* create(std::string_view path) {
            const std::string lowered = lower(path);
            for (std::size_t slash = lowered.find('\\'); slash != std::string::npos;
                 slash = lowered.find('\\', slash + 1)) {
                keys[lowered.substr(0, slash)];
            }
            return &keys[lowered];
        }

        const Value* find(std::string_view path, std::string_view name) const {
            const auto key = keys.find(lower(path));
            if (key == keys.end()) {
                return nullptr;
            }
            const auto value = key->second.values.find(lower(name));
            return value == key->second.values.end() ? nullptr : &value->second;
        }

        std::size_t lengthOf(std::string_view text) const {
            return encodedLength ? encodedLength(text) : text.size();
        }
    };

    class Key final : public platform::RegistryKey {
    public:
        Key(std::shared_ptr<State> state, std::string path, bool writable)
            : state_(std::move(state)), path_(std::move(path)), writable_(writable) {
            ++state_->openHandles;  // the store's mutex is held by the caller
        }
        ~Key() override {
            const std::lock_guard lock(state_->mutex);
            --state_->openHandles;
        }

        platform::RegStatus queryString(std::string_view name, std::size_t bufferSize,
                                        std::string& value) override {
            const std::lock_guard lock(state_->mutex);
            const Value* found = state_->find(path_, name);
            if (found == nullptr) {
                return platform::RegStatus::NotFound;
            }
            if (found->isDword) {
                return platform::RegStatus::WrongType;
            }
            if (state_->lengthOf(found->text) + 1 > bufferSize) {
                return platform::RegStatus::MoreData;
            }
            value = found->text;
            return platform::RegStatus::Ok;
        }

        platform::RegStatus queryDword(std::string_view name, std::uint32_t& value) override {
            const std::lock_guard lock(state_->mutex);
            const Value* found = state_->find(path_, name);
            if (found == nullptr) {
                return platform::RegStatus::NotFound;
            }
            if (!found->isDword) {
                return platform::RegStatus::WrongType;
            }
            value = found->number;
            return platform::RegStatus::Ok;
        }

        platform::RegStatus setString(std::string_view name, std::string_view value) override {
            return put(name, Value{false, std::string(value), 0});
        }

        platform::RegStatus setDword(std::string_view name, std::uint32_t value) override {
            return put(name, Value{true, {}, value});
        }

    private:
        platform::RegStatus put(std::string_view name, Value value) {
            const std::lock_guard lock(state_->mutex);
            if (!writable_) {
                return platform::RegStatus::AccessDenied;
            }
            state_->keys[path_].put(name, std::move(value));
            return platform::RegStatus::Ok;
        }

        std::shared_ptr<State> state_;
        std::string path_;
        bool writable_;
    };

    static std::string lower(std::string_view text) {
        std::string out(text);
        for (char& c : out) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return out;
    }

    // A key path is one or more names joined by single backslashes.
    static bool validPath(std::string_view path) {
        if (path.empty() || path.front() == '\\' || path.back() == '\\') {
            return false;
        }
        return path.find("\\\\") == std::string_view::npos;
    }

    std::shared_ptr<State> state_;
};

}  // namespace quorrel::test
