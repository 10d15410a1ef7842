#pragma once
// A 1-based collection in insertion order with optional unique text keys (compared without
// regard to case). Reading a position or key that is not there throws, as the grid and the
// thumbnail pass rely on to stop at the first stale read.
#include <algorithm>
#include <cwctype>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace mivo {

class KeyError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

template <typename T>
class Collection {
public:
    long Count() const { return static_cast<long>(items_.size()); }

    // Adding under a key that is already there fails and leaves the collection as it was.
    void Add(T item, const std::wstring& key = std::wstring()) {
        if (!key.empty()) {
            const std::wstring k = Fold(key);
            if (keys_.count(k)) throw KeyError("key already in the collection");
            keys_.emplace(k, item);
        }
        items_.push_back({std::move(item), key.empty() ? std::wstring() : Fold(key)});
    }

    const T& Item(long position) const {
        if (position < 1 || position > Count()) throw std::out_of_range("position not in the collection");
        return items_[static_cast<size_t>(position - 1)].value;
    }

    const T& Item(const std::wstring& key) const {
        auto it = keys_.find(Fold(key));
        if (it == keys_.end()) throw KeyError("key not in the collection");
        return it->second;
    }

    bool Contains(const std::wstring& key) const { return keys_.count(Fold(key)) != 0; }

    void Clear() {
        items_.clear();
        keys_.clear();
    }

    void Remove(long position) {
        if (position < 1 || position > Count()) throw std::out_of_range("position not in the collection");
        auto it = items_.begin() + (position - 1);
        if (!it->key.empty()) keys_.erase(it->key);
        items_.erase(it);
    }

private:
    struct Entry {
        T value;
        std::wstring key;
    };
    static std::wstring Fold(std::wstring key) {
        std::transform(key.begin(), key.end(), key.begin(), [](wchar_t c) { return std::towlower(c); });
        return key;
    }

    std::vector<Entry> items_;
    std::unordered_map<std::wstring, T> keys_;
};

}  // namespace mivo
