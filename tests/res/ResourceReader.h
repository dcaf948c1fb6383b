// Reads the fields of a binary resource in order: little-endian integers, UTF-16 strings and the
// "string or ordinal" fields of dialog and menu templates. Every read is checked against the end of
// the data; a read past it yields zeros and leaves the reader failed for good, so a parser can read
// a whole structure and test Ok() once.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// A template field that is either a number (0xFFFF followed by the ordinal) or a string.
struct NameOrOrdinal
{
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::wstring name;

    static NameOrOrdinal Ordinal(WORD value) { return {true, value, {}}; }
    static NameOrOrdinal Name(std::wstring value) { return {false, 0, std::move(value)}; }
    bool operator==(const NameOrOrdinal&) const = default;
};

// For failure messages: "#128" for an ordinal, the UTF-8 text in quotes for a string.
std::string Describe(const NameOrOrdinal& value);

class ResourceReader
{
public:
    explicit ResourceReader(const std::vector<unsigned char>& data) : data_(data) {}

    BYTE Byte();
    WORD Word();
    short Short() { return static_cast<short>(Word()); }
    DWORD Dword();
    // A zero-terminated UTF-16 string; the terminator is consumed, not returned.
    std::wstring String();
    // A string of exactly count UTF-16 units.
    std::wstring Units(size_t count);
    // 0x0000: empty name; 0xFFFF: the ordinal that follows; otherwise a zero-terminated string.
    NameOrOrdinal NameOrOrdinalField();
    std::vector<unsigned char> Bytes(size_t count);
    // Moves to the next multiple of four from the start of the resource.
    void AlignToDword();
    void Seek(size_t offset);

    size_t Offset() const { return offset_; }
    size_t Remaining() const { return ok_ ? data_.size() - offset_ : 0; }
    bool AtEnd() const { return ok_ && offset_ == data_.size(); }
    bool Ok() const { return ok_; }

private:
    bool Take(size_t count);

    const std::vector<unsigned char>& data_;
    size_t offset_ = 0;
    bool ok_ = true;
};
