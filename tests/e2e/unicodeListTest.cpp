// A person's windows have titles in every script and programs with names in any
// letters: the list gives each row's title exactly (as a screen reader reads it)
// and draws it in its font, and a rule for such a program grays it. The program is
// a copy of the tests' helper under a name with accented, Greek and Japanese
// letters (the rule's story is in programRulesTest.cpp). scripts/test.sh runs the UnicodeList suite once more in a Wine prefix
// without the test world's font mapping, where the list's face is missing.
#include "talveroTest.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const wchar_t TITLE[] = L"Caf\x00E9 M\x00FCller \x0395\x03BB\x03BB\x03B7\x03BD\x03B9\x03BA\x03AC \x65E5\x672C\x8A9E";
constexpr int HELPER_LEFT = 700;   // right of the main window
constexpr int HELPER_TOP = 150;
// The row as the program draws it: the title 38 pixels right of the list's left
// edge, centred in the row, black on the row's colour.
constexpr int TITLE_LEFT = 38;
constexpr COLORREF ODD_ROW_COLOUR = RGB(232, 252, 232);
constexpr UINT TEXT_FLAGS = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
// Left out of the comparison: the grid lines at the cell's right and bottom edges.
constexpr int GRID_MARGIN = 2;
// A code point no font draws: what a missing letter looks like in a font.
const wchar_t NO_LETTER[] = L"\x0378";

// The list's font, made as the program makes it.
HFONT createListFont()
{
    return CreateFontW(14, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, VARIABLE_PITCH, L"\xFF2D\xFF33\x3000\x30B4\x30B7\x30C3\x30AF");
}

// text drawn by DrawTextW into a width x height picture filled with background,
// 0x00RRGGBB row by row as screenPixels gives them.
std::vector<uint32_t> drawnText(HFONT font, const std::wstring &text, int width, int height, COLORREF background)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<uint32_t> pixels;
    if (bitmap != nullptr) {
        HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        HGDIOBJ oldFont = SelectObject(memory, font);
        RECT place = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(memory, &place, brush);
        DeleteObject(brush);
        SetBkMode(memory, TRANSPARENT);
        SetTextColor(memory, RGB(0, 0, 0));
        DrawTextW(memory, text.c_str(), -1, &place, TEXT_FLAGS);
        GdiFlush();
        const uint32_t *drawn = static_cast<const uint32_t *>(bits);
        for (int i = 0; i < width * height; i++)
            pixels.push_back(drawn[i] & 0x00FFFFFF);
        SelectObject(memory, oldFont);
        SelectObject(memory, oldBitmap);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    return pixels;
}

bool drawnAsMissing(HFONT font, wchar_t letter)
{
    constexpr int CELL = 24;
    return drawnText(font, std::wstring(1, letter), CELL, CELL, RGB(255, 255, 255)) ==
           drawnText(font, NO_LETTER, CELL, CELL, RGB(255, 255, 255));
}

}  // namespace

class UnicodeList : public TalveroTest {
protected:
    Program helper;
    std::wstring helperPath;

    void TearDown() override
    {
        disposeProgram(helper);
        if (!helperPath.empty())
            EXPECT_TRUE(deleteFileOnceFree(helperPath));
        TalveroTest::TearDown();
    }
    HWND list() const { return control(IDC_WINDOW_LIST); }
    void startHelper()
    {
        helperPath = wideOf(program.workDirectory) + L"\\" + UNICODE_PROGRAM_NAME;
        ASSERT_TRUE(startListHelperCopy(helper, helperPath, TITLE, HELPER_LEFT, HELPER_TOP));
    }
    int waitForRow()
    {
        int row = -1;
        waitUntil(
            [&] {
                for (row = 0; row < listItemCount(list()); row++)
                    if (listItemTextW(program, list(), row, 0) == TITLE)
                        return true;
                row = -1;
                return false;
            },
            APPEAR_DEADLINE_MS);
        return row;
    }
};

TEST_F(UnicodeList, TitlesInEveryScriptAreListedExactlyAndDrawnInTheListsFont)
{
    startTalvero();
    startHelper();
    int row = waitForRow();
    ASSERT_NE(-1, row) << "no row reads the helper's title exactly";
    EXPECT_EQ(UNICODE_PROGRAM_NAME, listItemTextW(program, list(), row, 1));

    HFONT font = createListFont();
    RECT rowPlace = listRowOnScreen(program, list(), row);
    RECT listPlace = clientRectOnScreen(list());
    RECT title = {listPlace.left + TITLE_LEFT, rowPlace.top, listPlace.left + listColumnWidth(list(), 0),
                  rowPlace.bottom};
    int width = title.right - title.left, height = title.bottom - title.top;
    std::vector<uint32_t> expected =
        drawnText(font, TITLE, width, height, row % 2 == 1 ? ODD_ROW_COLOUR : GetSysColor(COLOR_WINDOW));
    auto comparedPart = [&](const std::vector<uint32_t> &pixels) {
        std::vector<uint32_t> part;
        for (int y = 0; y < height - GRID_MARGIN && !pixels.empty(); y++)
            part.insert(part.end(), pixels.begin() + y * width, pixels.begin() + y * width + width - GRID_MARGIN);
        return part;
    };
    EXPECT_TRUE(waitUntil([&] { return comparedPart(screenPixels(title)) == comparedPart(expected); },
                          APPEAR_DEADLINE_MS))
        << "the row's title is not the title drawn by DrawTextW in the list's font";

    // A letter may show as a box only where the system's dialog font has none
    // either: then no face a program names has it (so in a Wine prefix without the
    // test world's mapping for Japanese letters: Wine's font links name Windows'
    // Japanese faces, which that prefix lacks).
    HWND header = reinterpret_cast<HWND>(SendMessageA(list(), LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageA(list(), WM_GETFONT, 0, 0), SendMessageA(header, WM_GETFONT, 0, 0))
        << "the column headers are drawn in the list's font";
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT dialogFont = CreateFontIndirectW(&metrics.lfMessageFont);
    std::wstring shown = TITLE + wideOf(status(0) + status(1));
    for (int column = 0; column < listColumnCount(list()); column++)
        shown += wideOf(listColumnText(program, list(), column));
    for (wchar_t letter : shown)
        if (letter != L' ')
            EXPECT_FALSE(drawnAsMissing(font, letter) && !drawnAsMissing(dialogFont, letter))
                << "U+" << std::hex << static_cast<int>(letter) << " is drawn as a box";
    DeleteObject(dialogFont);
    DeleteObject(font);
}
