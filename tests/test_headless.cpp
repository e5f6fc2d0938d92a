// The headless machine itself: a script that reacts frame by frame is also
// called in waits that present nothing, so such a wait cannot stall it.
#include "support/harness.h"

TEST_F(HeadlessTest, ScriptRunsOnInWaitsThatPresentNoFrame) {
    hp->maxFrames = 50;
    hp->onFrame = [&](int f) {
        if (f == 5)
            hp->PressKey(f, KEY_J, 'j');
        if (f == 9)
            hp->MouseAt(f, 0, 0, 0);
    };
    // The key read after F9 in the menu blocks until a key is there.
    EXPECT_EQ(hp->ReadKey() >> 8, KEY_J);
    EXPECT_EQ(hp->frame(), 5);
    // A button held at the end of a game is waited out by polling alone.
    hp->MouseAt(5, 0, 0, 1);
    while (mouse_b)
        hp->PollMouse();
    EXPECT_EQ(hp->frame(), 9);
}
