#pragma once
// The text table for portable tests, read from the program's own .rc files so the tests
// and the resources cannot drift apart. Counts lookups, since nothing may be cached.
#include <map>
#include <string>

#include "platform/texts.h"

namespace fakes {

class FakeTexts : public os::Texts {
public:
    enum Language { English = 1033, German = 1031 };
    explicit FakeTexts(Language language = English);

    Language language;
    mutable int lookups = 0;

    std::wstring Text(unsigned id) const override;

    // The whole table of one language as the .rc file holds it.
    static const std::map<unsigned, std::wstring>& Table(Language language);
};

}  // namespace fakes
