# Shared by the scripts: where things are, and the compiler cache set up so that a clone in
# another folder (as CI makes) still hits the cache.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export CCACHE_BASEDIR="$ROOT"
export CCACHE_NOHASHDIR=1
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
JOBS="${JOBS:-$(nproc)}"
