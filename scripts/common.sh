# Shared by ./run and ./test: the system packages Pemvora needs and the build.
# Sourced, not run.

PEMVORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PEMVORA_BUILD="${PEMVORA_BUILD:-$PEMVORA_ROOT/build}"

PEMVORA_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libsqlcipher-dev sqlcipher sqlite3
  libjpeg62-turbo-dev libfontconfig-dev libwmf-dev
  nlohmann-json3-dev libcli11-dev libfmt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk fonts-wqy-zenhei fonts-liberation2
  qt6-translations-l10n
  xvfb xauth poppler-utils python3
)

log() { printf '\033[1m==>\033[0m %s\n' "$*"; }

# Installs the packages that are not installed yet.
install_packages() {
  local missing=()
  for p in "${PEMVORA_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  log "Installing ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# Configures (once) and builds everything in Release.
build_all() {
  if [ ! -f "$PEMVORA_BUILD/build.ninja" ]; then
    log "Configuring in $PEMVORA_BUILD"
    cmake -S "$PEMVORA_ROOT" -B "$PEMVORA_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release
  fi
  log "Building"
  # Test discovery runs the test programs during the build; they need no screen.
  QT_QPA_PLATFORM=offscreen cmake --build "$PEMVORA_BUILD"
}
