// Holds a file open as another program does (a viewer, a virus scanner):
// for reading, shared for reading only, so that it cannot be replaced. Prints
// "held" once it has the file; the hold then lasts MILLISECONDS from the
// moment a new file shows in the file's folder (the writer's temporary file),
// so that the writer surely meets it. Exits 1 when the file cannot be opened.
//   pismolot_holdfile.exe FILE MILLISECONDS
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

int entries(const std::wstring& pattern) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 1;
    while (FindNextFileW(search, &found))
        ++count;
    FindClose(search);
    return count;
}

} // namespace

int main() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr || count != 3) {
        std::fputs("usage: pismolot_holdfile FILE MILLISECONDS\n", stderr);
        return 2;
    }
    const std::wstring path = words[1];
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open the file: error %lu\n", GetLastError());
        return 1;
    }
    const std::wstring pattern = path.substr(0, path.find_last_of(L"\\/") + 1) + L"*";
    const int before = entries(pattern);
    std::puts("held");
    std::fflush(stdout);
    for (int waited = 0; entries(pattern) <= before && waited < 60000; waited += 10)
        Sleep(10);
    Sleep(DWORD(std::wcstoul(words[2], nullptr, 10)));
    CloseHandle(file);
    LocalFree(reinterpret_cast<HLOCAL>(words));
    return 0;
}
