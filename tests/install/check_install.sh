#!/usr/bin/env bash
# One check of the installed tree, run by CTest (tests/install/CMakeLists.txt
# passes the settings in the environment):
#   check_install.sh install|tree|desktop_entry|metainfo|manual_pages|completion|
#                    prefixes|deb_package|deb_lintian|deb_reproducible
# Exits 0 when the check passes, 77 when a tool it needs is missing, 1 otherwise.
set -euo pipefail

step=$1
build=$PISMOLOT_BUILD
root=$PISMOLOT_ROOT
tree=$root$PISMOLOT_PREFIX
id=$PISMOLOT_APP_ID
version=$PISMOLOT_VERSION
read -r -a icon_sizes <<<"$PISMOLOT_ICON_SIZES"

source "$(dirname "${BASH_SOURCE[0]}")/../support/checkstep.sh"
need() { # need TOOL PACKAGE
    command -v "$1" >/dev/null || skip "$1 is not installed (Debian package $2)"
}

# Every file the install must lay down, relative to the prefix; nothing else.
expected_files() {
    printf '%s\n' \
        bin/pismolot \
        bin/pismolot-render \
        "share/applications/$id.desktop" \
        "share/metainfo/$id.metainfo.xml" \
        "share/icons/hicolor/scalable/apps/$id.svg" \
        share/man/man1/pismolot.1.gz \
        share/man/man1/pismolot-render.1.gz \
        share/bash-completion/completions/pismolot-render \
        share/doc/pismolot/README.md \
        share/doc/pismolot/copyright \
        share/doc/pismolot/docs/guide.html \
        share/doc/pismolot/docs/vector-4x.png
    for window in editor colour about main; do
        echo "share/doc/pismolot/docs/$window.png"
        echo "share/doc/pismolot/docs/$window@2x.png"
        echo "share/doc/pismolot/docs/windows/$window.png"
        echo "share/doc/pismolot/docs/windows/$window@1.5x.png"
    done
    for size in "${icon_sizes[@]}"; do
        echo "share/icons/hicolor/${size}x${size}/apps/$id.png"
    done
}

# The guide that the program installed in tree $1 (its prefix) says it opens.
check_guide_found() {
    local tree=$1 shown
    shown=$("$tree/bin/pismolot" --help) || fail "$tree/bin/pismolot --help failed"
    [[ $shown == *"The user guide: $tree/share/doc/pismolot/docs/guide.html"* ]] ||
        fail "$tree/bin/pismolot finds another guide: $(grep 'user guide' <<<"$shown")"
}

# Makes the Debian package in $deb_dir (once; the package steps share it).
deb_dir=$root.deb
deb=$deb_dir/pismolot_${version}_$(dpkg --print-architecture 2>/dev/null || echo none).deb
# Who the test names as the package's maintainer: a test package only, never
# shipped, so an address in the domain reserved for invalid ones.
test_maintainer="Pismolot install test <install-test@pismolot.invalid>"
make_deb() { # make_deb OUTPUT-DIR
    DEBFULLNAME= DEBEMAIL="$test_maintainer" NAME= EMAIL= SOURCE_DATE_EPOCH=1796644800 \
        "$CPACK_COMMAND" --config "$build/CPackConfig.cmake" -G DEB -B "$1" >"$1.log" 2>&1 || {
        cat "$1.log" >&2
        return 1
    }
}
need_deb() {
    [[ -f $deb ]] || skip "no package: install_deb_package did not make $deb"
}

# Width and height of a PNG file, from its IHDR chunk.
png_size() {
    local bytes
    bytes=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
    echo "$((16#${bytes:0:8}))x$((16#${bytes:8:8}))"
}

case $step in
install)
    rm -rf "$root"
    if ! log=$(DESTDIR="$root" "$CMAKE_COMMAND" --install "$build" --prefix "$PISMOLOT_PREFIX" 2>&1); then
        echo "$log" >&2
        fail "cmake --install into DESTDIR=$root"
    fi
    ;;

tree)
    diff -u <(expected_files | sort) <(cd "$tree" && find . -type f -o -type l | sed 's|^\./||' | sort) ||
        fail "the installed files differ from the expected list (- expected, + installed)"
    for program in pismolot pismolot-render; do
        [[ -x $tree/bin/$program ]] || fail "bin/$program is not executable"
    done
    for size in "${icon_sizes[@]}"; do
        png="$tree/share/icons/hicolor/${size}x${size}/apps/$id.png"
        [[ -f $png ]] && [[ $(png_size "$png") == "${size}x${size}" ]] ||
            fail "$png is not a ${size}x${size} picture"
    done
    grep -q 'viewBox="0 0 32 32"' "$tree/share/icons/hicolor/scalable/apps/$id.svg" ||
        fail "the SVG icon has no 32 x 32 view box"

    # One id everywhere, and one version.
    desktop="$tree/share/applications/$id.desktop"
    metainfo="$tree/share/metainfo/$id.metainfo.xml"
    grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
    grep -qx "Exec=pismolot" "$desktop" || fail "the desktop entry does not start pismolot"
    grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $id.desktop"
    newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
    [[ $newest == "$version" ]] || fail "the metainfo's newest release is $newest, the project's $version"
    grep -qx "StartupWMClass=$PISMOLOT_WM_CLASS" "$desktop" ||
        fail "the desktop entry does not name the window class $PISMOLOT_WM_CLASS"
    for page in pismolot pismolot-render; do
        gzip -t "$tree/share/man/man1/$page.1.gz" || fail "$page.1.gz is not gzip"
        zcat "$tree/share/man/man1/$page.1.gz" | grep -q "^\.TH .*\"Pismolot $version\"" ||
            fail "the manual page $page.1 does not name version $version"
    done
    shown=$("$tree/bin/pismolot-render" --version 2>&1) || fail "pismolot-render --version failed: $shown"
    [[ $shown == *" $version" ]] || fail "pismolot-render --version printed: $shown"

    # The documents' pictures and links point at installed files.
    links() { # the local targets of Markdown links and HTML src and href
        { grep -o '](\([^)#:]*\))' "$1" || true; } | sed 's/^](\(.*\))$/\1/'
        { grep -o '\(src\|href\)="[^"#:]*"' "$1" || true; } | sed 's/^[a-z]*="\(.*\)"$/\1/'
    }
    for doc in share/doc/pismolot/README.md share/doc/pismolot/docs/guide.html; do
        count=0
        while IFS= read -r target; do
            count=$((count + 1))
            [[ -e $tree/$(dirname "$doc")/$target ]] || fail "$doc links to $target, which is not installed"
        done < <(links "$tree/$doc")
        ((count > 4)) || fail "$doc has only $count links to installed files"
    done
    grep -q 'src="main.png"' "$tree/share/doc/pismolot/docs/guide.html" ||
        fail "the guide's page shows no picture"
    grep -qx "License: Expat" "$tree/share/doc/pismolot/copyright" || fail "copyright names no licence"
    grep -q "Permission is hereby granted" "$tree/share/doc/pismolot/copyright" ||
        fail "copyright does not hold the licence's text"
    ;;

desktop_entry)
    need desktop-file-validate desktop-file-utils
    desktop="$tree/share/applications/$id.desktop"
    if ! out=$(desktop-file-validate "$desktop" 2>&1) || [[ -n $out ]]; then
        echo "$out" >&2
        fail "desktop-file-validate $desktop"
    fi
    ;;

metainfo)
    need appstreamcli appstream
    metainfo="$tree/share/metainfo/$id.metainfo.xml"
    out=$(appstreamcli validate --no-net --pedantic --no-color "$metainfo" 2>&1) || fail "appstreamcli validate"
    echo "$out"
    # The whole tree: the metainfo together with its desktop entry and icon.
    out=$(appstreamcli validate-tree --no-net --no-color "$root$PISMOLOT_PREFIX" 2>&1) ||
        fail "appstreamcli validate-tree"
    echo "$out"
    ;;

manual_pages)
    need man man-db
    need groff groff-base
    for page in pismolot pismolot-render; do
        file="$tree/share/man/man1/$page.1.gz"
        if ! text=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>"$root/man.err"); then
            fail "man -l $file"
        fi
        if [[ -s $root/man.err ]]; then
            cat "$root/man.err" >&2
            fail "man -l $file gave warnings"
        fi
        grep -q '^NAME' <<<"$text" || fail "man -l $file shows no NAME section"
        grep -q "^ *$page - " <<<"$text" || fail "man -l $file does not name $page"
    done
    ;;

completion)
    loader=/usr/share/bash-completion/bash_completion
    [[ -f $loader ]] || skip "$loader is not installed (Debian package bash-completion)"
    program="$tree/bin/pismolot-render"
    # bash-completion finds the script by the command's name under
    # XDG_DATA_DIRS, as it does for an installed program.
    results=$(XDG_DATA_DIRS="$tree/share" BASH_COMPLETION_USER_DIR=/nonexistent \
        bash --norc --noprofile -c '
        source "$1"
        program=$2
        __load_completion pismolot-render || { echo "no completion found"; exit 1; }
        completion=$(complete -p pismolot-render)
        echo "completion: $completion"
        function=${completion#*-F }
        function=${function%% *}
        # complete WORD...: the last word is the one being completed.
        complete_words() {
            COMP_WORDS=("$program" "$@")
            COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
            COMP_LINE="${COMP_WORDS[*]}"
            COMP_POINT=${#COMP_LINE}
            COMPREPLY=()
            "$function" "$program" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
            printf "%s\n" "${COMPREPLY[@]}" | sort
        }
        echo "== all"; complete_words --style ""
        echo "== Ró"; complete_words --style "Ró"
        echo "== escaped"; complete_words --style "Losowe\\ k"
        echo "== quoted"; complete_words --style "\"Losowe k"
        echo "== joined"; complete_words --style=Lo
        echo "== option"; complete_words --sty
        echo "== font"; complete_words --font "DejaVu Sans M"
        ' bash "$loader" "$program" 2>&1) || {
        echo "$results" >&2
        fail "the completion did not load"
        finish
    }
    section() { sed -n "/^== $1\$/,/^==/p" <<<"$results" | sed '1d;/^==/d'; }
    grep -q '^completion: complete -F [_a-z]* pismolot-render$' <<<"$results" ||
        fail "complete -p shows no function for pismolot-render: $(head -n 1 <<<"$results")"

    names=$("$program" --list-styles | cut -f2-)
    [[ $(wc -l <<<"$names") -eq 13 ]] || fail "pismolot-render --list-styles does not list 13 styles"
    expected=$(while IFS= read -r name; do printf '%q\n' "$name"; done <<<"$names" | sort)
    [[ $(section all) == "$expected" ]] ||
        fail "--style completes to"$'\n'"$(section all)"$'\n'"instead of"$'\n'"$expected"
    [[ $(section Ró) == $'Różowo\\ błękitny\nRóżowo\\ granatowy' ]] ||
        fail "--style Ró completes to: $(section Ró)"
    for form in escaped joined; do
        [[ $(section $form) == 'Losowe\ kreski' ]] || fail "--style ($form) completes to: $(section $form)"
    done
    # After an opening quote readline keeps the quote: the name goes in unescaped.
    [[ $(section quoted) == 'Losowe kreski' ]] || fail "--style (quoted) completes to: $(section quoted)"
    [[ $(section option) == "--style" ]] || fail "--sty completes to: $(section option)"
    if fc-list 2>/dev/null | grep -q 'DejaVu Sans Mono'; then
        [[ $(section font) == 'DejaVu\ Sans\ Mono' ]] || fail "--font completes to: $(section font)"
    fi
    ;;

prefixes)
    # Installed anywhere, the program finds its own guide: the DESTDIR tree,
    # two prefixes of their own, and (deb_package) the package's files.
    check_guide_found "$tree"
    for prefix in "$root.prefix/usr/local" "$root.prefix/home/ada/.local"; do
        rm -rf "$prefix"
        log=$("$CMAKE_COMMAND" --install "$build" --prefix "$prefix" 2>&1) || {
            echo "$log" >&2
            fail "cmake --install --prefix $prefix"
            continue
        }
        check_guide_found "$prefix"
    done
    rm -rf "$root.prefix"
    ;;

deb_package)
    need dpkg-deb dpkg
    need dpkg-shlibdeps dpkg-dev
    rm -rf "$deb_dir"
    mkdir -p "$deb_dir"
    make_deb "$deb_dir" || {
        fail "cpack -G DEB"
        finish
    }
    [[ -f $deb ]] || {
        ls "$deb_dir" >&2
        fail "no $(basename "$deb")"
        finish
    }
    dpkg-deb -f "$deb"
    [[ $(dpkg-deb -f "$deb" Maintainer) == "$test_maintainer" ]] ||
        fail "the maintainer is not the one who made the package: $(dpkg-deb -f "$deb" Maintainer)"
    ! dpkg-deb -f "$deb" | grep -qi "example\.\(com\|org\|net\)" ||
        fail "the package's fields hold a placeholder address"
    # Run from where the package puts it.
    dpkg-deb -x "$deb" "$deb_dir/root"
    check_guide_found "$deb_dir/root/usr"
    changelog=$(zcat "$deb_dir/root/usr/share/doc/pismolot/changelog.gz") || fail "no changelog.gz"
    [[ $(head -n 1 <<<"$changelog") == "pismolot ($version) "* ]] ||
        fail "the changelog's newest entry is not version $version"
    grep -q "^ -- $test_maintainer  " <<<"$changelog" || fail "the changelog is not signed by the maintainer"
    depends=$(dpkg-deb -f "$deb" Depends)
    for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6; do
        grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
    done
    [[ $(dpkg-deb -f "$deb" Section) == graphics ]] || fail "the package's section is not graphics"
    grep -q "qt6-translations-l10n" <<<"$(dpkg-deb -f "$deb" Recommends)" ||
        fail "the package does not recommend Qt's translations"
    grep -qi "MIT" <<<"$(dpkg-deb -f "$deb" Description)" || fail "the description names no licence"
    # The package holds the same files as the install.
    diff -u <({ expected_files; printf '%s\n' share/doc/pismolot/changelog.gz share/lintian/overrides/pismolot; } | sed "s|^|.$PISMOLOT_PREFIX/|" | sort) \
        <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort) ||
        fail "the package's files differ from the installed ones and the changelog (- expected, + packaged)"
    ;;

deb_lintian)
    need lintian lintian
    need_deb
    # Every tag down to the pedantic ones is shown; an error or a warning fails.
    report=$(lintian --pedantic -I --no-tag-display-limit "$deb" 2>&1) || true
    echo "$report"
    ! grep -q '^[EW]: ' <<<"$report" || fail "lintian reports errors or warnings"
    ! grep -q '^[A-Z]: .*hardening-' <<<"$report" || fail "lintian finds the binaries not hardened"
    ;;

deb_reproducible)
    need_deb
    # The same build packed again after its files' dates changed (cpack
    # stages them anew from these) gives the same bytes.
    sleep 1
    touch "$build/src/pismolot" "$build/cli/pismolot-render"
    find "$build/data" "$build/share" "$build/tools/hicolor" -type f -exec touch {} +
    again=$deb_dir/again
    mkdir -p "$again"
    make_deb "$again" || {
        fail "cpack -G DEB, the second time"
        finish
    }
    cmp "$deb" "$again/$(basename "$deb")" || {
        diff <(dpkg-deb -c "$deb") <(dpkg-deb -c "$again/$(basename "$deb")") >&2
        fail "packing the same build twice gave different packages"
    }
    ;;

*)
    echo "unknown step: $step" >&2
    exit 2
    ;;
esac
finish
