// Writes the rows of the help's key table for the keys of the menu table, for the help the
// Linux program and the page ship: the keys are written once, in the menu table.
//   help-keys-maker OUTPUT
#include <fstream>
#include <iostream>

#include "app/common/menu_text.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: help-keys-maker OUTPUT\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << kz::helpKeyRows();
    if (!out) {
        std::cerr << "help-keys-maker: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
