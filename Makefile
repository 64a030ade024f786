# Versewell: `make run` builds and starts the reader, `make test` builds and runs every test.
# Both install missing Debian packages first (scripts/install-deps).

BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= 2
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local

.PHONY: all deps configure build run test test-release test-sanitize bench fuzz install uninstall \
  screenshots clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/versewell $(ARGS); \
	else \
	  lesson=$$($(BUILD)/versewell --week | cut -f4); [ "$$lesson" = 0 ] && lesson=1; \
	  echo "No display to open the reader on: writing this week's lesson ($$lesson) to versewell-page.png"; \
	  $(BUILD)/versewell --render $$lesson -o versewell-page.png; \
	fi

test: test-release test-sanitize

test-release: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVW_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

# Each bench prints its figures as "figure NAME RATIO" lines; they are gathered at the end, in
# the order of FIGURES.
FIGURES = layout paint startup startup-plain search-miss search-fold-miss search-all expand pack pack-greedy memory-mb
bench: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVW_BENCH=ON >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target benches
	@rm -f $(BUILD)/bench/figures.txt
	@for b in $(BUILD)/bench/*_bench; do \
	  echo "== $$b"; \
	  $$b > $(BUILD)/bench/last.log 2>&1; status=$$?; \
	  grep -v '^figure ' $(BUILD)/bench/last.log; \
	  grep '^figure ' $(BUILD)/bench/last.log >> $(BUILD)/bench/figures.txt; \
	  [ $$status -eq 0 ] || exit 1; \
	done
	@echo "== figures (ours over the peer or limit; memory-mb in MB)"
	@for f in $(FIGURES); do grep "^figure $$f " $(BUILD)/bench/figures.txt || { echo "figure $$f missing" >&2; exit 1; }; done

# Each libFuzzer target for FUZZ_SECONDS, with ASan and UBSan, from the seeds in fuzz/corpus.
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	  -DVW_FUZZ=ON -DVW_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS)
	@for t in uncompress_fuzz lesson_walk_fuzz bundle_fuzz lesson_source_fuzz view_fuzz outline_fuzz search_fuzz forgiving_search_fuzz \
	    settings_fuzz command_line_fuzz clipboard_append_fuzz; do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t && \
	  echo "== $$t" && \
	  $(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/ \
	    $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

# Installs into PREFIX (DESTDIR is honoured, for packages); uninstall removes what the last
# install from this build put down.
install: build
	@DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	@DESTDIR=$(DESTDIR) cmake -DMANIFEST=$(BUILD)/install_manifest.txt -P cmake/uninstall.cmake

# The README's pictures, taken of the program itself in a window under Xvfb.
screenshots: build
	@scripts/make-screenshots $(BUILD) docs

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
