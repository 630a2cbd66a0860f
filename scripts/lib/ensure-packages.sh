# ensure_packages PACKAGE...: installs the Debian packages not yet installed, and does nothing
# (quickly) when they all are. Packages named NAME:i386 bring in Debian's i386 architecture.
ensure_packages() {
    local package status missing=() sudo=()
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || missing+=("$package")
    done
    [[ ${#missing[@]} -eq 0 ]] && return 0

    echo "Installing: ${missing[*]}"
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    for package in "${missing[@]}"; do
        if [[ "$package" == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
            "${sudo[@]}" dpkg --add-architecture i386
            break
        fi
    done
    # Another install running at the same moment holds dpkg's lock: wait for it rather than fail.
    local wait=(-o DPkg::Lock::Timeout=600)
    # A mirror caught mid-sync can fail one list (seen for i386): the install below still has the
    # others, and fails by itself if it needs the missing one.
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${wait[@]}" update -qq ||
        echo "ensure-packages: some package lists could not be updated; going on with the rest" >&2
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${wait[@]}" install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# ensure_build_depends SOURCE_TREE: installs the Build-Depends of the Debian source package in
# SOURCE_TREE (its debian/control), and does nothing when they are all satisfied.
ensure_build_depends() {
    local sudo=()
    (cd "$1" && dpkg-checkbuilddeps 2>/dev/null) && return 0
    echo "Installing the Build-Depends of $1/debian/control"
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq ||
        echo "ensure-packages: some package lists could not be updated; going on with the rest" >&2
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 build-dep -y -qq \
        "$(cd "$1" && pwd)" >/dev/null
}
