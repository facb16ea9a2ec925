# Front door: `make test`, `make demo` and `make package` each install what they lack and then run.
.PHONY: test build demo package clean

# The build's own make runs below this one: no "Entering directory" lines from it.
MAKEFLAGS += --no-print-directory

test:
	@bash scripts/test.sh

demo:
	@bash scripts/demo.sh

package:
	@bash scripts/package.sh

build:
	@bash scripts/install-deps.sh
	@bash scripts/build.sh build

clean:
	rm -rf build
