# Sourced by the benchmark scripts: installs the Debian packages a
# measurement needs when they are missing (with sudo when not root).
#
#   ensure_packages PACKAGE...
ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo
    sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
    echo "Installing ${missing[*]}"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}
