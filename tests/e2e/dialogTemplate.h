// Reads a dialog template from a program's resources as the dialog manager does,
// so a test can compare each control's id, class, text, style and rectangle.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A dialog template as the dialog manager reads it (DLGTEMPLATEEX and its
// DLGITEMTEMPLATEEX items). A class or title given as an ordinal reads "#<number>";
// the predefined control classes read by name.
struct DialogItem {
    DWORD exStyle;
    DWORD style;
    short x, y, width, height;
    DWORD id;
    std::string className;
    std::string title;
};

struct DialogTemplate {
    bool readable = false;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, width = 0, height = 0;
    std::string title;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::string face;
    std::vector<DialogItem> items;
};

// The template's fields; readable is false for a short or non-extended template.
DialogTemplate parseDialogTemplate(const BYTE *data, size_t size);
