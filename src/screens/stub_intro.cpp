#include "app/system.h"
#include "screens/screens.h"

void PlayIntro() {
    PresentFrame();
}
