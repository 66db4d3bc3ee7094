# The two commands for a fresh machine are `make run` and `make test`.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=Release $(if $(CI),-DQUELLORY_WERROR=ON)

# make install puts the program under $(PREFIX): ~/.local, or /usr/local for root.
PREFIX ?= $(if $(filter 0,$(shell id -u)),/usr/local,$(HOME)/.local)
# Everything make install put anywhere, kept apart from the manifest that every
# other install from the build tree (the test's staging install, cpack) rewrites.
INSTALLED := $(BUILD)/installed-files.txt

.PHONY: setup build run test bench fuzz screenshot install uninstall package

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

package: build
	cd $(BUILD) && cpack
