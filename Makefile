# The two commands for a fresh machine are `make run` and `make test`.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=Release $(if $(CI),-DQUELLORY_WERROR=ON)

.PHONY: setup build run test windows bench fuzz screenshot

setup:
	@scripts/install-deps run

build: setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

run: build
	$(BUILD)/Quellory

test:
	@scripts/install-deps test
	scripts/test

# The engine cross-built for Windows, in build-windows.
windows:
	@scripts/install-deps windows
	scripts/build-windows

bench:
	@scripts/install-deps bench
	scripts/bench

fuzz:
	@scripts/install-deps test
	scripts/fuzz

screenshot:
	@scripts/install-deps test
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD)
	scripts/screenshot
