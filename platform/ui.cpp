#include "platform/ui.h"

#include <cwctype>

namespace ui {

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
