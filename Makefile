# The two commands of the README: `make run` and `make test`. Both install
# what this Debian machine is missing first, as does `make package`.
SHELL := /bin/bash
JOBS ?= 2
ARGS ?=

APT_PACKAGES := cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev clang clang-format \
  clang-tidy libclang-rt-14-dev g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth imagemagick \
  fonts-wine fonts-dejavu-core fonts-liberation gnuplot-nox nsis python3 python3-yaml xdotool \
  wixl msitools
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test deps build-linux build-asan build-windows unit asan wine-tests lint fuzz bench \
  package package-tests clean

deps: build/.deps-ok
build/.deps-ok: Makefile
	@missing=""; for p in $(APT_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
	@mkdir -p build && touch $@

build-linux: deps
	cmake --preset linux >/dev/null && cmake --build --preset linux -j $(JOBS)

build-asan: deps
	cmake --preset asan >/dev/null && cmake --build --preset asan -j $(JOBS)

build-windows: deps
	cmake --preset windows >/dev/null && cmake --build --preset windows -j $(JOBS)

unit: build-linux
	ctest --preset linux -j $(JOBS)

asan: build-asan
	ctest --preset asan -j $(JOBS)

wine-tests: build-windows
	scripts/wine-session.sh ctest --preset windows

lint: build-linux build-windows
	scripts/lint.sh

# The packages, named after project(VERSION) in CMakeLists.txt. CPack makes
# the zip and the installer; packaging/release_files.py makes the MSI from the
# same installed files, then the winget and Scoop manifests that name all three.
VERSION := $(shell sed -n 's/^project.quellor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
PACKAGES := build/Quellor-$(VERSION)-win64.zip build/Quellor-$(VERSION)-win64-setup.exe \
  build/Quellor-$(VERSION)-win64.msi
MANIFESTS := build/manifests/winget/Quellor.Quellor.yaml \
  build/manifests/winget/Quellor.Quellor.installer.yaml \
  build/manifests/winget/Quellor.Quellor.locale.en-US.yaml build/manifests/scoop/quellor.json

package: build-windows
	rm -rf build/windows/packages build/windows/staged build/manifests
	cpack --config build/windows/CPackConfig.cmake -B build/windows/packages >/dev/null
	cp $(filter-out %.msi,$(PACKAGES:build/%=build/windows/packages/%)) build/
	cmake --install build/windows --prefix build/windows/staged >/dev/null
	python3 packaging/release_files.py all build/windows/release.json build/windows/staged \
	  build CHANGELOG.md
	cd build && sha256sum $(PACKAGES:build/%=%) >SHA256SUMS
	@ls -l $(PACKAGES) $(MANIFESTS) build/SHA256SUMS

package-tests: package
	scripts/wine-session.sh tests/package/package_tests.sh \
	  build/windows/tests/windows/quellor_driver.exe $(PACKAGES) build/windows/staged

run: build-windows
	scripts/wine-session.sh --run build/windows/quellor.exe $(ARGS)

test: unit asan lint wine-tests package-tests
	@echo "All tests passed."

fuzz: deps
	scripts/fuzz.sh

bench: deps
	JOBS=$(JOBS) scripts/bench.sh

clean:
	rm -rf build
