# The two commands for a fresh machine are `make run` and `make test`.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=Release $(if $(CI),-DQUELLORY_WERROR=ON)

# make install puts the program under $(PREFIX): ~/.local, or /usr/local for root.
PREFIX ?= $(if $(filter 0,$(shell id -u)),/usr/local,$(HOME)/.local)
# Everything make install put anywhere, kept apart from the manifest that every
# other install from the build tree (the test's staging install, cpack) rewrites.
INSTALLED := $(BUILD)/installed-files.txt

.PHONY: setup build run test windows bench fuzz screenshot install uninstall package

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

# Quellory.exe and the engine cross-built for Windows, in build-windows.
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

install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)" --strip
	sort -u $(BUILD)/install_manifest.txt $(wildcard $(INSTALLED)) -o $(INSTALLED)

# Removes exactly the files make install listed, then the program's own
# directories (lib/quellory, share/doc/quellory) unless something else, such
# as a settings file, is left in them.
uninstall:
	@test -f $(INSTALLED) || { echo "Nothing to uninstall: no $(INSTALLED)"; exit 1; }
	xargs -d '\n' rm -fv -- < $(INSTALLED)
	sed -n 's|\(.*/quellory\)/[^/]*$$|\1|p' $(INSTALLED) | sort -u | xargs -d '\n' rmdir --ignore-fail-on-non-empty
	rm $(INSTALLED)

# The package tools (dpkg-dev, lintian) come with the test group.
package: build
	@scripts/install-deps test
	cd $(BUILD) && cpack
