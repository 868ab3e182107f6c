// Holds a file open as another program does (a viewer, a virus scanner):
// for reading, shared for reading only, so that it cannot be replaced, for
// the given milliseconds. Prints "held" once it has the file, so that a check
// knows when to start; exits 1 when the file cannot be opened.
//   pismolot_holdfile.exe FILE MILLISECONDS
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

int main() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr || count != 3) {
        std::fputs("usage: pismolot_holdfile FILE MILLISECONDS\n", stderr);
        return 2;
    }
    const HANDLE file = CreateFileW(words[1], GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open the file: error %lu\n", GetLastError());
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    Sleep(DWORD(std::wcstoul(words[2], nullptr, 10)));
    CloseHandle(file);
    LocalFree(reinterpret_cast<HLOCAL>(words));
    return 0;
}
