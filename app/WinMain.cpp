// Entry point of Morvane.exe. The command line is not read.
#include "app/Entry.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    return RunMorvane(hInstance);
}
