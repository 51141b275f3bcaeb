#!/usr/bin/env bash
# Installs everything the two builds need on a fresh Debian machine (as root),
# then builds Lua, LibTomMath, LibTomCrypt and Google Benchmark for mingw-w64 from Debian's
# source packages into build/deps/mingw. Idempotent: each step is skipped when
# its result is already there.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
deps=$repo/build/deps
prefix=$deps/mingw
export DEBIAN_FRONTEND=noninteractive

log() { printf '[setup] %s\n' "$*"; }

packages=(
  cmake g++ make pkg-config python3 git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  liblua5.4-dev
  clang
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth
  libgl1-mesa-dri libglx-mesa0
  dpkg-dev
  scowl wbritish wamerican wfrench wordnet-base
  fonts-dejavu-core
  sox espeak-ng pulseaudio pulseaudio-utils
  libstb-dev
  npm
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Node's own distribution of npm may stand in for Debian's.
if [ ${#missing[@]} -gt 0 ] && command -v npm >/dev/null; then
  missing=("${missing[@]/npm}")
fi
missing=($(printf '%s\n' "${missing[@]}" | sed '/^$/d'))

need_update=0
src_list=/etc/apt/sources.list.d/tessarin-src.sources
if [ ! -f "$src_list" ]; then
  log "adding Debian's source packages to apt"
  cat > "$src_list" <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi
if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  log "apt-get update"
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# --- mingw-w64 builds of the C dependencies -------------------------------
cross=x86_64-w64-mingw32
cc=$cross-gcc-posix
mkdir -p "$prefix/include" "$prefix/lib" "$deps/src"

fetch_source() {  # fetch_source <source package> ; prints the unpacked folder
  local pkg=$1 dir
  dir=$(find "$deps/src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | head -n1)
  if [ -z "$dir" ]; then
    (cd "$deps/src" && { apt-get source -qq "$pkg" >/dev/null 2>&1 || {
      # The newest version may be gone from the mirror: take one apt lists.
      local v
      for v in $(apt-cache showsrc "$pkg" | awk '/^Version:/{print $2}'); do
        apt-get source -qq "$pkg=$v" >/dev/null 2>&1 && break
      done; }; })
    dir=$(find "$deps/src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | head -n1)
  fi
  [ -n "$dir" ] || { echo "cannot fetch source package $pkg" >&2; exit 1; }
  echo "$dir"
}

# LibTomMath and LibTomCrypt allocate through the networking SDK's memory
# hooks (bd_mp_* and bd_tc_*, defined in src/viraredo), in both builds: each is
# built from Debian's sources into its own prefix. The stamp names the build
# flags, so a prefix built differently is rebuilt.
tom_stamp=alloc-hooks-1
tom_mp_flags="-DMP_MALLOC=bd_mp_malloc -DMP_REALLOC=bd_mp_realloc -DMP_CALLOC=bd_mp_calloc -DMP_FREE=bd_mp_free"
tom_tc_flags="-DXMALLOC=bd_tc_malloc -DXREALLOC=bd_tc_realloc -DXCALLOC=bd_tc_calloc -DXFREE=bd_tc_free"

build_tom() {  # build_tom <prefix> <cc> <ar> <ranlib> <label>
  local into=$1 tcc=$2 tar=$3 tranlib=$4 label=$5 d
  [ -f "$into/lib/$tom_stamp" ] && return 0
  mkdir -p "$into/include" "$into/lib"
  log "building LibTomMath ($label)"
  d=$(fetch_source libtommath)
  make -C "$d" -f makefile clean >/dev/null 2>&1 || true
  make -C "$d" -f makefile -j"$(nproc)" CC="$tcc" AR="$tar" RANLIB="$tranlib" \
    CFLAGS="-O2 -fPIC $tom_mp_flags" libtommath.a >"$deps/src/libtommath-$label.log" 2>&1 ||
    { tail -20 "$deps/src/libtommath-$label.log"; exit 1; }
  cp "$d/libtommath.a" "$into/lib/"
  cp "$d"/tommath*.h "$into/include/"
  log "building LibTomCrypt ($label)"
  d=$(fetch_source libtomcrypt)
  make -C "$d" -f makefile clean >/dev/null 2>&1 || true
  make -C "$d" -f makefile -j"$(nproc)" CC="$tcc" AR="$tar" RANLIB="$tranlib" \
    CFLAGS="-O2 -fPIC -DUSE_LTM -DLTM_DESC $tom_tc_flags -I$into/include" library \
    >"$deps/src/libtomcrypt-$label.log" 2>&1 || { tail -20 "$deps/src/libtomcrypt-$label.log"; exit 1; }
  cp "$d/libtomcrypt.a" "$into/lib/"
  cp "$d"/src/headers/*.h "$into/include/"
  touch "$into/lib/$tom_stamp"
}

build_tom "$prefix" "$cc" "$cross-ar" "$cross-ranlib" mingw
build_tom "$deps/native" gcc ar ranlib native

if [ ! -f "$prefix/lib/liblua.a" ]; then
  log "building Lua 5.4 for mingw"
  d=$(fetch_source lua5.4)
  obj=$deps/src/lua-obj
  rm -rf "$obj" && mkdir -p "$obj"
  for f in "$d"/src/*.c; do
    case $(basename "$f") in lua.c|luac.c) continue ;; esac
    "$cc" -O2 -std=gnu99 -DLUA_COMPAT_5_3 -c "$f" -o "$obj/$(basename "${f%.c}").o"
  done
  $cross-ar rcs "$prefix/lib/liblua.a" "$obj"/*.o
  cp "$d"/src/lua.h "$d"/src/luaconf.h "$d"/src/lualib.h "$d"/src/lauxlib.h "$prefix/include/"
  cp "$d"/src/lua.hpp "$prefix/include/" 2>/dev/null || true
fi

# Google Benchmark for the benchmarks that run under Wine (the board's
# frames through the device framework).
if [ ! -f "$prefix/lib/libbenchmark.a" ]; then
  log "building Google Benchmark for mingw"
  d=$(fetch_source benchmark)
  b=$deps/src/benchmark-mingw
  { cmake -S "$d" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBENCHMARK_ENABLE_TESTING=OFF \
      -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF \
      -DBENCHMARK_INSTALL_DOCS=OFF -DBUILD_SHARED_LIBS=OFF \
      -DGIT_VERSION="$(basename "$d" | sed "s/^benchmark-//")" &&
    cmake --build "$b" -j"$(nproc)" && cmake --install "$b"; } >"$deps/src/benchmark-mingw.log" 2>&1 ||
    { tail -20 "$deps/src/benchmark-mingw.log"; exit 1; }
fi

# --- npm data packages (offensive-word lists for the junior lexicon flags) --
if [ ! -d "$deps/npm/node_modules/naughty-words" ]; then
  log "installing naughty-words from npm"
  mkdir -p "$deps/npm"
  npm install --no-audit --no-fund --silent --prefix "$deps/npm" naughty-words >/dev/null
fi

log "ready"
