// kestrova-dxg list FILE | extract FILE DIR | pack MANIFEST OUT
#include "common/dxg_tool.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return kestrova::RunDxgTool(args, std::cout, std::cerr);
}
