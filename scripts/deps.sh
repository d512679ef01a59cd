# Sourced by run.sh and test.sh: installs the Debian packages that are missing.
qv_install_missing() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}
QV_PACKAGES=(cmake g++ make libfltk1.3-dev libgtest-dev libbenchmark-dev xvfb xauth clang)
# A caller sharing the machine may ask for fewer jobs.
QV_JOBS=${QV_JOBS:-$(nproc 2>/dev/null || echo 2)}
