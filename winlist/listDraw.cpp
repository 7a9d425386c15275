// drawWindowListItem: one row of the owner-drawn window list, on the UI thread. It
// reads only the control (texts, image numbers, the image list set on it), never
// windowList: the list thread may hold listLock while the control asks for a row.
#include "listView.h"

#include <commctrl.h>

#include "boundedText.h"
#include "programRules.h"
#include "textSizes.h"

namespace {

constexpr int COLUMN_COUNT = 3;
constexpr int APPLICATION_COLUMN = 1;
constexpr int ON_OFF_COLUMN = 2;
// Alternate rows are pale green; the others take the window colour.
constexpr COLORREF ODD_ROW_COLOUR = RGB(232, 252, 232);
constexpr COLORREF TEXT_COLOUR = RGB(0, 0, 0);
constexpr int CELL_PADDING = 4;
// The title starts right of the icon: 16 pixels of icon and room around it.
constexpr int TITLE_OFFSET = 34;
// A rule's word follows the 16-pixel gray mark.
constexpr int MARK_WIDTH = 20;
// Titles are shown as they are: an ampersand is no mnemonic here.
constexpr UINT TEXT_FLAGS = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

struct RowCell {
    RECT place;
    wchar_t text[TEXT_LONG];
    int image;
    LPARAM param;   // the row's program rule, on the first cell
};

void readCell(HWND list, int row, int column, RowCell &cell)
{
    cell.place = {};
    cell.place.top = column;
    cell.place.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell.place));
    cell.text[0] = L'\0';
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | (column == 0 ? LVIF_PARAM : 0);
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = cell.text;
    item.cchTextMax = TEXT_LONG;
    cell.image = SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
    cell.param = item.lParam;
    // The control may answer with its own buffer rather than ours.
    if (item.pszText != cell.text)
        copyText(cell.text, item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACKW ? item.pszText : L"");
}

COLORREF rowColour(int row, bool selected)
{
    if (selected)
        return GetSysColor(COLOR_HIGHLIGHT);
    return row % 2 == 1 ? ODD_ROW_COLOUR : GetSysColor(COLOR_WINDOW);
}

void drawImage(HWND list, HDC dc, int image, const RECT &place, bool selected)
{
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    if (images == nullptr || image < 0)
        return;
    ImageList_Draw(images, image, dc, place.left, place.top, ILD_TRANSPARENT | (selected ? ILD_BLEND25 : 0));
}

}  // namespace

void drawWindowListItem(const DRAWITEMSTRUCT *draw)
{
    HWND list = draw->hwndItem;
    int row = static_cast<int>(draw->itemID);
    bool selected = (draw->itemState & ODS_SELECTED) != 0;
    HDC dc = draw->hDC;

    RowCell cells[COLUMN_COUNT];
    for (int column = 0; column < COLUMN_COUNT; column++)
        readCell(list, row, column, cells[column]);
    RECT whole = {};
    whole.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&whole));
    whole.left = 0;
    whole.right = cells[ON_OFF_COLUMN].place.right;

    HBRUSH background = CreateSolidBrush(rowColour(row, selected));
    FillRect(dc, &whole, background);
    SetBkMode(dc, TRANSPARENT);

    RECT title = cells[0].place;
    title.left = CELL_PADDING;
    // Some versions of the control give the whole row for the first column.
    if (title.right > cells[APPLICATION_COLUMN].place.left)
        title.right = cells[APPLICATION_COLUMN].place.left;
    drawImage(list, dc, cells[0].image, title, selected);
    title.left += TITLE_OFFSET;
    SetTextColor(dc, TEXT_COLOUR);
    DrawTextW(dc, cells[0].text, -1, &title, TEXT_FLAGS);

    RECT application = cells[APPLICATION_COLUMN].place;
    application.left += CELL_PADDING;
    DrawTextW(dc, cells[APPLICATION_COLUMN].text, -1, &application, TEXT_FLAGS);

    // Only marked rows carry an image in the "ON/OFF" column; its text is not shown.
    RECT mark = cells[ON_OFF_COLUMN].place;
    mark.left += CELL_PADDING;
    if (cells[ON_OFF_COLUMN].image > 0)
        drawImage(list, dc, cells[ON_OFF_COLUMN].image, mark, selected);
    // The program's rule, in words, right of where the mark goes.
    mark.left += MARK_WIDTH;
    DrawTextA(dc, ruleWord(static_cast<int32_t>(cells[0].param)), -1, &mark, TEXT_FLAGS);

    if (draw->itemState & ODS_FOCUS)
        DrawFocusRect(dc, &whole);
    DeleteObject(background);
}
