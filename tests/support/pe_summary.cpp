// What the test scripts need of a Windows executable, from the one PE reader: the machine it is
// built for and the DLLs it imports, printed as one JSON object.
// usage: pe_summary FILE
#include <iostream>

#include "tests/support/pe_image.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: pe_summary FILE\n";
        return 2;
    }
    const kz::test::PeImage image(argv[1]);
    if (!image.loaded()) {
        std::cerr << argv[1] << ": " << image.error() << "\n";
        return 1;
    }
    // DLL names are plain ASCII file names, written into JSON strings as they are.
    for (const std::string& dll : image.importedDlls()) {
        for (char c : dll) {
            if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
                std::cerr << argv[1] << ": an imported DLL has a strange name\n";
                return 1;
            }
        }
    }
    std::cout << "{\"machine\": " << image.machine() << ", \"imports\": [";
    const char* separator = "";
    for (const std::string& dll : image.importedDlls()) {
        std::cout << separator << '"' << dll << '"';
        separator = ", ";
    }
    std::cout << "]}\n";
    return 0;
}
