// A per-frame script is called also in waits that present nothing.
#include "support/harness.h"

TEST_F(HeadlessTest, ScriptRunsOnInWaitsThatPresentNoFrame) {
    hp->maxFrames = 50;
    hp->onFrame = [&](int f) {
        if (f == 5)
            hp->PressKey(f, KEY_J, 'j');
        if (f == 9)
            hp->MouseAt(f, 0, 0, 0);
    };
    EXPECT_EQ(hp->ReadKey() >> 8, KEY_J);  // as the key read after F9 in the menu
    EXPECT_EQ(hp->frame(), 5);
    hp->MouseAt(5, 0, 0, 1);
    while (mouse_b)  // as the wait for a held button at the end of a game
        hp->PollMouse();
    EXPECT_EQ(hp->frame(), 9);
}
