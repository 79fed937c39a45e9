#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
bash scripts/build.sh
cd "${QUAVERO_BUILD_DIR:-build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300
# The Debian package: it must build, and lintian must find no error in it.
rm -f quavero_*.deb
cpack -G DEB >/dev/null
lintian --fail-on error --display-level '>=error' quavero_*.deb
echo "Debian package: $(ls quavero_*.deb) ($(stat -c %s quavero_*.deb) bytes), lintian found no errors"
