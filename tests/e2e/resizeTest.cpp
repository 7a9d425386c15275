// A user drags the main window's corner: the list and the status bar follow the
// new size, the status parts and list columns divide the new width, and the
// window cannot be made smaller than 300 x 200.
#include "talveroTest.h"

namespace {

class Resize : public TalveroTest {
protected:
    // Drags the bottom-right corner by (dx, dy) and waits until the window has taken a new size.
    void dragCorner(int dx, int dy)
    {
        POINT corner = {};
        ASSERT_TRUE(findHitTestPoint(program.mainWindow, HTBOTTOMRIGHT, &corner)) << "no sizing corner";
        RECT before = {};
        GetWindowRect(program.mainWindow, &before);
        dragFromTo(corner.x, corner.y, corner.x + dx, corner.y + dy);
        ASSERT_TRUE(waitUntil(
            [&] {
                RECT now = {};
                GetWindowRect(program.mainWindow, &now);
                return now.right != before.right || now.bottom != before.bottom;
            },
            APPEAR_DEADLINE_MS))
            << "the window kept its size";
    }

    // Status parts, list band and columns as the layout must leave them for this size.
    void expectLayoutFitsClient()
    {
        RECT client = {};
        GetClientRect(program.mainWindow, &client);
        HWND status = control(IDC_STATUS_BAR);
        HWND list = control(IDC_WINDOW_LIST);
        bool settled = waitUntil(
            [&] {
                std::vector<int> edges = statusPartEdges(program, status);
                return edges.size() == 2 && edges[0] == client.right / 2;
            },
            APPEAR_DEADLINE_MS);
        EXPECT_TRUE(settled) << "status part 0 does not end at half the client width " << client.right;
        std::vector<int> edges = statusPartEdges(program, status);
        ASSERT_EQ(2u, edges.size());
        EXPECT_EQ(-1, edges[1]);

        RECT statusPlace = rectInParent(status);
        RECT listPlace = rectInParent(list);
        EXPECT_EQ(client.bottom, statusPlace.bottom);
        EXPECT_EQ(client.right, statusPlace.right);
        EXPECT_EQ(0, listPlace.left);
        EXPECT_EQ(75, listPlace.top);
        EXPECT_EQ(client.right, listPlace.right);
        EXPECT_EQ(statusPlace.top, listPlace.bottom);

        RECT listClient = {};
        GetClientRect(list, &listClient);
        int fifth = listClient.right / 5;
        EXPECT_EQ(fifth * 3, listColumnWidth(list, 0));
        EXPECT_EQ(fifth, listColumnWidth(list, 1));
        EXPECT_EQ(fifth, listColumnWidth(list, 2));
    }
};

}  // namespace

TEST_F(Resize, LargerWindowIsLaidOutAgain)
{
    startTalvero();
    bringToFront(program.mainWindow);
    dragCorner(173, 121);  // odd sizes: the halves and fifths must truncate
    RECT outer = {};
    GetWindowRect(program.mainWindow, &outer);
    EXPECT_EQ(450 + 173, outer.right - outer.left);
    EXPECT_EQ(500 + 121, outer.bottom - outer.top);
    expectLayoutFitsClient();

    dragCorner(-101, -57);
    expectLayoutFitsClient();
}

TEST_F(Resize, WindowStopsAtItsMinimumSize)
{
    startTalvero();
    bringToFront(program.mainWindow);
    dragCorner(-400, -450);
    RECT outer = {};
    GetWindowRect(program.mainWindow, &outer);
    EXPECT_EQ(300, outer.right - outer.left);
    EXPECT_EQ(200, outer.bottom - outer.top);
    expectLayoutFitsClient();
}
