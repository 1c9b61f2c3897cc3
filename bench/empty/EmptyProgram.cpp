// A Windows program that does nothing: what starting any program costs, for comparison.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
