#pragma once

#include "common/UiServices.h"

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace toneloft {

// An ordered collection of owned objects under text keys: Add, Item, count,
// Remove and enumeration in the order of adding. Keys compare exactly. The lists
// are short (open files, editors of one list), so lookups walk the vector.
template <typename T>
class KeyedCollection {
public:
    // False when the key is taken; the object is then not added.
    bool add(const std::string& key, std::shared_ptr<T> item)
    {
        if (!item || find(key) != m_items.end())
            return false;
        m_items.push_back({key, std::move(item)});
        return true;
    }

    std::shared_ptr<T> item(const std::string& key) const
    {
        const auto it = find(key);
        return it == m_items.end() ? nullptr : it->item;
    }

    // 1-based position in the order of adding; nullptr outside.
    std::shared_ptr<T> at(long position) const
    {
        if (position < 1 || position > count())
            return nullptr;
        return m_items[static_cast<std::size_t>(position - 1)].item;
    }

    // 1-based position of the key, 0 when absent.
    long indexOf(const std::string& key) const
    {
        const auto it = find(key);
        return it == m_items.end() ? 0 : static_cast<long>(it - m_items.begin()) + 1;
    }

    bool remove(const std::string& key)
    {
        const auto it = find(key);
        if (it == m_items.end())
            return false;
        m_items.erase(it);
        return true;
    }

    long count() const { return static_cast<long>(m_items.size()); }

    // A snapshot, so that callers may remove items while walking it.
    std::vector<std::shared_ptr<T>> items() const
    {
        std::vector<std::shared_ptr<T>> out;
        out.reserve(m_items.size());
        for (const auto& e : m_items)
            out.push_back(e.item);
        return out;
    }

private:
    struct Entry {
        std::string key;
        std::shared_ptr<T> item;
    };
    auto find(const std::string& key) const
    {
        return std::find_if(m_items.begin(), m_items.end(), [&](const Entry& e) { return e.key == key; });
    }
    std::vector<Entry> m_items;
};

// The ID that a collection carries and that may be set only once.
class SetOnceId {
public:
    // False (and the first value kept) when already set.
    bool set(const std::string& id)
    {
        if (m_set)
            return false;
        m_id = id;
        m_set = true;
        return true;
    }
    // The same, telling the user: "Error: <what> form ID already set".
    void set(UiServices& ui, const std::string& id, const std::string& what)
    {
        if (!set(id))
            ui.MsgBox("Error: " + what + " form ID already set", "Toneloft", MsgIcon::Critical);
    }
    const std::string& get() const { return m_id; }

private:
    std::string m_id;
    bool m_set = false;
};

// What a voice list keeps of the editors opened from it (and of their tables):
// objects under text keys, made by Add, with the ID that may be set only once.
// T names itself in the "form ID already set" message through T::kFormName.
template <typename T>
class KeyedForms {
public:
    // Makes a T from the key and args (or from args alone when T takes no key)
    // and adds it under the key; null, with nothing added, when the key is taken.
    template <typename... Args>
    std::shared_ptr<T> Add(const std::string& key, Args&&... args)
    {
        std::shared_ptr<T> item;
        if constexpr (std::is_constructible_v<T, const std::string&, Args...>)
            item = std::make_shared<T>(key, std::forward<Args>(args)...);
        else
            item = std::make_shared<T>(std::forward<Args>(args)...);
        return m_items.add(key, item) ? item : nullptr;
    }
    std::shared_ptr<T> Item(const std::string& key) const { return m_items.item(key); }
    long count() const { return m_items.count(); }
    bool Remove(const std::string& key) { return m_items.remove(key); }
    bool Delete(const std::string& key) { return m_items.remove(key); }
    std::vector<std::shared_ptr<T>> NewEnum() const { return m_items.items(); }

    const std::string& ID() const { return m_id.get(); }
    // A second setting keeps the first and says so.
    void setID(UiServices& ui, const std::string& id) { m_id.set(ui, id, T::kFormName); }

private:
    KeyedCollection<T> m_items;
    SetOnceId m_id;
};

} // namespace toneloft
