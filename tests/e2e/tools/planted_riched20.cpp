// A stand-in riched20.dll that a scenario plants beside Tessera.exe: the program must load the
// rich-edit control's DLL from the system folder, never this one.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
