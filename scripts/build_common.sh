# Sourced by the scripts that build: sets `here` to the source tree and
# defines configure_and_build.

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# configure_and_build DIR [CMAKE_ARG...] [-- TARGET...]
# Configures the tree into DIR with Ninja (through ccache where the machine has
# it, which makes a second build of a folder cheap) and the given cache
# arguments, then builds the targets named after --, or all, on every core.
configure_and_build() {
  local dir=$1; shift
  local args=() targets=() launcher=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do args+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  targets=("$@")
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$here" -B "$dir" -G Ninja "${launcher[@]}" "${args[@]}" >/dev/null
  if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"
  else
    cmake --build "$dir" -j "$(nproc)"
  fi
}
