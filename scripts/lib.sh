# Shared set-up for scripts/run.sh and scripts/test.sh. Sourced, not run.
# Everything here is idempotent and quick when already done.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${CLIP_BUILD_DIR:-$ROOT/build}"
export WINEPREFIX="$BUILD/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=d"
export WINEARCH=win64

PACKAGES=(
  cmake make g++ googletest
  g++-mingw-w64-x86-64 mingw-w64-tools
  g++-mingw-w64-i686 clang
  wine wine64
  xvfb x11-utils xdotool xclip imagemagick
  fonts-wqy-microhei fonts-wine locales
  sqlite3 nodejs npm procps unzip
  mdbtools libclang-rt-14-dev
)

say() { printf '==> %s\n' "$*" >&2; }

# find_jet_samples: exports CLIP_JET_SAMPLES, the folder of the Jet sample
# files the tests read: as given, else shared/jet beside this clone, else
# beside the checkout this one was cloned from (a clone made elsewhere, as a
# clean run is). Says so when there is none: those tests then skip.
find_jet_samples() {
  local origin dir
  origin="$(git -C "$ROOT" config --get remote.origin.url 2>/dev/null || true)"
  for dir in "${CLIP_JET_SAMPLES:-}" "$(dirname "$ROOT")/shared/jet" ${origin:+"$(dirname "$origin")/shared/jet"}; do
    if [ -n "$dir" ] && [ -d "$dir/slots" ] && [ -d "$dir/access" ]; then
      export CLIP_JET_SAMPLES="$(cd "$dir" && pwd)"
      say "Jet sample files: $CLIP_JET_SAMPLES"
      return 0
    fi
  done
  say "Jet sample files not found (set CLIP_JET_SAMPLES): the tests that read them will be skipped"
}

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    # npm may come with Node.js from elsewhere; only install it when absent.
    if [ "$p" = npm ] && command -v npm >/dev/null 2>&1; then continue; fi
    if [ "$p" = nodejs ] && command -v node >/dev/null 2>&1; then continue; fi
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    say "installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

ensure_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    say "generating the zh_CN.UTF-8 locale"
    as_root sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
}

# configure_and_build [TARGET...]: everything, or only the targets named.
configure_and_build() {
  local jobs; jobs="$(nproc 2>/dev/null || echo 2)"
  if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    say "configuring in $BUILD"
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  fi
  say "building"
  LC_ALL=C LANG=C cmake --build "$BUILD" -j "$jobs" ${1:+--target "$@"} -- --no-print-directory >"$BUILD/build.log" 2>&1 || {
    tail -n 60 "$BUILD/build.log" >&2; say "build failed (full log: $BUILD/build.log)"; return 1; }
}

# Start a private X server on a free display number; sets DISPLAY and XVFB_PID.
# The server picks the number itself and writes it once it takes clients
# (-displayfd), so two runs starting at once never share a display (and with
# it a clipboard and a keyboard).
start_xvfb() {
  local out i n
  out="$(mktemp)"
  Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$out" 2>/dev/null &
  XVFB_PID=$!
  for i in $(seq 1 100); do
    n="$(head -n 1 "$out" 2>/dev/null)"
    if [ -n "$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
      rm -f "$out"; export DISPLAY=":$n"; return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$out"; kill "$XVFB_PID" 2>/dev/null || true
  say "could not start Xvfb"; return 1
}

display_usable() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

# The Wine prefix lives in the build tree and is made under the Chinese locale.
# Its marker file holds the version of the set-up below; raise PREFIX_VERSION
# when the set-up changes, and existing prefixes are brought up to date.
PREFIX_VERSION=2

ensure_prefix() {
  local marker="$WINEPREFIX/.clip-prefix-ready"
  [ -f "$WINEPREFIX/system.reg" ] && [ "$(cat "$marker" 2>/dev/null)" = "$PREFIX_VERSION" ] && return 0
  if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$marker" ]; then
    say "creating the Wine prefix in $WINEPREFIX (first time only)"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  say "bringing the Wine prefix up to set-up version $PREFIX_VERSION"
  install_marlett
  wineserver -w
  echo "$PREFIX_VERSION" >"$marker"
}

# copy_prefix DIR: DIR becomes a copy of the prefix as set up now (again when
# the prefix's set-up changed).
copy_prefix() {
  [ "$(cat "$1/.clip-prefix-ready" 2>/dev/null)" = "$(cat "$WINEPREFIX/.clip-prefix-ready")" ] && return 0
  say "copying the Wine prefix to $1"
  WINEPREFIX="$1" wineserver -k >/dev/null 2>&1 || true
  rm -rf "$1" && cp -a "$WINEPREFIX" "$1"
}

# On an X server without a window manager (the tests' Xvfb), Wine waits two
# seconds for a manager's answer each time a window it leaves to the manager
# is hidden or destroyed. Under the tests no manager runs: the windows are
# Wine's own. On a desktop with a window manager they are the manager's.
set_window_manager() {
  if [ "$1" = none ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  else
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 </dev/null || true
  fi
}

# Under the Chinese locale Wine passes over the Marlett font in its own data
# folder, and title-bar buttons draw as the letters "0", "1" and "r". Installed
# into the prefix like any Windows font, it is picked.
install_marlett() {
  local font=/usr/share/wine/fonts/marlett.ttf
  [ -f "$font" ] || { say "no $font (package fonts-wine)"; return 1; }
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
    /v 'Marlett (TrueType)' /d marlett.ttf /f >/dev/null 2>&1 </dev/null
}

# The SQLite amalgamation comes from a pinned npm package whose tarball hash is
# checked; only sqlite3.c and sqlite3.h are unpacked, into the build folder
# (third_party/sqlite/CMakeLists.txt looks there by default).
SQLITE_VERSION=3.53.2
SQLITE_NPM_PACKAGE=better-sqlite3@12.11.1
SQLITE_TARBALL_SHA512=76af40b40a608393c616d0733c54819771d94231e893981a40233ace1d989346929830acd426e7548f3f1e001242434ab16169b1e20ef5b7a0e71c696216c87c

ensure_sqlite() {
  local dest="$BUILD/_deps/sqlite-$SQLITE_VERSION"
  [ -f "$dest/sqlite3.c" ] && [ -f "$dest/sqlite3.h" ] && return 0
  say "fetching the SQLite $SQLITE_VERSION amalgamation ($SQLITE_NPM_PACKAGE)"
  local tmp tgz sum
  tmp="$(mktemp -d)"
  if ! (cd "$tmp" && npm pack "$SQLITE_NPM_PACKAGE" --silent >/dev/null </dev/null); then
    rm -rf "$tmp"; say "npm pack $SQLITE_NPM_PACKAGE failed"; return 1
  fi
  tgz="$(find "$tmp" -maxdepth 1 -name '*.tgz' | head -n 1)"
  sum="$(sha512sum "$tgz" 2>/dev/null | cut -d' ' -f1)"
  if [ -z "$tgz" ] || [ "$sum" != "$SQLITE_TARBALL_SHA512" ]; then
    rm -rf "$tmp"; say "refusing $SQLITE_NPM_PACKAGE: tarball hash mismatch"; return 1
  fi
  tar -xzf "$tgz" -C "$tmp" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h || {
    rm -rf "$tmp"; say "could not unpack the SQLite amalgamation"; return 1; }
  if ! grep -q "^#define SQLITE_VERSION *\"$SQLITE_VERSION\"" "$tmp/package/deps/sqlite3/sqlite3.h"; then
    rm -rf "$tmp"; say "the tarball does not hold SQLite $SQLITE_VERSION"; return 1
  fi
  mkdir -p "$dest"
  mv "$tmp/package/deps/sqlite3/sqlite3.h" "$dest/sqlite3.h"
  mv "$tmp/package/deps/sqlite3/sqlite3.c" "$dest/sqlite3.c"
  rm -rf "$tmp"
}

# Packages, locale and sources: what the build and Wine need first.
setup_tools() {
  ensure_packages
  ensure_locale
  mkdir -p "$BUILD"
  ensure_sqlite
}

setup_all() {
  setup_tools
  configure_and_build
}
