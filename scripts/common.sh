# Shared by start.sh and test.sh (sourced, not run). Sets REPO_ROOT, cds
# there, and defines how a build tree is configured and built.

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$REPO_ROOT"

# Both cores at most: the machines are small and shared.
JOBS=${JOBS:-2}

# configure_build DIR [CMAKE ARGS...]: configure DIR with Ninja; the default
# tree is RelWithDebInfo with tests on, the arguments override that.
configure_build() {
    local dir=$1
    shift
    cmake -S "$REPO_ROOT" -B "$REPO_ROOT/$dir" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON "$@" </dev/null
}

# build DIR [TARGET...]: build the whole tree, or only the given targets.
build() {
    local dir=$1
    shift
    local targets=()
    local t
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$REPO_ROOT/$dir" -j "$JOBS" "${targets[@]}" </dev/null
}
