#pragma once
#include "platform/texts.h"

namespace win32 {

// The string resources of the running module, in the language the loader picks.
class Texts : public os::Texts {
public:
    std::wstring Text(unsigned id) const override;
};

}  // namespace win32
