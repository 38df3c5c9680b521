#!/usr/bin/env bash
# Installs, idempotently, what the build and the tests need on Debian 12.
# Runs as root; does nothing when everything is already there.
#   tools/setup.sh           what make build and make test need
#   tools/setup.sh release   that, and what make release and its tests need
#                            (NSIS, zip, a browser)
set -eu

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    apt_updated=0
fi

for p in cmake make g++ clang libclang-rt-14-dev googletest g++-mingw-w64-i686 \
         gcc-mingw-w64-i686 binutils-mingw-w64-i686 \
         g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 wine32:i386 xvfb xauth \
         locales xxd fonts-wine fonts-ipafont-gothic openssl python3; do
    have "$p" || need+=("$p")
done
if [ "${1:-}" = release ]; then
    for p in nsis zip unzip python3 chromium; do
        have "$p" || need+=("$p")
    done
fi

if [ ${#need[@]} -gt 0 ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "setup: missing packages (${need[*]}); run as root" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    # A mirror caught mid-sync fails an index for a while; the packages may
    # well be there all the same, and the install says whether they are.
    for try in 1 2 3; do
        apt-get -o DPkg::Lock::Timeout=900 update -qq ||
            echo "setup: some package lists could not be updated; installing from what is there" >&2
        apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${need[@]}" && break
        [ "$try" = 3 ] && { echo "setup: the packages could not be installed" >&2; exit 1; }
        sleep 60
    done
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
    if [ "$(id -u)" != 0 ]; then
        echo "setup: locale ja_JP.UTF-8 missing; run as root" >&2
        exit 1
    fi
    sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    sed -i 's/^# *\(en_US.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
fi

# Some kernels run no 32-bit x86 code (32-bit Wine then fails with "Exec
# format error"; emulating it with qemu's user mode was far too slow). There
# the Windows tests run on the x86-64 build under 64-bit Wine instead.
if [ "$("$(dirname "$0")"/windows-build preset)" = win64 ]; then
    echo "setup: this kernel runs no 32-bit programs; the Windows tests run on the x86-64 build" >&2
fi
