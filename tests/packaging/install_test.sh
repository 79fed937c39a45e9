#!/usr/bin/env bash
# Installs the build to a temporary prefix and runs the installed programs the
# way a user's desktop would: they must find their languages and template in
# PREFIX/share/quavero, keep their data in the XDG folders and never write
# into the installed tree. Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
# The window starts the installed indexing engine, which outlives it by design;
# the test's own engine goes with the test.
cleanup() {
  pkill -f "^$work/prefix/bin/qvrindex" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
for f in bin/quavero bin/qvr bin/qvlang share/quavero/data.blk \
         share/quavero/Lang/english.lng share/quavero/Lang/german.lng \
         share/quavero/Lang/portuguese.lng \
         share/applications/example.kestrel.Quavero.desktop \
         share/metainfo/example.kestrel.Quavero.metainfo.xml \
         share/icons/hicolor/scalable/apps/quavero.svg \
         bin/qvrindex lib/systemd/user/quavero-index.service share/man/man1/qvrindex.1.gz \
         share/man/man1/quavero.1.gz share/man/man1/qvr.1.gz share/man/man1/qvlang.1.gz \
         share/bash-completion/completions/qvr share/doc/quavero/copyright; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/quavero.png
  file "$png" | grep -q "PNG image data, $size x $size" || fail "icon $png is not $size px"
done
desktop-file-validate "$share/applications/example.kestrel.Quavero.desktop"
appstreamcli validate --no-net "$share/metainfo/example.kestrel.Quavero.metainfo.xml" >/dev/null
zcat "$share/man/man1/qvr.1.gz" | grep -q '^\.SS qvr scan' || fail "qvr(1) lacks the commands"

# A user's session: fresh XDG folders, settings kept out of /etc.
export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
export QUAVERO_CONFIG_DIR=$work/home/settings QT_QPA_PLATFORM=offscreen
unset QUAVERO_DATA_DIR
mkdir -p "$HOME"
touch "$work/installed"

"$prefix/bin/qvr" --version | grep -q '^qvr (Quavero) ' || fail "qvr --version"
langs=$("$prefix/bin/qvlang" list)
[ "$(grep -c "	$share/quavero/Lang/" <<<"$langs")" = 3 ] || fail "qvlang list: $langs"

# An engine already listening on the default port (another build's) answers the
# window in place of the installed one; then there is nothing to check here.
engine_port_taken=0
(exec 3<>/dev/tcp/127.0.0.1/7009) 2>/dev/null && engine_port_taken=1
"$prefix/bin/quavero" --screenshot "$work/shot.png" || fail "quavero did not start"
if [ "$engine_port_taken" = 1 ]; then
  echo "install.layout: 127.0.0.1:7009 is taken; the engine start is not checked" >&2
else
  pgrep -f "^$prefix/bin/qvrindex" >/dev/null || fail "the window did not start the installed engine"
fi
[ -s "$work/shot.png" ] || fail "no screenshot"
[ -f "$XDG_DATA_HOME/quavero/data.qvd" ] || fail "the library is not in XDG_DATA_HOME"
"$prefix/bin/qvr" sql "SELECT COUNT(*) AS n FROM FILES" >/dev/null || fail "qvr on the new library"

# /debug shows the system information until it is closed: it must still be up.
status=0
timeout 5 "$prefix/bin/quavero" /debug >"$work/debug.log" 2>&1 || status=$?
[ "$status" = 124 ] || { cat "$work/debug.log" >&2; fail "quavero /debug ended with $status"; }

written=$(find "$prefix" -newer "$work/installed")
[ -z "$written" ] || fail "the programs wrote into the installed tree: $written"

# Completion of the installed qvr from its own help.
completion=$(bash -c '
  source /usr/share/bash-completion/bash_completion
  source "$1/share/bash-completion/completions/qvr"
  COMP_WORDS=(qvr fi); COMP_CWORD=1; COMP_LINE="qvr fi"; COMP_POINT=6
  PATH=$1/bin:$PATH _qvr; echo "${COMPREPLY[*]}"' _ "$prefix")
[ "$completion" = filter ] || fail "completion of 'qvr fi' gave '$completion'"
echo "installed layout works"
