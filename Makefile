# make run: build and start the player. make test: build and run every test, in a normal build
# and in one with AddressSanitizer and UndefinedBehaviorSanitizer.
JOBS ?= $(shell nproc)

.PHONY: run build test test-normal test-sanitize bench clean

build:
	scripts/install-deps.sh run
	cmake -S . -B build -G Ninja -DVK_TESTS=OFF -DVK_BENCHMARKS=OFF
	cmake --build build -j $(JOBS)

run: build
	build/vorlan-kidney

test: test-normal test-sanitize

test-normal:
	scripts/install-deps.sh test
	cmake -S . -B build -G Ninja -DVK_TESTS=ON -DVK_BENCHMARKS=ON
	cmake --build build -j $(JOBS)
	ctest --test-dir build --output-on-failure -j $(JOBS)

test-sanitize:
	scripts/install-deps.sh test
	cmake -S . -B build-sanitize -G Ninja -DVK_SANITIZE=ON -DVK_TESTS=ON -DVK_BENCHMARKS=OFF
	cmake --build build-sanitize -j $(JOBS)
	ctest --test-dir build-sanitize --output-on-failure -j $(JOBS)

bench: test-normal
	build/bench/vorlan_bench

clean:
	rm -rf build build-sanitize
