// Loads each library named on the command line by its plain name, with the
// system's default search, as a program that does not guard its loading
// would. The planted-library test starts it to show that its plants and its
// load-order setting do take effect.
#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return 1;
    for (int i = 1; i < count; ++i) LoadLibraryW(arguments[i]);
    LocalFree(arguments);
    return 0;
}
