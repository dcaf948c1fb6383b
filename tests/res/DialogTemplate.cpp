#include "res/DialogTemplate.h"

namespace
{
const WORD kExtendedVersion = 1;
const WORD kExtendedSignature = 0xFFFF;

void ReadGeometry(ResourceReader& reader, short* x, short* y, short* cx, short* cy)
{
    *x = reader.Short();
    *y = reader.Short();
    *cx = reader.Short();
    *cy = reader.Short();
}

DialogItem ReadClassicItem(ResourceReader& reader)
{
    DialogItem item;
    item.style = reader.Dword();
    item.exStyle = reader.Dword();
    ReadGeometry(reader, &item.x, &item.y, &item.cx, &item.cy);
    item.id = reader.Word();
    return item;
}

DialogItem ReadExtendedItem(ResourceReader& reader)
{
    DialogItem item;
    item.helpId = reader.Dword();
    item.exStyle = reader.Dword();
    item.style = reader.Dword();
    ReadGeometry(reader, &item.x, &item.y, &item.cx, &item.cy);
    item.id = reader.Dword();
    return item;
}

// Class, text and creation data follow the fixed part of an item in both forms.
void ReadItemTail(ResourceReader& reader, DialogItem* item)
{
    item->windowClass = reader.NameOrOrdinalField();
    item->text = reader.NameOrOrdinalField();
    WORD extra = reader.Word();
    item->creationData = reader.Bytes(extra);
}

void ReadFont(ResourceReader& reader, DialogTemplate* dialog)
{
    dialog->pointSize = reader.Word();
    if (dialog->extended)
    {
        dialog->weight = reader.Word();
        dialog->italic = reader.Byte();
        dialog->charset = reader.Byte();
    }
    dialog->typeface = reader.String();
}
} // namespace

bool ParseDialogTemplate(const std::vector<unsigned char>& data, DialogTemplate* out)
{
    DialogTemplate dialog;
    ResourceReader reader(data);
    WORD count = 0;
    WORD version = reader.Word();
    WORD signature = reader.Word();
    dialog.extended = version == kExtendedVersion && signature == kExtendedSignature;
    if (dialog.extended)
    {
        dialog.helpId = reader.Dword();
        dialog.exStyle = reader.Dword();
        dialog.style = reader.Dword();
    }
    else
    {
        reader.Seek(0);
        dialog.style = reader.Dword();
        dialog.exStyle = reader.Dword();
    }
    count = reader.Word();
    ReadGeometry(reader, &dialog.x, &dialog.y, &dialog.cx, &dialog.cy);
    dialog.menu = reader.NameOrOrdinalField();
    dialog.windowClass = reader.NameOrOrdinalField();
    dialog.caption = reader.String();
    if (dialog.style & DS_SETFONT)
        ReadFont(reader, &dialog);

    for (WORD i = 0; i < count && reader.Ok(); ++i)
    {
        reader.AlignToDword();
        DialogItem item = dialog.extended ? ReadExtendedItem(reader) : ReadClassicItem(reader);
        ReadItemTail(reader, &item);
        dialog.items.push_back(std::move(item));
    }
    reader.AlignToDword();
    if (!reader.Ok() || !reader.AtEnd())
        return false;
    *out = std::move(dialog);
    return true;
}
