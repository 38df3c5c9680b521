#!/usr/bin/env bash
# Installs, idempotently, what the build and the tests need on Debian 12.
# Runs as root; does nothing when everything is already there.
#   tools/setup.sh           what make build and make test need
#   tools/setup.sh release   that, and what make release and its tests need
#                            (NSIS, zip, a browser, a Japanese font)
set -eu

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    apt_updated=0
fi

for p in cmake make g++ clang libclang-rt-14-dev googletest g++-mingw-w64-i686 \
         gcc-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 xvfb xauth \
         locales xxd; do
    have "$p" || need+=("$p")
done
if [ "${1:-}" = release ]; then
    for p in nsis zip unzip python3 chromium fonts-ipafont-gothic; do
        have "$p" || need+=("$p")
    done
fi

if [ ${#need[@]} -gt 0 ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "setup: missing packages (${need[*]}); run as root" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=900 update -qq
    apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${need[@]}"
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

# Some kernels run no 32-bit x86 code of their own (Wine then fails with
# "Exec format error"); there 32-bit programs run through qemu's user-mode
# emulator, registered for i386 ELF files, and wine64 brings a native
# 64-bit wineserver, which serves 32-bit prefixes as well and saves the
# emulation of every server call.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    if [ "$(id -u)" != 0 ]; then
        echo "setup: this kernel runs no 32-bit programs; run as root to set up qemu" >&2
        exit 1
    fi
    if ! have qemu-user-static || ! have wine64; then
        export DEBIAN_FRONTEND=noninteractive
        apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends qemu-user-static wine64
    fi
    binfmt=/proc/sys/fs/binfmt_misc
    [ -e $binfmt/register ] || mount -t binfmt_misc binfmt_misc $binfmt
    [ -e $binfmt/qemu-i386 ] || printf '%s\n' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' > $binfmt/register
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "setup: 32-bit programs still do not run" >&2; exit 1; }
fi
