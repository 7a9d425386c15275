// A user drags the main window's corner: the list and the status bar follow the
// new size, the status parts and list columns divide the new width, and the
// window cannot be made smaller than 300 x 200. The area a larger window uncovers
// shows the background.
#include "talveroTest.h"

namespace {

constexpr int INITIAL_WIDTH = 450;
constexpr int INITIAL_HEIGHT = 500;
constexpr int LIST_TOP = 75;
// The button row ends at the right edge of the last button (x 330, 60 wide).
constexpr int BUTTON_ROW_END = 390;
constexpr COLORREF BACKGROUND = 0xEEEEEE;

class Resize : public TalveroTest {
protected:
    // Drags the bottom-right corner by (dx, dy) and waits until the window's
    // rectangle is exactly the expected one: the drag keeps the top-left corner.
    void dragCorner(int dx, int dy, int expectedWidth, int expectedHeight)
    {
        POINT corner = {};
        ASSERT_TRUE(findHitTestPoint(program.mainWindow, HTBOTTOMRIGHT, &corner)) << "no sizing corner";
        RECT before = {};
        GetWindowRect(program.mainWindow, &before);
        RECT expected = {before.left, before.top, before.left + expectedWidth, before.top + expectedHeight};
        dragFromTo(corner.x, corner.y, corner.x + dx, corner.y + dy);
        RECT now = {};
        bool sized = waitUntil(
            [&] {
                GetWindowRect(program.mainWindow, &now);
                return EqualRect(&now, &expected) != 0;
            },
            APPEAR_DEADLINE_MS);
        ASSERT_TRUE(sized) << "window at (" << now.left << ", " << now.top << ") " << now.right - now.left << " x "
                           << now.bottom - now.top << ", wanted " << expectedWidth << " x " << expectedHeight;
    }

    // Status parts, list band and columns as the layout must leave them for the
    // current client size. The layout follows the size asynchronously, so the
    // client rectangle is read again on every poll.
    void expectLayoutFitsClient()
    {
        HWND status = control(IDC_STATUS_BAR);
        HWND list = control(IDC_WINDOW_LIST);
        RECT client = {};
        auto laidOut = [&] {
            GetClientRect(program.mainWindow, &client);
            std::vector<int> edges = statusPartEdges(program, status);
            RECT statusPlace = rectInParent(status);
            RECT listPlace = rectInParent(list);
            return edges.size() == 2 && edges[0] == client.right / 2 && statusPlace.bottom == client.bottom &&
                   statusPlace.right == client.right && listPlace.right == client.right &&
                   listPlace.bottom == statusPlace.top;
        };
        EXPECT_TRUE(waitUntil(laidOut, APPEAR_DEADLINE_MS)) << "the layout did not follow the client size";

        std::vector<int> edges = statusPartEdges(program, status);
        ASSERT_EQ(2u, edges.size());
        EXPECT_EQ(client.right / 2, edges[0]) << "status part 0 ends at half the client width " << client.right;
        EXPECT_EQ(-1, edges[1]);

        RECT statusPlace = rectInParent(status);
        RECT listPlace = rectInParent(list);
        EXPECT_EQ(client.bottom, statusPlace.bottom);
        EXPECT_EQ(client.right, statusPlace.right);
        EXPECT_EQ(0, listPlace.left);
        EXPECT_EQ(LIST_TOP, listPlace.top);
        EXPECT_EQ(client.right, listPlace.right);
        EXPECT_EQ(statusPlace.top, listPlace.bottom);

        RECT listClient = {};
        GetClientRect(list, &listClient);
        int fifth = listClient.right / 5;
        EXPECT_EQ(fifth * 3, listColumnWidth(list, 0));
        EXPECT_EQ(fifth, listColumnWidth(list, 1));
        EXPECT_EQ(fifth, listColumnWidth(list, 2));
    }

    // What a user sees of the back buffer: right of the buttons and above the list,
    // up to the right edge, the window shows its background colour.
    void expectBackgroundRightOfTheButtons()
    {
        RECT client = clientRectOnScreen(program.mainWindow);
        RECT band = {client.left + BUTTON_ROW_END, client.top, client.right, client.top + LIST_TOP};
        int wrong = 0;
        uint32_t sample = 0;
        bool painted = waitUntil(
            [&] {
                wrong = 0;
                for (uint32_t pixel : screenPixels(band))
                    if (pixel != BACKGROUND && wrong++ == 0)
                        sample = pixel;
                return wrong == 0;
            },
            APPEAR_DEADLINE_MS);
        EXPECT_TRUE(painted) << wrong << " pixels of the band right of the buttons are not the background, e.g. 0x"
                             << std::hex << sample;
    }
};

}  // namespace

TEST_F(Resize, LargerWindowIsLaidOutAgain)
{
    startTalvero();
    bringToFront(program.mainWindow);
    // Odd sizes: the halves and fifths must truncate.
    dragCorner(173, 121, INITIAL_WIDTH + 173, INITIAL_HEIGHT + 121);
    expectLayoutFitsClient();
    expectBackgroundRightOfTheButtons();

    dragCorner(-101, -57, INITIAL_WIDTH + 173 - 101, INITIAL_HEIGHT + 121 - 57);
    expectLayoutFitsClient();
}

TEST_F(Resize, WindowStopsAtItsMinimumSize)
{
    startTalvero();
    bringToFront(program.mainWindow);
    dragCorner(-400, -450, 300, 200);
    expectLayoutFitsClient();
}
