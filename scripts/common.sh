# Shared by the build scripts: section headers and configuring a build folder.
# Expects ROOT to be set to the repository's root.

# cache_value DIR VAR: prints VAR's value from DIR/CMakeCache.txt, if any.
cache_value() {
  [[ -f "$1/CMakeCache.txt" ]] || return 0
  sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt" | head -n 1
}

# configure DIR CMAKE_ARGS...: configures DIR with Ninja. A build folder that was
# made by hand with another generator keeps its generator; one that belongs to a
# different checkout (the repository was moved or copied) starts afresh.
configure() {
  local dir="$1"
  shift
  local home generator_args=(-G Ninja)
  home=$(cache_value "$dir" CMAKE_HOME_DIRECTORY)
  if [[ -n "$home" && "$home" != "$ROOT" ]]; then
    echo "$dir/ was configured for $home; starting it afresh."
    rm -rf "${dir:?}/CMakeCache.txt" "${dir:?}/CMakeFiles"
  fi
  local generator
  generator=$(cache_value "$dir" CMAKE_GENERATOR)
  if [[ -n "$generator" && "$generator" != "Ninja" ]]; then
    echo "$dir/ already uses the '$generator' generator; keeping it."
    generator_args=()
  fi
  cmake -S "$ROOT" -B "$dir" "${generator_args[@]}" "$@"
}
