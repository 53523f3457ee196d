// Entry point of Morvane.exe: the paths on the command line are opened.
#include "app/Entry.h"
#include "playback/OpenedPaths.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    return RunMorvane(hInstance, playlist::PathsFromCommandLine(::GetCommandLineW()));
}
