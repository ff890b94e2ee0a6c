# The two commands a newcomer needs; both install whatever is missing first.
.PHONY: run test build package

build:
	scripts/setup.sh
	scripts/build.sh

run:
	scripts/setup.sh
	scripts/build.sh
	scripts/run.sh

test:
	scripts/test.sh

# The Windows Installer package of the suite, build/Corvane-<version>-x64.msi.
package: build
	@ls build/Corvane-*-x64.msi
