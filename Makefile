# Shortcuts; the scripts in scripts/ do the work (and need nothing but bash to start).
#   make run     sets up, builds and starts the front end on the bundled sample disc
#   make test    sets up, builds and runs every test
#   make format-check   names the C++ files that `make format` would change (what CI checks)
.PHONY: setup build run test release asan fuzz fuzz-run deb bench format format-check

setup:
	./scripts/setup.sh

build:
	./scripts/build.sh

run:
	./scripts/run.sh

test:
	./scripts/test.sh

release: setup
	cmake --preset release
	cmake --build --preset release -j$$(nproc)

asan: setup
	cmake --preset asan
	cmake --build --preset asan -j$$(nproc)
	ctest --preset asan -j$$(nproc)

fuzz: setup
	cmake --preset fuzz
	cmake --build --preset fuzz -j$$(nproc)

# Every fuzz target for SECONDS (default 600) each.
fuzz-run: fuzz
	./scripts/fuzz.sh $${SECONDS:-600}

# The Debian package, from the release build: build/release/kestrova_<version>_<arch>.deb
deb: release
	cd build/release && cpack -G DEB

bench: release
	./scripts/bench.sh

format:
	find src tools tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

format-check:
	./scripts/check-format.sh
