// Titles in every script: the list gives the row's title exactly (as a screen
// reader reads it) and draws it as DrawTextW draws it in the list's font, with no
// letter a box. The helper is a copy named in accented, Greek and Japanese letters.
// scripts/test.sh runs this suite again in a Wine prefix without the test world's
// font mapping, where the list's face is missing.
#include "talveroTest.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const wchar_t TITLE[] = L"Caf\x00E9 M\x00FCller \x0395\x03BB\x03BB\x03B7\x03BD\x03B9\x03BA\x03AC \x65E5\x672C\x8A9E";
// As the program draws a row: the title 38 pixels from the list's left edge.
constexpr int TITLE_LEFT = 38;
constexpr COLORREF ODD_ROW_COLOUR = RGB(232, 252, 232);
constexpr int GRID_LINE = 1;   // at the right and bottom edge of a cell: not compared
constexpr int LETTER_CELL = 24;

// text drawn by DrawTextW in font on white (or background), 0x00RRGGBB as screenPixels gives.
std::vector<uint32_t> drawnText(HFONT font, const wchar_t *text, int width, int height,
                                COLORREF background = RGB(255, 255, 255))
{
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32}};
    HDC memory = CreateCompatibleDC(nullptr);
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap), oldFont = SelectObject(memory, font);
    RECT place = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(memory, &place, brush);
    SetBkMode(memory, TRANSPARENT);
    DrawTextW(memory, text, -1, &place, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<uint32_t *>(bits), static_cast<uint32_t *>(bits) + width * height);
    for (uint32_t &pixel : pixels)
        pixel &= 0x00FFFFFF;
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteObject(brush);
    DeleteDC(memory);
    return pixels;
}

// The letter looks as U+0378, which no font has, looks: a box (or nothing).
bool drawnAsBox(HFONT font, wchar_t letter)
{
    const wchar_t text[] = {letter, L'\0'};
    return drawnText(font, text, LETTER_CELL, LETTER_CELL) == drawnText(font, L"\x0378", LETTER_CELL, LETTER_CELL);
}

}  // namespace

class UnicodeList : public TalveroTest {
protected:
    Program helper;
    std::wstring helperPath;

    void TearDown() override
    {
        disposeProgram(helper);
        EXPECT_TRUE(helperPath.empty() || deleteFileOnceFree(helperPath));
        TalveroTest::TearDown();
    }
};

TEST_F(UnicodeList, TitlesInEveryScriptAreListedExactlyAndDrawnInTheListsFont)
{
    startTalvero();
    helperPath = wideOf(program.workDirectory) + L"\\" + UNICODE_PROGRAM_NAME;
    ASSERT_TRUE(startListHelperCopy(helper, helperPath, TITLE, 700, 150));
    HWND list = control(IDC_WINDOW_LIST);
    int row = -1;
    ASSERT_TRUE(waitUntil([&] { return (row = listRowTitled(program, list, utf8Of(TITLE))) >= 0; }, APPEAR_DEADLINE_MS))
        << "no row reads the helper's title exactly";
    EXPECT_EQ(utf8Of(UNICODE_PROGRAM_NAME), listItemText(program, list, row, 1));

    // The list's font, made as the program makes it.
    HFONT font = CreateFontW(14, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH,
                             L"\xFF2D\xFF33\x3000\x30B4\x30B7\x30C3\x30AF");
    RECT rowPlace = listRowOnScreen(program, list, row), listPlace = clientRectOnScreen(list);
    RECT title = {listPlace.left + TITLE_LEFT, rowPlace.top, listPlace.left + listColumnWidth(list, 0),
                  rowPlace.bottom};
    int width = title.right - title.left, height = title.bottom - title.top;
    std::vector<uint32_t> drawn =
        drawnText(font, TITLE, width, height, row % 2 == 1 ? ODD_ROW_COLOUR : GetSysColor(COLOR_WINDOW));
    auto inside = [&](std::vector<uint32_t> pixels) {
        for (int i = 0; i < width * height && !pixels.empty(); i++)
            pixels[i] = (i % width >= width - GRID_LINE || i / width >= height - GRID_LINE) ? 0 : pixels[i];
        return pixels;
    };
    EXPECT_TRUE(waitUntil([&] { return inside(screenPixels(title)) == inside(drawn); }, APPEAR_DEADLINE_MS))
        << "the row's title is not the title drawn by DrawTextW in the list's font";

    // A letter may be a box only where the system's dialog font has none either:
    // then no face a program names has it (so the Japanese letters in a prefix
    // without the test world's mapping, whose font links name faces it lacks).
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageA(list, WM_GETFONT, 0, 0), SendMessageA(header, WM_GETFONT, 0, 0)) << "headers: the list's font";
    NONCLIENTMETRICSW metrics = {sizeof metrics};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT dialogFont = CreateFontIndirectW(&metrics.lfMessageFont);
    std::wstring shown = TITLE + wideOf(status(0) + status(1));
    for (int column = 0; column < listColumnCount(list); column++)
        shown += wideOf(listColumnText(program, list, column));
    for (wchar_t letter : shown)
        EXPECT_FALSE(letter != L' ' && drawnAsBox(font, letter) && !drawnAsBox(dialogFont, letter))
            << "U+" << std::hex << static_cast<int>(letter) << " is drawn as a box";
    DeleteObject(dialogFont);
    DeleteObject(font);
}
