# The two commands a fresh machine needs: `make run` and `make test`. Both install what is missing.
BUILD      ?= build
ASAN_BUILD ?= build-asan
GUI_ASAN_BUILD ?= build-asan-gui
GUI_TSAN_BUILD ?= build-tsan-gui
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 20
DVRTOOL    := $(BUILD)/tools/dvrtool/dvrtool

.PHONY: run demo-live test bench fuzz asan gui-sanitize package build format clean

build:
	scripts/setup

run: build
	@$(DVRTOOL) synth -o $(BUILD)/demo.NDF --channels 4 --seconds 10 --audio --partial
	@echo; echo "== dvrtool info $(BUILD)/demo.NDF"; $(DVRTOOL) info $(BUILD)/demo.NDF
	@echo; echo "== dvrtool frames $(BUILD)/demo.NDF --decode (the first 12)"
	@$(DVRTOOL) frames $(BUILD)/demo.NDF --decode > $(BUILD)/demo-frames.txt; head -n 12 $(BUILD)/demo-frames.txt
	@echo; $(DVRTOOL) decode $(BUILD)/demo.NDF --index 4 --double -o $(BUILD)/demo-ch1.png
	@echo; echo "== dvrtool export $(BUILD)/demo.NDF -o $(BUILD)/demo.avi"; $(DVRTOOL) export $(BUILD)/demo.NDF -o $(BUILD)/demo.avi
	@echo; scripts/demo-live $(BUILD) 4
	@echo; scripts/run-viewer $(BUILD)

# A live session against the DVR simulator: login, live pictures and sound, a key, a recording.
demo-live: build
	scripts/demo-live $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2 -LE package

bench: build
	bench/run $(BUILD)

asan:
	scripts/setup --deps
	@test -f $(ASAN_BUILD)/build.ninja || cmake -S . -B $(ASAN_BUILD) -G Ninja \
	    -DCMAKE_BUILD_TYPE=Debug -DDVR_SANITIZE=ON -DDVR_GUI=OFF
	cmake --build $(ASAN_BUILD)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j2 -L core

# The window tests without OpenGL (offscreen), under ASan + UBSan and under TSan.
gui-sanitize:
	scripts/setup --deps
	@test -f $(GUI_ASAN_BUILD)/build.ninja || cmake -S . -B $(GUI_ASAN_BUILD) -G Ninja \
	    -DCMAKE_BUILD_TYPE=Debug -DDVR_SANITIZE=ON
	cmake --build $(GUI_ASAN_BUILD) --target gui_tests
	QT_QPA_PLATFORM=offscreen $(GUI_ASAN_BUILD)/tests/gui_tests
	@test -f $(GUI_TSAN_BUILD)/build.ninja || cmake -S . -B $(GUI_TSAN_BUILD) -G Ninja \
	    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-fsanitize=thread -O1" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread
	cmake --build $(GUI_TSAN_BUILD) --target gui_tests
	QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tests/tsan-qt.supp" \
	    $(GUI_TSAN_BUILD)/tests/gui_tests

fuzz:
	scripts/setup --deps
	@test -f $(FUZZ_BUILD)/build.ninja || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVR_FUZZ=ON -DDVR_GUI=OFF
	cmake --build $(FUZZ_BUILD)
	fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The Debian package build/dvr-viewer_VERSION_ARCH.deb (stripped programs), checked by lintian.
package:
	scripts/setup --deps
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) --target dvr-viewer dvrtool package_files
	cd $(BUILD) && cpack
	lintian --fail-on error $(BUILD)/dvr-viewer_*.deb
	ctest --test-dir $(BUILD) --output-on-failure -L package

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(GUI_ASAN_BUILD) $(GUI_TSAN_BUILD)
