# Front door: `make test` and `make demo` each install what they lack and then run.
.PHONY: test build demo clean

test:
	bash scripts/test.sh

demo:
	bash scripts/demo.sh

build:
	bash scripts/install-deps.sh
	bash scripts/build.sh build

clean:
	rm -rf build
