# The two commands of the README. Both install what is missing, configure and build.
BUILD_DIR := build
JOBS ?= 2

.PHONY: run test build deps configure clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	cd $(BUILD_DIR)/app && ./quillo

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD_DIR)/CMakeFiles $(BUILD_DIR)/src $(BUILD_DIR)/tests $(BUILD_DIR)/tools $(BUILD_DIR)/bench
