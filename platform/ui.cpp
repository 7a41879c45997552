#include "platform/ui.h"

#include <algorithm>
#include <cwctype>

namespace ui {

std::vector<std::vector<std::wstring>> CaptionRows(const std::wstring& text) {
    std::vector<std::vector<std::wstring>> rows;
    if (text.empty()) return rows;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(text.find(L';', start), text.size());
        std::vector<std::wstring> fields;
        for (std::size_t f = start;;) {
            const std::size_t bar = std::min(text.find(L'|', f), end);
            fields.push_back(text.substr(f, bar - f));
            if (bar >= end) break;
            f = bar + 1;
        }
        rows.push_back(std::move(fields));
        if (end >= text.size()) return rows;
        start = end + 1;
    }
}

int CompareItemText(const std::wstring& a, const std::wstring& b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = std::towupper(static_cast<std::wint_t>(a[i]));
        const auto cb = std::towupper(static_cast<std::wint_t>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace ui
