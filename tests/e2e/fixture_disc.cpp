// Writes a fixture disc for the end-to-end tests:  kestrova_fixture_disc OUTDIR VARIANT

#include "support/fixture_disc.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kestrova_fixture_disc OUTDIR VARIANT\n");
        return 2;
    }
    kestrova::WriteFixtureDisc(argv[1], argv[2]);
    return 0;
}
