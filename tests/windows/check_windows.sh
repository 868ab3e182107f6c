#!/usr/bin/env bash
# One check of the Windows programs and the portable zip, run by CTest
# (tests/windows/CMakeLists.txt passes the settings in the environment):
#   check_windows.sh imports|resources|zip|portable|gui
# gui drives pismolot.exe from the zip on the X screen in DISPLAY (with a
# window manager) as a user would.
# Exits 0 when the check passes, 77 when a tool it needs is missing, 1 otherwise.
set -euo pipefail

step=$1
build=$PISMOLOT_BUILD
objdump=$PISMOLOT_OBJDUMP
wine=$PISMOLOT_WINE
zip=$PISMOLOT_ZIP
folder=$PISMOLOT_ZIP_FOLDER
programs=(pismolot pismolot-render)

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
skip() {
    echo "SKIPPED: $*"
    exit 77
}
finish() {
    if ((failures)); then
        echo "$failures problem(s) found in $step" >&2
        exit 1
    fi
    echo "$step: passed"
}

# The DLLs that every Windows 10 and 11 has, which the programs may import.
system_dlls='^(advapi32|comdlg32|d3d9|d3d11|dwmapi|dxgi|gdi32|imm32|kernel32|msvcrt|netapi32|ole32|oleaut32|setupapi|shell32|shlwapi|user32|userenv|uxtheme|version|winmm|ws2_32|wtsapi32|authz|mpr|shcore|dwrite|d2d1|cfgmgr32|api-ms-win-[a-z0-9-]+)\.dll$'

# The version resource's strings are UTF-16 in the file (ASCII ones here).
holds_utf16() { # holds_utf16 FILE TEXT
    [[ $(strings -el "$1") == *"$2"* ]]
}

case $step in
imports)
    for p in "${programs[@]}"; do
        exe=$build/$p.exe
        dlls=$("$objdump" -p "$exe" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
        [[ -n $dlls ]] || fail "$p.exe: no import table read"
        while read -r dll; do
            [[ -z $dll || $dll =~ $system_dlls ]] || fail "$p.exe imports $dll, which Windows does not have"
        done <<<"$dlls"
    done
    # A window program opens no console; the renderer is a console program.
    [[ $("$objdump" -p "$build/pismolot.exe") == *$'\nSubsystem\t\t00000002\t(Windows GUI)'* ]] ||
        fail "pismolot.exe is not a GUI program"
    [[ $("$objdump" -p "$build/pismolot-render.exe") == *$'\nSubsystem\t\t00000003\t(Windows CUI)'* ]] ||
        fail "pismolot-render.exe is not a console program"
    ;;
resources)
    for p in "${programs[@]}"; do
        exe=$build/$p.exe
        [[ $("$objdump" -h "$exe") == *' .rsrc '* ]] || fail "$p.exe has no resources"
        for text in ProductName Pismolot "$PISMOLOT_VERSION" "$p.exe" "kolorowe napisy" "licencja MIT"; do
            holds_utf16 "$exe" "$text" || fail "$p.exe: the version resource lacks \"$text\""
        done
        grep -qa '<dpiAwareness[^>]*>PerMonitorV2<' "$exe" ||
            fail "$p.exe: the manifest does not make it per-monitor DPI aware"
    done
    ;;
zip)
    command -v unzip >/dev/null || skip "unzip is not installed (Debian package unzip)"
    [[ -f $zip ]] || { fail "$zip is missing (cmake --build --target pismolot_zip)"; finish; }
    expected=$(for f in pismolot.exe pismolot-render.exe LICENSE.txt README.txt docs/guide.html \
        docs/{editor,colour,about,main}{,@2x}.png; do echo "$folder/$f"; done | sort)
    listed=$(unzip -Z1 "$zip" | sort)
    [[ $listed == "$expected" ]] || fail "the zip holds other files: $(diff <(echo "$expected") <(echo "$listed") | grep '^[<>]' | tr '\n' ' ')"
    # Stripped programs, no larger than such a program needs.
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    unzip -q "$zip" -d "$work"
    for p in "${programs[@]}"; do
        [[ $("$objdump" -h "$work/$folder/$p.exe") == *.debug_* ]] && fail "$p.exe in the zip is not stripped"
    done
    grep -q 'Pismolot' "$work/$folder/README.txt" && grep -q 'zapisuje' "$work/$folder/README.txt" &&
        grep -q 'writes nothing' "$work/$folder/README.txt" || fail "README.txt is not the read-me in Polish and English"
    ;;
portable)
    # The programs run from an unpacked folder with a Polish name, and
    # leave nothing beside themselves.
    command -v unzip >/dev/null || skip "unzip is not installed (Debian package unzip)"
    [[ -n $wine ]] || skip "Wine is not installed (Debian package wine64)"
    [[ -f $zip ]] || { fail "$zip is missing"; finish; }
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    place="$work/Pendrive – żółw"
    mkdir -p "$place"
    unzip -q "$zip" -d "$place"
    before=$(cd "$place" && find . | sort)
    version=$("$wine" "$place/$folder/pismolot-render.exe" --version | tr -d '\r')
    [[ $version == "pismolot-render $PISMOLOT_VERSION" ]] || fail "pismolot-render.exe --version said: $version"
    out="$work/wynik – żółw.bmp"
    "$wine" "$place/$folder/pismolot-render.exe" -o "$out" "Zażółć gęślą jaźń" ||
        fail "pismolot-render.exe from the zip did not render"
    [[ $(head -c 2 "$out" 2>/dev/null) == BM ]] || fail "no BMP was written to a Polish file name"
    help=$("$wine" "$place/$folder/pismolot.exe" --help | tr -d '\r')
    [[ $help == *"$folder/docs/guide.html"* || $help == *"docs\\guide.html"* || $help == *"docs/guide.html"* ]] ||
        fail "pismolot.exe does not find the guide beside itself: $help"
    after=$(cd "$place" && find . | sort)
    [[ $before == "$after" ]] || fail "the programs wrote beside themselves: $(diff <(echo "$before") <(echo "$after") | grep '^>' | tr '\n' ' ')"
    ;;
gui)
    [[ -n ${DISPLAY:-} ]] || skip "no X screen (DISPLAY) to show the windows on"
    for tool in xdotool xclip convert compare unzip; do
        command -v $tool >/dev/null || skip "$tool is not installed (xdotool, xclip, imagemagick, unzip)"
    done
    [[ -n $wine ]] || skip "Wine is not installed (Debian package wine64)"
    [[ -f $zip ]] || { fail "$zip is missing"; finish; }
    work=$(mktemp -d)
    trap 'kill $program 2>/dev/null || true; rm -rf "$work"' EXIT
    unzip -q "$zip" -d "$work"
    exe="$work/$folder/pismolot.exe"
    render="$work/$folder/pismolot-render.exe"

    # window NAME: the id of the shown window with that title, waited for.
    window() {
        local id=""
        for _ in $(seq 150); do
            id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [[ -n $id ]] && break
            sleep 0.2
        done
        echo "$id"
    }
    "$wine" "$exe" >"$work/program.log" 2>&1 &
    program=$!
    editor=$(window Pismolot)
    [[ -n $editor ]] || { fail "the editor did not show"; finish; }
    xdotool windowactivate --sync "$editor" 2>/dev/null || xdotool windowfocus --sync "$editor"
    sleep 1
    # The text box has the focus: its text replaced, then "&OK".
    text="Lot nad Wine"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 30 "$text"
    xdotool key --clearmodifiers alt+o
    main=$(window 'Pismolot - \[Efekt\]')
    [[ -n $main ]] || { fail "the main window with the picture did not show"; finish; }
    sleep 3
    xdotool windowactivate --sync "$main" 2>/dev/null || true
    xdotool key --clearmodifiers ctrl+c
    sleep 1
    targets=$(xclip -selection clipboard -t TARGETS -o 2>/dev/null || true)
    [[ $targets == *image/png* && $targets == *image/bmp* ]] ||
        fail "the clipboard does not offer the picture as image/png and image/bmp: $targets"
    xclip -selection clipboard -t image/png -o >"$work/clipboard.png" 2>/dev/null || true

    # Ctrl+S, a new name typed, the create question answered yes.
    saved="$work/zapisany obraz.bmp"
    xdotool key --clearmodifiers ctrl+s
    dialog=$(window 'Zapisz jako')
    [[ -n $dialog ]] || { fail "the save dialog did not show"; finish; }
    sleep 1
    xdotool type --delay 20 "Z:${saved//\//\\}"
    xdotool key --clearmodifiers Return
    sleep 1
    xdotool key --clearmodifiers Return
    for _ in $(seq 50); do [[ -s $saved ]] && break; sleep 0.2; done
    [[ -s $saved ]] || fail "Ctrl+S did not write $saved"

    # The same settings through the renderer: the editor starts on the first
    # font of the list.
    font=$("$wine" "$render" --list-fonts | tr -d '\r' | head -n 1)
    "$wine" "$render" --font "$font" -o "$work/render.bmp" "$text" || fail "the renderer failed"
    same() { # same A B: the same size and pixels
        [[ $(compare -metric AE "$1" "$2" null: 2>&1) == 0 ]]
    }
    if [[ -s $saved ]]; then
        same "$saved" "$work/clipboard.png" || fail "the saved file and the clipboard differ"
        same "$saved" "$work/render.bmp" || fail "the window's picture and pismolot-render.exe's differ (font $font)"
    fi

    # F12 ends the program.
    xdotool windowactivate --sync "$main" 2>/dev/null || true
    xdotool key --clearmodifiers F12
    for _ in $(seq 50); do kill -0 $program 2>/dev/null || break; sleep 0.2; done
    if kill -0 $program 2>/dev/null; then
        fail "F12 did not end the program"
    fi
    ;;
*)
    echo "unknown step $step" >&2
    exit 2
    ;;
esac
finish
