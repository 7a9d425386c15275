// The DLGTEMPLATEEX reader: fields in order, items aligned to four bytes.
#include "dialogTemplate.h"

#include <cctype>

namespace {

// Reads a template front to back; any read past the end marks it unreadable.
class TemplateReader {
public:
    TemplateReader(const BYTE *data, size_t size) : data(data), size(size) {}
    bool ok() const { return fine; }
    WORD word() { return static_cast<WORD>(take(2)); }
    DWORD dword() { return static_cast<DWORD>(take(4)); }
    short coordinate() { return static_cast<short>(word()); }
    BYTE byte() { return static_cast<BYTE>(take(1)); }
    // A zero-terminated UTF-16 text; the program's texts are plain ASCII.
    std::string text()
    {
        std::string result;
        for (WORD unit = word(); fine && unit != 0; unit = word())
            result += unit < 0x80 ? static_cast<char>(unit) : '?';
        return result;
    }
    // sz_Or_Ord: 0 for none, 0xFFFF and an ordinal, or a text.
    std::string nameOrOrdinal()
    {
        if (!fine || at + 2 > size)
            return text();
        WORD first = static_cast<WORD>(data[at] | data[at + 1] << 8);
        if (first == 0) {
            at += 2;
            return "";
        }
        if (first == 0xFFFF) {
            at += 2;
            return "#" + std::to_string(word());
        }
        return text();
    }
    void alignToDword() { at = (at + 3) & ~static_cast<size_t>(3); }

private:
    const BYTE *data;
    size_t size;
    size_t at = 0;
    bool fine = true;
    unsigned long take(size_t bytes)
    {
        if (!fine || at + bytes > size) {
            fine = false;
            return 0;
        }
        unsigned long value = 0;
        for (size_t i = 0; i < bytes; i++)
            value |= static_cast<unsigned long>(data[at + i]) << (8 * i);
        at += bytes;
        return value;
    }
};

std::string predefinedClassName(const std::string &className)
{
    const char *names[] = {"button", "edit", "static", "listbox", "scrollbar", "combobox"};
    for (int ordinal = 0x80; ordinal <= 0x85; ordinal++)
        if (className == "#" + std::to_string(ordinal))
            return names[ordinal - 0x80];
    std::string lower = className;
    for (char &c : lower)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

DialogTemplate parseDialogTemplate(const BYTE *data, size_t size)
{
    DialogTemplate dialog;
    TemplateReader reader(data, size);
    WORD version = reader.word();
    WORD signature = reader.word();
    if (version != 1 || signature != 0xFFFF)
        return dialog;  // not an extended template
    reader.dword();     // help id
    dialog.exStyle = reader.dword();
    dialog.style = reader.dword();
    WORD itemCount = reader.word();
    dialog.x = reader.coordinate();
    dialog.y = reader.coordinate();
    dialog.width = reader.coordinate();
    dialog.height = reader.coordinate();
    reader.nameOrOrdinal();  // menu
    reader.nameOrOrdinal();  // class
    dialog.title = reader.text();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.pointSize = reader.word();
        dialog.weight = reader.word();
        dialog.italic = reader.byte();
        dialog.charset = reader.byte();
        dialog.face = reader.text();
    }
    for (WORD index = 0; index < itemCount && reader.ok(); index++) {
        reader.alignToDword();
        DialogItem item = {};
        reader.dword();  // help id
        item.exStyle = reader.dword();
        item.style = reader.dword();
        item.x = reader.coordinate();
        item.y = reader.coordinate();
        item.width = reader.coordinate();
        item.height = reader.coordinate();
        item.id = reader.dword();
        item.className = predefinedClassName(reader.nameOrOrdinal());
        item.title = reader.nameOrOrdinal();
        WORD extraBytes = reader.word();
        for (WORD extra = 0; extra < extraBytes; extra++)
            reader.byte();
        dialog.items.push_back(item);
    }
    dialog.readable = reader.ok();
    return dialog;
}
