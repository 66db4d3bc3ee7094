# The two commands for a fresh machine are `make run` and `make test`.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=Release $(if $(CI),-DQUELLORY_WERROR=ON)

.PHONY: setup build run test bench fuzz screenshot

setup:
	@scripts/install-deps

build: setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

run: build
	$(BUILD)/Quellory

test: setup
	scripts/test

bench: setup
	scripts/bench

fuzz: setup
	scripts/fuzz

screenshot: build
	scripts/screenshot
