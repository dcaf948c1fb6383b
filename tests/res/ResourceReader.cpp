#include "res/ResourceReader.h"

std::string Describe(const NameOrOrdinal& value)
{
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on a literal + std::string here.
    std::string text = value.isOrdinal ? "#" : "\"";
    if (value.isOrdinal)
        return text += std::to_string(value.ordinal);
    std::string utf8(value.name.size() * 3 + 1, '\0');
    int length =
        WideCharToMultiByte(CP_UTF8, 0, value.name.data(), static_cast<int>(value.name.size()),
                            utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(length > 0 ? length : 0);
    return text += utf8 + "\"";
}

bool ResourceReader::Take(size_t count)
{
    if (!ok_ || count > data_.size() - offset_)
    {
        ok_ = false;
        return false;
    }
    offset_ += count;
    return true;
}

BYTE ResourceReader::Byte()
{
    return Take(1) ? data_[offset_ - 1] : 0;
}

WORD ResourceReader::Word()
{
    if (!Take(2))
        return 0;
    return static_cast<WORD>(data_[offset_ - 2] | data_[offset_ - 1] << 8);
}

DWORD ResourceReader::Dword()
{
    DWORD low = Word();
    DWORD high = Word();
    return low | high << 16;
}

std::wstring ResourceReader::String()
{
    std::wstring text;
    for (WORD unit = Word(); ok_ && unit != 0; unit = Word())
        text.push_back(static_cast<wchar_t>(unit));
    return text;
}

std::wstring ResourceReader::Units(size_t count)
{
    std::wstring text;
    for (size_t i = 0; i < count && ok_; ++i)
        text.push_back(static_cast<wchar_t>(Word()));
    return ok_ ? text : std::wstring();
}

NameOrOrdinal ResourceReader::NameOrOrdinalField()
{
    WORD first = Word();
    if (first == 0xFFFF)
        return NameOrOrdinal::Ordinal(Word());
    if (first == 0)
        return NameOrOrdinal::Name({});
    std::wstring rest = String();
    return NameOrOrdinal::Name(static_cast<wchar_t>(first) + rest);
}

std::vector<unsigned char> ResourceReader::Bytes(size_t count)
{
    if (!Take(count))
        return {};
    return {data_.begin() + static_cast<std::ptrdiff_t>(offset_ - count),
            data_.begin() + static_cast<std::ptrdiff_t>(offset_)};
}

void ResourceReader::AlignToDword()
{
    size_t padding = (4 - offset_ % 4) % 4;
    // Padding at the very end of a resource may be cut off; that is not a fault.
    if (ok_ && padding > data_.size() - offset_)
        offset_ = data_.size();
    else
        Take(padding);
}

void ResourceReader::Seek(size_t offset)
{
    if (!ok_ || offset > data_.size())
        ok_ = false;
    else
        offset_ = offset;
}
