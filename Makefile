# The two commands a newcomer needs; both install whatever is missing first.
.PHONY: run test build

build:
	scripts/setup.sh
	scripts/build.sh

run:
	scripts/setup.sh
	scripts/build.sh
	scripts/run.sh

test:
	scripts/test.sh
