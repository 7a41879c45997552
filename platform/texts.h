#pragma once
// The text table: every caption and message the user reads, held as string resources in
// German and English. The platform's resource loader picks the language.
#include <string>

namespace os {

class Texts {
public:
    virtual ~Texts() = default;
    // Looked up at the moment a text is shown; nothing is cached, so a language the loader
    // picks differently later is honoured.
    virtual std::wstring Text(unsigned id) const = 0;
};

}  // namespace os
