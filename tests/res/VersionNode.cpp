#include "res/VersionNode.h"

#include "res/ResourceReader.h"

namespace
{
const WORD kTextValue = 1;

// One block: length, value length, type, key, padding, value, padding, children up to the length.
// A text value's length counts UTF-16 units (with the terminator), a binary value's counts bytes.
bool ReadNode(ResourceReader& reader, size_t end, VersionNode* node)
{
    size_t start = reader.Offset();
    WORD length = reader.Word();
    WORD valueLength = reader.Word();
    node->type = reader.Word();
    node->key = reader.String();
    if (!reader.Ok() || length < 6 || start + length > end)
        return false;
    size_t nodeEnd = start + length;
    reader.AlignToDword();
    if (node->type == kTextValue)
    {
        node->text = reader.Units(valueLength);
        if (!node->text.empty() && node->text.back() == L'\0')
            node->text.pop_back();
    }
    else
    {
        node->value = reader.Bytes(valueLength);
    }
    reader.AlignToDword();
    while (reader.Ok() && reader.Offset() < nodeEnd)
    {
        VersionNode child;
        if (!ReadNode(reader, nodeEnd, &child))
            return false;
        node->children.push_back(std::move(child));
        reader.AlignToDword();
    }
    return reader.Ok() && reader.Offset() >= nodeEnd;
}
} // namespace

const VersionNode* VersionNode::Child(const std::wstring& childKey) const
{
    for (const VersionNode& child : children)
    {
        if (child.key == childKey)
            return &child;
    }
    return nullptr;
}

bool ParseVersionNode(const std::vector<unsigned char>& data, VersionNode* out)
{
    ResourceReader reader(data);
    VersionNode root;
    if (!ReadNode(reader, data.size(), &root))
        return false;
    *out = std::move(root);
    return true;
}
