// tov: authoring multiple-choice certification tests. The command line and
// the show command are ignored: the window always opens the same way.
#include "app/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return runProgram(instance);
}
