# Sourced: a private apt state under $1 for architecture $2, whose fetched packages are only
# unpacked (dpkg -x), never installed: the machine's packages and dpkg state stay as they are.
# Starts from the machine's own sources; sets apt_opts.
private_apt() {
    local dir=$1 arch=$2
    rm -rf "$dir"
    mkdir -p "$dir"/state/lists/partial "$dir"/cache/archives/partial \
             "$dir"/etc/sources.list.d "$dir"/etc/preferences.d "$dir"/etc/apt.conf.d
    touch "$dir/state/status"  # nothing counts as installed: apt fetches the whole closure
    cp /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list "$dir/etc/sources.list.d/" 2>/dev/null || true
    [ ! -f /etc/apt/sources.list ] || cp /etc/apt/sources.list "$dir/etc/"
    apt_opts=(-q -o Dir::Etc="$dir/etc" -o Dir::Etc::Trusted=/etc/apt/trusted.gpg
              -o Dir::Etc::TrustedParts=/etc/apt/trusted.gpg.d -o Dir::State="$dir/state"
              -o Dir::State::status="$dir/state/status" -o Dir::Cache="$dir/cache"
              -o APT::Architecture="$arch" -o APT::Architectures::="$arch"
              -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
}

# Reads the indexes, trying again while a mirror is part way through a sync (an index of the
# wrong size). What still fails after that is left to the fetch: an index missing for one
# suite need not hold the packages wanted.
private_apt_update() {
    local try
    for try in 1 2 3 4; do
        apt-get "${apt_opts[@]}" update >/dev/null && return 0
        [ $try -lt 4 ] && sleep 30
    done
    echo "apt: some indexes could not be read; fetching with those that could" >&2
}
