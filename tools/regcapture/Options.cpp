#include "Options.h"

#include <cwchar>

namespace regcapture {

bool ParseOptions(int argc, wchar_t** argv, Options& options)
{
    int positional = 0;
    for (int index = 1; index < argc; ++index) {
        const wchar_t* argument = argv[index];
        if (std::wcscmp(argument, L"--user") == 0) {
            options.perUser = true;
        } else if (std::wcscmp(argument, L"--wix") == 0) {
            options.wix = true;
        } else if (std::wcscmp(argument, L"--install-dir") == 0) {
            if (++index == argc || !*argv[index])
                return false;
            options.installFolder = argv[index];
        } else if (argument[0] == L'-' && argument[1] == L'-') {
            return false;
        } else if (positional == 0) {
            options.library = argument;
            ++positional;
        } else if (positional == 1) {
            options.output = argument;
            ++positional;
        } else {
            return false;
        }
    }
    return positional == 2;
}

}  // namespace regcapture
