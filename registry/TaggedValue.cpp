#include "registry/TaggedValue.h"

#include "platform/strings.h"

std::wstring TextForm(const TaggedValue& value) {
    switch (value.kind()) {
        case TaggedValue::Kind::Empty:
            return {};
        case TaggedValue::Kind::Text:
            return value.Text();
        case TaggedValue::Kind::Int16:
            return os::ToDecimal(value.Int16());
        case TaggedValue::Kind::Int32:
            return os::ToDecimal(value.Int32());
        case TaggedValue::Kind::Bytes: {
            static const wchar_t kDigits[] = L"0123456789ABCDEF";
            std::wstring text;
            for (const std::uint8_t b : value.Bytes().bytes) {
                if (!text.empty()) text += L' ';
                text += kDigits[b >> 4];
                text += kDigits[b & 0x0F];
            }
            return text;
        }
    }
    return {};
}
