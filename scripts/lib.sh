# Shared by the scripts: package installation and the configure-and-build step.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc)"

# The Debian packages every build needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config zlib1g-dev libpng-dev libjpeg62-turbo-dev
  libfreetype-dev libfontconfig-dev libsndfile1-dev libgtest-dev libbenchmark-dev fonts-liberation)

# Installs the named packages that are missing; apt-get runs only when something is.
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build DIR [cmake args...]
configure_and_build() {
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja -DWARNINGS_AS_ERRORS=ON "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}
