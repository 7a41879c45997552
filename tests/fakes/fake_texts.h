#pragma once
// Texts that name their id and language ("en 107"), so a test sees which text went where;
// the real table and the loader's language choice are the platform tests' business.
#include <string>

#include "platform/texts.h"

namespace fakes {

class FakeTexts : public os::Texts {
public:
    bool german = false;
    std::wstring Text(unsigned id) const override { return (german ? L"de " : L"en ") + std::to_wstring(id); }
};

}  // namespace fakes
