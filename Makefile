# The two commands of the README. Both install what is missing, configure and build.
BUILD_DIR := build
JOBS ?= 2

.PHONY: run test test-asan build deps configure clean

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

# The data layer's and the receipt rules' tests once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, in a build directory of their own; any finding fails.
ASAN_DIR := build-asan
ASAN_TESTS := test_jet_dialect test_data_access test_statement_routines test_bill_numbering \
	test_schema_upgrade test_spell_code test_number_text test_formula_evaluator test_amount_rules
empty :=
space := $(empty) $(empty)
SANITIZER_OPTIONS := ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

test-asan: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLO_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j$(JOBS) --target $(ASAN_TESTS)
	cd $(ASAN_DIR) && $(SANITIZER_OPTIONS) QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure --no-tests=error -j$(JOBS) -R '^($(subst $(space),|,$(strip $(ASAN_TESTS))))$$'

clean:
	rm -rf $(BUILD_DIR)/CMakeFiles $(BUILD_DIR)/src $(BUILD_DIR)/tests $(BUILD_DIR)/tools $(BUILD_DIR)/bench
