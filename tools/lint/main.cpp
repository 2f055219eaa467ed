// kestrova-lint DISC_DIR: checks a disc before it is pressed.
#include "common/lint.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return kestrova::RunLintTool(args, std::cout, std::cerr);
}
