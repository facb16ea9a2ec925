# Front door: `make test` and `make demo` each install what they lack and then run.
.PHONY: test build demo clean

# The build's own make runs below this one: no "Entering directory" lines from it.
MAKEFLAGS += --no-print-directory

test:
	@bash scripts/test.sh

demo:
	@bash scripts/demo.sh

build:
	@bash scripts/install-deps.sh
	@bash scripts/build.sh build

clean:
	rm -rf build
