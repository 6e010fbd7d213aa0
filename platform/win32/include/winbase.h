// Windows stand-in: kernel services the module and MFC use (modules, global memory, strings, WinExec).
#pragma once

#include <windows.h>

// Modules: the main program and every shared object that carries compiled resources.
HMODULE GetModuleHandle(LPCSTR moduleName);
DWORD GetModuleFileName(HMODULE module, LPSTR fileName, DWORD size);
HMODULE LoadLibrary(LPCSTR fileName);
BOOL FreeLibrary(HMODULE module);

// Global memory blocks, the currency of the clipboard.
constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
LPVOID GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
size_t GlobalSize(HGLOBAL memory);
HGLOBAL GlobalFree(HGLOBAL memory);

int lstrlen(LPCSTR text);
LPSTR lstrcpy(LPSTR to, LPCSTR from);
LPSTR lstrcpyn(LPSTR to, LPCSTR from, int max);
LPSTR lstrcat(LPSTR to, LPCSTR from);
int lstrcmp(LPCSTR a, LPCSTR b);
int lstrcmpi(LPCSTR a, LPCSTR b);
int MulDiv(int number, int numerator, int denominator);

DWORD GetLastError();
void SetLastError(DWORD error);
DWORD GetTickCount();

// Starts a program from a command line; recorded by the stand-in (see qplatform/WindowSystem.h).
UINT WinExec(LPCSTR commandLine, UINT showCommand);

// Resources of a module, compiled from its .rc file.
#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL resource);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL resource);
