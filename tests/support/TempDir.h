// A fresh scratch folder, removed with everything in it.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-test-XXXXXX").string();
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    // The names in the folder, hidden ones included, sorted regardless of case and joined by blanks.
    std::string Entries() const
    {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(m_path, ec)) names.push_back(e.path().filename().string());
        const auto lower = [](std::string n) {
            for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return n;
        };
        std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
        std::string out;
        for (const std::string& n : names) out += (out.empty() ? "" : " ") + n;
        return out;
    }

private:
    std::string m_path;
};
