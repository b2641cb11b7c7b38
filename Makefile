# make run: build and start the player. make test: build and run every test, in a normal build
# and in one with AddressSanitizer and UndefinedBehaviorSanitizer, then check the Debian package.
# make package: the Debian package in build/.
JOBS ?= $(shell nproc)
# Ninja for a new build folder; one that exists keeps the generator it was made with.
generator = $(if $(wildcard $(1)/CMakeCache.txt),,-G Ninja)

FUZZ_SECONDS ?= 60

.PHONY: run build package write-description windows web serve-web test test-normal test-sanitize fuzz test-windows test-web package-check bench clean

build:
	scripts/install-deps.sh run
	cmake -S . -B build $(call generator,build) -DVK_TESTS=OFF -DVK_BENCHMARKS=OFF
	cmake --build build -j $(JOBS)

run: build
	build/vorlan-kidney

test: test-normal test-sanitize fuzz test-windows test-web package-check

test-normal:
	scripts/install-deps.sh test
	cmake -S . -B build $(call generator,build) -DVK_TESTS=ON -DVK_BENCHMARKS=ON
	cmake --build build -j $(JOBS)
	ctest --test-dir build --output-on-failure -j $(JOBS)

test-sanitize:
	scripts/install-deps.sh test
	cmake -S . -B build-sanitize $(call generator,build-sanitize) -DVK_SANITIZE=ON -DVK_TESTS=ON -DVK_BENCHMARKS=OFF
	cmake --build build-sanitize -j $(JOBS)
	ctest --test-dir build-sanitize --output-on-failure -j $(JOBS)

# The description reader under libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer,
# seeded with a description around tiny stand-in JPEG files.
fuzz:
	scripts/install-deps.sh test
	CXX=clang++ cmake -S . -B build-fuzz $(call generator,build-fuzz) -DVK_FUZZ=ON -DVK_TESTS=OFF -DVK_BENCHMARKS=OFF
	cmake --build build-fuzz --target description_fuzz write_description
	rm -rf build-fuzz/seed-slides build-fuzz/corpus && mkdir -p build-fuzz/seed-slides build-fuzz/corpus
	for k in $$(seq -w 1 24); do printf '\377\330%s\377\331' $$k > build-fuzz/seed-slides/slide$$k.jpg; done
	build-fuzz/write_description build-fuzz/seed-slides build-fuzz/corpus/seed.bin
	build-fuzz/description_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -print_final_stats=1 build-fuzz/corpus

# The description writer from the native build (configured for the program alone if there is
# none yet): the cross builds run it here.
write-description:
	scripts/install-deps.sh run
	test -f build/CMakeCache.txt || cmake -S . -B build $(call generator,build) -DVK_TESTS=OFF -DVK_BENCHMARKS=OFF
	cmake --build build --target write_description

# The Windows programs, cross-built: build-windows/vorlan-kidney.exe and vorlan-replay.exe. The
# description writer comes from the native build.
WINDOWS_CONFIG = cmake -S . -B build-windows $(call generator,build-windows) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	-DVK_HOST_WRITE_DESCRIPTION=$(CURDIR)/build/write_description -DVK_BENCHMARKS=OFF
windows: write-description
	scripts/install-deps.sh windows
	$(WINDOWS_CONFIG) -DVK_TESTS=OFF
	cmake --build build-windows -j $(JOBS)

# The platform-neutral suites and golden replays cross-built under Wine, and the e2e suite of
# the native build against the .exe under Wine.
test-windows: test-normal
	scripts/install-deps.sh windows
	$(WINDOWS_CONFIG) -DVK_TESTS=ON -DVK_HOST_E2E_TESTS=$(CURDIR)/build/tests/vorlan_e2e_tests
	cmake --build build-windows -j $(JOBS)
	ctest --test-dir build-windows --output-on-failure

# The page: build-web/index.html, vorlan-kidney.js and .wasm, for any static web server. emcmake's
# own node flag is one today's node refuses, and emscripten's optimiser needs Debian's acorn.
WEB_CONFIG = emcmake cmake -S . -B build-web $(call generator,build-web) -DCMAKE_BUILD_TYPE=Release \
	-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node \
	-DVK_HOST_WRITE_DESCRIPTION=$(CURDIR)/build/write_description -DVK_BENCHMARKS=OFF
export NODE_PATH = /usr/share/nodejs
web: write-description
	scripts/install-deps.sh web
	$(WEB_CONFIG) -DVK_TESTS=OFF
	cmake --build build-web -j $(JOBS)

serve-web: web
	python3 platforms/web/serve.py build-web 8000

# The neutral suites and golden replays built for WebAssembly under node, and the page in
# headless Chromium, Firefox ESR and WebKitGTK (puppeteer-core as tests/web's lock file pins it).
test-web: test-normal
	scripts/install-deps.sh web
	cd tests/web && npm ci --no-audit --no-fund --loglevel=error
	$(WEB_CONFIG) -DVK_TESTS=ON
	cmake --build build-web -j $(JOBS)
	ctest --test-dir build-web --output-on-failure

# The Debian package build/vorlan-kidney_<version>-1_amd64.deb.
package: build
	scripts/install-deps.sh package
	cd build && cpack

# Installs the package, runs the installed player through part of the e2e suite, removes it.
package-check: test-normal package
	scripts/check-package.sh

bench: test-normal
	build/bench/vorlan_bench
	bench/startup.sh build/bench/vorlan_startup
	bench/start.sh build
	bench/window.sh build

clean:
	rm -rf build build-sanitize build-fuzz build-windows build-web
