# The two commands of README.md: `make run` and `make test`. Both install what
# is missing, configure and build first.
.PHONY: run test build deps bench

deps:
	@tools/install-deps

build: deps
	@tools/prepare-wineprefix
	cmake --preset mingw
	cmake --build --preset mingw

test: build
	tools/run-tests

run: build
	tools/run-lumora

bench: build
	tools/run-benchmarks
