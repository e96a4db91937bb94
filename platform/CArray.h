// Growable arrays with the operations the records rely on.
#pragma once

#include <memory>
#include <utility>
#include <vector>

// Elements stored by value, contiguous (the planets of a system).
template <class T>
class CArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    void SetSize(int n) { m_items.resize(static_cast<size_t>(n)); }
    void RemoveAll() { m_items.clear(); }
    int Add(const T& item) { m_items.push_back(item); return GetSize() - 1; }
    void RemoveAt(int i) { m_items.erase(m_items.begin() + i); }
    T& operator[](int i) { return m_items[static_cast<size_t>(i)]; }
    const T& operator[](int i) const { return m_items[static_cast<size_t>(i)]; }
    T* GetData() { return m_items.data(); }
    const T* GetData() const { return m_items.data(); }
    typename std::vector<T>::iterator begin() { return m_items.begin(); }
    typename std::vector<T>::iterator end() { return m_items.end(); }
    typename std::vector<T>::const_iterator begin() const { return m_items.begin(); }
    typename std::vector<T>::const_iterator end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
};

// Elements that stay where they are while the list grows or shrinks (the
// systems: each one may be the dialog object of a running editor). T needs a
// default constructor only; new elements are default-constructed.
template <class T>
class CStableArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    void SetSize(int n)
    {
        while (GetSize() > n) m_items.pop_back();
        while (GetSize() < n) m_items.push_back(std::make_unique<T>());
    }
    void RemoveAll() { m_items.clear(); }
    void RemoveAt(int i) { m_items.erase(m_items.begin() + i); }
    T& operator[](int i) { return *m_items[static_cast<size_t>(i)]; }
    const T& operator[](int i) const { return *m_items[static_cast<size_t>(i)]; }

private:
    std::vector<std::unique_ptr<T>> m_items;
};
