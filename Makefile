# Two commands: `make run` and `make test`. Both install what is missing first.
# `make package` builds the Debian package into $(BUILD)/.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test package clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j 2 --timeout 600

package: build
	@cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD)
