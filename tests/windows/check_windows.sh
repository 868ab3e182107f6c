#!/usr/bin/env bash
# One check of the Windows programs and the portable zip, run by CTest
# (tests/windows/CMakeLists.txt passes the settings in the environment):
#   check_windows.sh imports|resources|zip|portable|gui|savedialog|colours|hidpi|fulldisk|setup|signing|replace|devices
# gui, savedialog, colours and hidpi drive pismolot.exe from the zip on the X
# screen in DISPLAY (with a window manager) as a user would; colours and
# hidpi change Wine's registry for their run and put it back.
# Exits 0 when the check passes, 77 when a tool it needs is missing, 1 otherwise.
set -euo pipefail

step=$1
build=$PISMOLOT_BUILD
objdump=$PISMOLOT_OBJDUMP
wine=$PISMOLOT_WINE
zip=$PISMOLOT_ZIP
folder=$PISMOLOT_ZIP_FOLDER
programs=(pismolot pismolot-render)

source "$(dirname "${BASH_SOURCE[0]}")/../support/checkstep.sh"

# The DLLs that every Windows 10 and 11 has, which the programs may import.
system_dlls='^(advapi32|comdlg32|d3d9|d3d11|dwmapi|dxgi|gdi32|imm32|kernel32|msvcrt|netapi32|ole32|oleaut32|setupapi|shell32|shlwapi|user32|userenv|uxtheme|version|winmm|ws2_32|wtsapi32|authz|mpr|shcore|dwrite|d2d1|cfgmgr32|api-ms-win-[a-z0-9-]+)\.dll$'

# The version resource's strings are UTF-16 in the file (ASCII ones here).
holds_utf16() { # holds_utf16 FILE TEXT
    [[ $(strings -el "$1") == *"$2"* ]]
}

# ---- Driving pismolot.exe on the X screen ----------------------------------
needs_screen() {
    [[ -n ${DISPLAY:-} ]] || skip "no X screen (DISPLAY) to show the windows on"
    for tool in xdotool xclip convert compare unzip; do
        command -v $tool >/dev/null || skip "$tool is not installed (xdotool, xclip, imagemagick, unzip)"
    done
    [[ -n $wine ]] || skip "Wine is not installed (Debian package wine64)"
    [[ -f $zip ]] || { fail "$zip is missing"; finish; }
    work=$(mktemp -d)
    program=""
    trap 'at_exit' EXIT
    unzip -q "$zip" -d "$work"
    exe="$work/$folder/pismolot.exe"
    render="$work/$folder/pismolot-render.exe"
}
# Run when the check ends, however it ends.
restore=()
at_exit() {
    [[ -n ${program:-} ]] && kill "$program" 2>/dev/null
    local command
    for command in "${restore[@]}"; do eval "$command" || true; done
    rm -rf "$work"
}
# window NAME: the id of the shown window with that title, waited for.
window() {
    local id=""
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [[ -n $id ]] && break
        sleep 0.2
    done
    echo "$id"
}
# windows NAME: how many windows with that title are shown now.
windows() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l
}
# windows_become NAME COUNT: waits until COUNT windows with that title show.
windows_become() {
    for _ in $(seq 50); do
        (($(windows "$1") == $2)) && return 0
        sleep 0.2
    done
    return 1
}
# start_program: pismolot.exe from the zip, a text typed into the editor and
# "&OK"; main is the id of the main window with the picture, empty on failure.
typed="Lot nad Wine"
start_program() {
    "$wine" "$exe" >"$work/program.log" 2>&1 &
    program=$!
    main=""
    local editor
    editor=$(window Pismolot)
    [[ -n $editor ]] || { fail "the editor did not show"; return; }
    xdotool windowactivate --sync "$editor" 2>/dev/null || xdotool windowfocus --sync "$editor"
    sleep 1
    # The text box has the focus: its text replaced, then "&OK".
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 30 "$typed"
    xdotool key --clearmodifiers alt+o
    main=$(window 'Pismolot - \[Efekt\]')
    [[ -n $main ]] || { fail "the main window with the picture did not show"; return; }
    sleep 3
    xdotool windowactivate --sync "$main" 2>/dev/null || true
}
# end_program: F12, and the program gone.
end_program() {
    xdotool windowactivate --sync "$main" 2>/dev/null || true
    xdotool key --clearmodifiers F12
    for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
    if kill -0 "$program" 2>/dev/null; then
        fail "F12 did not end the program"
    fi
    program=""
}
# copy_picture FILE: Ctrl+C in the main window, and the picture read back
# from the X side of the clipboard as PNG into FILE.
copy_picture() {
    xdotool key --clearmodifiers ctrl+c
    for _ in $(seq 50); do
        [[ $(xclip -selection clipboard -t TARGETS -o 2>/dev/null) == *image/png* ]] && break
        sleep 0.2
    done
    xclip -selection clipboard -t image/png -o >"$1" 2>/dev/null || true
}
# same A B: the same size and pixels.
same() {
    [[ $(compare -metric AE "$1" "$2" null: 2>&1) == 0 ]]
}
# commonest FILE: the colour most pixels have, as "R,G,B".
commonest() {
    convert "$1" -alpha off -depth 8 -format %c histogram:info:- |
        sort -rn | sed -n '1s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1,\2,\3/p'
}
# Wine's registry, through its own reg.exe.
reg() {
    "$wine" reg "$@" >/dev/null 2>&1
}
# reg_value KEY NAME: the value as reg query prints it, empty when unset.
reg_value() {
    { "$wine" reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' | awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}

# reg_set_for_check KEY NAME TYPE VALUE: a registry value set for this check
# alone; the one before it (or none) is put back when the check ends.
reg_set_for_check() {
    local previous
    previous=$(reg_value "$1" "$2")
    if [[ -z $previous ]]; then
        restore+=("reg delete '$1' /v '$2' /f")
    elif [[ $3 == REG_DWORD ]]; then
        restore+=("reg add '$1' /v '$2' /t $3 /d '$((previous))' /f")
    else
        restore+=("reg add '$1' /v '$2' /t $3 /d '$previous' /f")
    fi
    reg add "$1" /v "$2" /t "$3" /d "$4" /f
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
    # The save dialog is the item dialog (a COM object). GetOpenFileName and
    # GetSaveFileName bring back the dialog of Windows XP once hooked, so
    # neither program may reach them: not imported (Qt for Windows is built
    # without its XP dialog helper) nor named for GetProcAddress.
    for p in "${programs[@]}"; do
        names=$(strings -a "$build/$p.exe"; strings -a -el "$build/$p.exe")
        [[ $names != *GetSaveFileName* && $names != *GetOpenFileName* ]] ||
            fail "$p.exe reaches the legacy file dialog (GetOpenFileName, GetSaveFileName)"
    done
    [[ $("$objdump" -t "$build/src/mainwin/libpismolot_mainwin.a" 2>/dev/null) == *__imp_CoCreateInstance* ]] ||
        fail "the save dialog does not create Windows' item dialog (no CoCreateInstance)"
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
        grep -qa "name=\"pl.trelon.pismolot\" version=\"$PISMOLOT_VERSION.0\"" "$exe" ||
            fail "$p.exe: the manifest does not carry version $PISMOLOT_VERSION.0"
    done
    # One version, the changelog's, in every name and resource that shows it.
    changelog=$(sed -n '1s/^pismolot (\([^)]*\)) .*/\1/p' "$PISMOLOT_SOURCE/data/changelog.in")
    [[ $changelog == "$PISMOLOT_VERSION" ]] || fail "the build's version $PISMOLOT_VERSION is not the changelog's $changelog"
    [[ $(basename "$zip") == "pismolot-$changelog-win64.zip" ]] || fail "the zip is named $(basename "$zip")"
    if [[ -n ${PISMOLOT_SETUP:-} ]]; then
        [[ $(basename "$PISMOLOT_SETUP") == "pismolot-$changelog-setup.exe" ]] ||
            fail "the installer is named $(basename "$PISMOLOT_SETUP")"
        holds_utf16 "$PISMOLOT_SETUP" "$changelog" || fail "the installer's version resource lacks $changelog"
    fi
    ;;
zip)
    command -v unzip >/dev/null || skip "unzip is not installed (Debian package unzip)"
    [[ -f $zip ]] || { fail "$zip is missing (cmake --build --target pismolot_zip)"; finish; }
    expected=$(for f in pismolot.exe pismolot-render.exe LICENSE.txt README.txt docs/guide.html \
        docs/{editor,colour,about,main}{,@2x}.png docs/vector-4x.png; do echo "$folder/$f"; done | sort)
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
    # The checksums scripts/windows publishes beside the zip and the installer.
    if [[ -f $build/SHA256SUMS ]]; then
        [[ $(awk '{print $2}' "$build/SHA256SUMS" | sort | tr '\n' ' ') == "pismolot-$PISMOLOT_VERSION-setup.exe pismolot-$PISMOLOT_VERSION-win64.zip " ]] ||
            fail "SHA256SUMS lists: $(awk '{print $2}' "$build/SHA256SUMS" | tr '\n' ' ')"
        (cd "$build" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the zip and the installer"
    else
        echo "SHA256SUMS not checked: scripts/windows writes it after the build"
    fi
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
    needs_screen
    start_program
    [[ -n $main ]] || finish
    text=$typed
    copy_picture "$work/clipboard.png"
    targets=$(xclip -selection clipboard -t TARGETS -o 2>/dev/null || true)
    [[ $targets == *image/png* && $targets == *image/bmp* ]] ||
        fail "the clipboard does not offer the picture as image/png and image/bmp: $targets"

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
    if [[ -s $saved ]]; then
        same "$saved" "$work/clipboard.png" || fail "the saved file and the clipboard differ"
        same "$saved" "$work/render.bmp" || fail "the window's picture and pismolot-render.exe's differ (font $font)"
    fi
    end_program
    ;;
savedialog)
    # Windows' save dialog (the item dialog; Wine's own under Wine) and its
    # two questions, driven from outside: before a new file is created and
    # before an existing one is replaced. "No" keeps the dialog open, cancel
    # writes nothing, and a name is written as typed.
    needs_screen
    start_program
    [[ -n $main ]] || finish
    title='Zapisz jako'
    # ask NAME: Ctrl+S, NAME put into the dialog's name box, Enter. xdotool
    # cannot type letters outside the keyboard's layout into Wine, so a
    # name with Polish letters is pasted, as users paste names too.
    ask() {
        xdotool windowactivate --sync "$main" 2>/dev/null || true
        xdotool key --clearmodifiers ctrl+s
        [[ -n $(window "$title") ]] || { fail "the save dialog did not show"; return 1; }
        sleep 1
        local name="Z:${1//\//\\}"
        if [[ $name == *[![:ascii:]]* ]]; then
            # xclip holds the clipboard until the paste is done; it must not
            # keep this check's output open.
            printf %s "$name" | xclip -selection clipboard -quiet >/dev/null 2>&1 &
            restore+=("kill $! 2>/dev/null")
            sleep 0.5
            xdotool key --clearmodifiers ctrl+v
        else
            xdotool type --delay 20 "$name"
        fi
        xdotool key --clearmodifiers Return
    }
    # answer KEY WINDOWS: a key pressed in the question (the dialog's title
    # too), and then WINDOWS of that title shown.
    answer() {
        xdotool key --clearmodifiers "$1"
        windows_become "$title" "$2"
    }
    # The question's window: the dialog and the question on the screen.
    asked() { windows_become "$title" 2; }
    # A name without an extension, new: BMP, the first type in the list.
    plain="$work/obraz bez rozszerzenia"
    if ask "$plain"; then
        asked || fail "a new name brought no question before the file is created"
        answer n 1 || fail "\"no\" to the create question closed the dialog"
        [[ -e $plain ]] && fail "\"no\" to the create question still wrote the file"
        xdotool key --clearmodifiers Return
        asked || fail "Enter again brought no create question"
        answer Return 0 || fail "\"yes\" to the create question left the dialog open"
        for _ in $(seq 50); do [[ -s $plain ]] && break; sleep 0.2; done
        [[ $(head -c 2 "$plain" 2>/dev/null) == BM ]] || fail "the name without an extension did not get a BMP"
        ls "$work" | grep -q '^obraz bez rozszerzenia\.' && fail "an extension was added to the name typed"
    fi
    # An existing name: the replace question; "no", then cancel, keep it;
    # then "yes" replaces it. A .bmp name gets the dialog's own question; a
    # .png one the program's, as the dialog (Wine's) asks about the name with
    # the type's extension added instead of the name typed.
    for kind in png bmp; do
        old="$work/istniejący obraz.$kind"
        echo "stary plik" >"$old"
        if ask "$old"; then
            asked || fail "an existing .$kind name brought no question before it is replaced"
            answer n 1 || fail "\"no\" to the replace question closed the dialog (.$kind)"
            answer Escape 0 || fail "Esc did not cancel the dialog (.$kind)"
            sleep 1
            [[ $(cat "$old") == "stary plik" ]] || fail "\"no\" and cancel still replaced the .$kind file"
        fi
        if ask "$old"; then
            asked || fail "an existing .$kind name brought no question the second time"
            answer Return 0 || fail "\"yes\" to the replace question left the dialog open (.$kind)"
            if [[ $kind == png ]]; then magic=$'\x89PNG' bytes=4; else magic=BM bytes=2; fi
            for _ in $(seq 50); do [[ $(head -c $bytes "$old") == "$magic" ]] && break; sleep 0.2; done
            [[ $(head -c $bytes "$old") == "$magic" ]] || fail "\"yes\" did not replace the .$kind file with its format"
        fi
    done
    # Nothing else was written: no name was changed on its way.
    written=$(cd "$work" && ls -1 | grep -v -e '^pismolot-' -e '^program\.log$' | tr '\n' '|')
    [[ $written == "istniejący obraz.bmp|istniejący obraz.png|obraz bez rozszerzenia|" ]] || fail "the folder holds: $written"
    end_program
    ;;
colours)
    # The picture's default background is the colour scheme's colour of the
    # active title's text, read from the user's scheme: black in Wine's
    # standard one, and what the registry says once it is changed.
    needs_screen
    key='HKCU\Control Panel\Colors'
    # The scheme as the prefix has it: Wine's standard one, black.
    standard=$(reg_value "$key" TitleText)
    standard=${standard:-0 0 0}
    "$wine" "$render" -o "$work/standard.bmp" "$typed" || fail "the renderer failed"
    [[ $(commonest "$work/standard.bmp") == "${standard// /,}" ]] ||
        fail "the scheme's title text is $standard, the background was $(commonest "$work/standard.bmp")"
    reg_set_for_check "$key" TitleText REG_SZ "0 128 255" || fail "the colour scheme could not be changed"
    "$wine" "$render" -o "$work/changed.bmp" "$typed" || fail "the renderer failed"
    [[ $(commonest "$work/changed.bmp") == 0,128,255 ]] ||
        fail "pismolot-render.exe's background is $(commonest "$work/changed.bmp"), not the scheme's 0,128,255"
    start_program
    [[ -n $main ]] || finish
    copy_picture "$work/clipboard.png"
    [[ $(commonest "$work/clipboard.png") == 0,128,255 ]] ||
        fail "the window's picture has the background $(commonest "$work/clipboard.png"), not the scheme's 0,128,255"
    end_program
    ;;
hidpi)
    # Windows' 150 %: 144 dots per inch, 10 twips per pixel. The picture is
    # made in device pixels, the renderer's at --dpi 144, half as large
    # again as at 100 %.
    needs_screen
    reg_set_for_check 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD 144 ||
        fail "the scaling could not be set"
    start_program
    [[ -n $main ]] || finish
    copy_picture "$work/clipboard.png"
    end_program
    font=$("$wine" "$render" --list-fonts | tr -d '\r' | head -n 1)
    screen=$(xdotool getdisplaygeometry | tr ' ' x)
    for dpi in 96 144; do
        "$wine" "$render" --font "$font" --dpi $dpi ${screen:+--screen $screen} -o "$work/$dpi.bmp" "$typed" ||
            fail "the renderer failed at $dpi dpi"
    done
    same "$work/clipboard.png" "$work/144.bmp" ||
        fail "the window's picture at 150 % is not the renderer's at 144 dpi: $(identify -format %wx%h "$work/clipboard.png" 2>&1) against $(identify -format %wx%h "$work/144.bmp")"
    read -r w96 h96 <<<"$(identify -format '%w %h' "$work/96.bmp")"
    read -r w144 h144 <<<"$(identify -format '%w %h' "$work/144.bmp")"
    # Each pixel is 10 twips, not 15: the extent half as large again, give or
    # take the glyphs' rounding.
    for pair in "$w96 $w144" "$h96 $h144"; do
        read -r a b <<<"$pair"
        ((b * 2 >= a * 3 - 6 && b * 2 <= a * 3 + 6)) || fail "$a pixels at 100 % became $b at 150 %"
    done
    ;;
fulldisk)
    # A disk that fills up mid-write: a small file system of its own, an old
    # picture on it, and a larger one written over it by the renderer and by
    # the window. Each says so, and the old picture stays whole.
    needs_screen
    disk="$work/mały dysk"
    mkdir -p "$disk"
    mount -t tmpfs -o size=16k tmpfs "$disk" 2>/dev/null || skip "no small file system can be mounted here (needs root)"
    restore+=("umount '$disk'")
    old="$disk/obraz.bmp"
    "$wine" "$render" --size 12 -o "$old" "stary" || fail "the renderer failed"
    cp "$old" "$work/before.bmp"
    status=0
    message=$("$wine" "$render" --size 300 -o "$old" "Zażółć gęślą jaźń" 2>&1) || status=$?
    message=${message//$'\r'/}
    ((status == 1)) || fail "the renderer ended with $status on a full disk, not 1"
    [[ $message == *"no space left on the device"* ]] || fail "the renderer said: $message"
    cmp -s "$old" "$work/before.bmp" || fail "the renderer's failed write changed the old picture"
    [[ $(ls -A "$disk") == obraz.bmp ]] || fail "the renderer left on the disk: $(ls -A "$disk" | tr '\n' ' ')"
    # The window: a big picture saved over the old one; the message box has
    # the program's title.
    typed="Zażółć gęślą jaźń i tak dalej"
    start_program
    [[ -n $main ]] || finish
    xdotool key --clearmodifiers ctrl+s
    if [[ -n $(window 'Zapisz jako') ]]; then
        sleep 1
        printf %s "Z:${old//\//\\}" | xclip -selection clipboard -quiet >/dev/null 2>&1 &
        restore+=("kill $! 2>/dev/null")
        sleep 0.5
        xdotool key --clearmodifiers ctrl+v Return
        windows_become 'Zapisz jako' 2 && xdotool key --clearmodifiers Return
        windows_become Pismolot 1 || fail "no message told that the disk is full"
        xdotool key --clearmodifiers Return
    else
        fail "the save dialog did not show"
    fi
    cmp -s "$old" "$work/before.bmp" || fail "the window's failed save changed the old picture"
    [[ $(ls -A "$disk") == obraz.bmp ]] || fail "the window left on the disk: $(ls -A "$disk" | tr '\n' ' ')"
    end_program
    ;;
setup)
    # The installer run silently, as an administrator would deploy it: it
    # refuses a folder of the user's, installs, installs over an older
    # version, and the uninstaller removes only its own files, and refuses
    # while a program runs or holds one of them.
    [[ -n $wine ]] || skip "Wine is not installed (Debian package wine64)"
    [[ -n ${PISMOLOT_SETUP:-} ]] || skip "NSIS is not installed (Debian package nsis)"
    [[ -f $PISMOLOT_SETUP ]] || { fail "the installer is missing (cmake --build --target pismolot_setup)"; finish; }
    variable() { "$wine" cmd /c "echo %$1%" 2>/dev/null | tr -d '\r'; }
    unix() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
    windows_path() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
    folder_win="$(variable LOCALAPPDATA)\Programs\Pismolot"
    place=$(unix "$folder_win")
    menu=$(unix "$(variable APPDATA)\Microsoft\Windows\Start Menu\Programs\Pismolot.lnk")
    desktop=$(unix "$(variable USERPROFILE)\Desktop\Pismolot.lnk")
    key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pismolot'
    [[ -n $place && -n $menu ]] || { fail "Wine did not name the user's folders"; finish; }
    work=$(mktemp -d)
    holder=""
    trap '[[ -n $holder ]] && kill $holder 2>/dev/null; rm -rf "$work"' EXIT
    # What a folder holds, byte for byte.
    contents() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0r sha256sum); }

    grep -qa '<dpiAware[^>]*>true</dpiAware>' "$PISMOLOT_SETUP" ||
        fail "the installer's manifest does not declare it DPI aware"

    # A folder that holds the user's files is refused, and nothing in it changes.
    # No space: /D= takes the rest of the line, unquoted.
    mine="$work/Dokumenty-żółw"
    mkdir -p "$mine/docs"
    echo "moje" >"$mine/docs/keep.txt"
    echo "notatki" >"$mine/notes.txt"
    before=$(contents "$mine")
    status=0
    "$wine" "$PISMOLOT_SETUP" /S "/D=$(windows_path "$mine")" || status=$?
    ((status != 0)) || fail "setup.exe /S /D=<a folder of the user's> installed into it"
    [[ $(contents "$mine") == "$before" && $(find "$mine" | wc -l) == 4 ]] ||
        fail "setup.exe /S /D=<a folder of the user's> changed it: $(find "$mine" | tr '\n' ' ')"
    "$wine" reg query "$key" >/dev/null 2>&1 && fail "a refused install left an Apps & features entry"

    installed=(pismolot.exe pismolot-render.exe LICENSE.txt README.txt docs/guide.html odinstaluj.exe odinstaluj.lst)
    install() {
        "$wine" "$PISMOLOT_SETUP" /S || fail "setup.exe /S failed"
        for f in "${installed[@]}"; do
            [[ -f $place/$f ]] || fail "not installed: $folder_win\\$f"
        done
        [[ -f $menu ]] || fail "no Start-menu entry Pismolot"
        [[ -e $desktop ]] && fail "a desktop shortcut that was not chosen"
        local name value
        while IFS='|' read -r name value; do
            [[ $(reg_value "$key" "$name") == "$value" ]] ||
                fail "Apps & features: $name is \"$(reg_value "$key" "$name")\", not \"$value\""
        done <<EOT
DisplayName|Pismolot
DisplayVersion|$PISMOLOT_VERSION
Publisher|Pismolot developers
DisplayIcon|$folder_win\\pismolot.exe,0
InstallLocation|$folder_win
QuietUninstallString|"$folder_win\\odinstaluj.exe" /S
EOT
        # Its size in KiB, about that of the files.
        local size actual
        size=$(($(reg_value "$key" EstimatedSize)))
        actual=$(du -sk "$place" | cut -f1)
        ((size > actual / 2 && size < actual * 2)) || fail "EstimatedSize $size KiB for $actual KiB installed"
        [[ $("$wine" "$place/pismolot-render.exe" --version | tr -d '\r') == "pismolot-render $PISMOLOT_VERSION" ]] ||
            fail "the installed pismolot-render.exe does not run"
    }
    install
    grep -qa '<dpiAware[^>]*>true</dpiAware>' "$place/odinstaluj.exe" ||
        fail "the uninstaller's manifest does not declare it DPI aware"
    # Over an older version whose list named a file this one no longer
    # ships: that file goes, the user's own file in the folder stays.
    reg add "$key" /v DisplayVersion /t REG_SZ /d 0.9.0 /f
    printf 'docs\\stary.html\r\ndocs\\stare\\\r\n' >>"$place/odinstaluj.lst"
    mkdir -p "$place/docs/stare"
    echo old >"$place/docs/stary.html"
    echo "moje" >"$place/moje.txt"
    install
    [[ -e $place/docs/stary.html || -e $place/docs/stare ]] && fail "installing over an older version kept what it no longer ships"
    [[ $(cat "$place/moje.txt" 2>/dev/null) == moje ]] || fail "installing over an older version removed the user's file"

    # The uninstaller as Windows keeps it: it copies itself away and exits
    # at once, so a copy run with _?= gives its exit status.
    uninstall_status() {
        cp "$place/odinstaluj.exe" "$work/odinstaluj.exe"
        local status=0
        "$wine" "$work/odinstaluj.exe" /S "_?=$folder_win" || status=$?
        echo "$status"
    }
    # While the program runs nothing is removed and the entry stays.
    before=$(contents "$place")
    "$wine" "$place/pismolot.exe" >/dev/null 2>&1 &
    holder=$!
    [[ -n $(window Pismolot) ]] || fail "the installed program did not start"
    status=$(uninstall_status)
    ((status != 0)) || fail "the uninstaller said it succeeded while the program ran"
    [[ $(contents "$place") == "$before" ]] || fail "the uninstaller removed files while the program ran"
    [[ $(reg_value "$key" InstallLocation) == "$folder_win" ]] || fail "the uninstaller removed the entry while the program ran"
    "$wine" taskkill /f /im pismolot.exe >/dev/null 2>&1 || true
    kill "$holder" 2>/dev/null
    wait "$holder" 2>/dev/null || true
    # A file that another program holds open stays, named by the message,
    # and so do the uninstaller and the entry, to be run again.
    "$wine" "$PISMOLOT_HOLDFILE" "$folder_win\\README.txt" 100 >"$work/held" 2>&1 &
    holder=$!
    for _ in $(seq 100); do grep -q held "$work/held" && break; sleep 0.2; done
    grep -q held "$work/held" || fail "the file could not be held: $(cat "$work/held")"
    status=$(uninstall_status)
    ((status != 0)) || fail "the uninstaller said it succeeded with a file held open"
    [[ -f $place/README.txt ]] || fail "the held file is gone (the holder did not hold it)"
    [[ -f $place/odinstaluj.exe ]] || fail "the uninstaller removed itself though a file remains"
    [[ $(reg_value "$key" InstallLocation) == "$folder_win" ]] ||
        fail "the entry is gone though $folder_win\\README.txt remains"
    [[ -e $place/pismolot.exe ]] && fail "the uninstaller kept the files it could remove"
    kill "$holder" 2>/dev/null
    wait "$holder" 2>/dev/null || true
    holder=""
    # Run again, it removes the rest; the user's file stays, and with it
    # the folder.
    "$wine" "$place/odinstaluj.exe" /S || fail "odinstaluj.exe /S failed"
    for _ in $(seq 100); do [[ -e $place/odinstaluj.exe ]] || break; sleep 0.3; done
    left=$(cd "$place" 2>/dev/null && find . -mindepth 1 | sort | tr '\n' ' ')
    [[ $left == "./moje.txt " ]] || fail "the uninstaller left \"$left\" (only the user's moje.txt should stay)"
    [[ -e $menu ]] && fail "the uninstaller left the Start-menu entry"
    "$wine" reg query "$key" >/dev/null 2>&1 && fail "the uninstaller left the Apps & features entry"
    rm -rf "$place"
    ;;
signing)
    # The signing path, with a throwaway certificate: the programs, the
    # zip's programs, the installer and the uninstaller it puts down all
    # carry a signature that verifies, and the build's own stay unsigned.
    [[ -n $wine ]] || skip "Wine is not installed (Debian package wine64)"
    [[ -n ${PISMOLOT_MAKENSIS:-} ]] || skip "NSIS is not installed (Debian package nsis)"
    for tool in osslsigncode openssl unzip; do
        command -v $tool >/dev/null || skip "$tool is not installed (osslsigncode, openssl, unzip)"
    done
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
        -subj "/CN=Pismolot test" -addext "extendedKeyUsage=codeSigning" \
        -addext "keyUsage=critical,digitalSignature" 2>/dev/null &&
        openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/test.pfx" \
            -passout pass:test-haslo || { fail "no test certificate was made"; finish; }
    signed() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >/dev/null 2>&1; }
    for p in "${programs[@]}"; do
        signed "$build/zip-stage/$folder/$p.exe" && fail "$p.exe of an unsigned build carries a signature"
    done
    export PISMOLOT_SIGN_PFX="$work/test.pfx" PISMOLOT_SIGN_PASSWORD=test-haslo
    stage="$work/stage"
    cmake -DBUILD="$build" -DZIP="$work/signed.zip" -DFOLDER="$folder" -DSTRIP="$PISMOLOT_STRIP" \
        -DCHANGELOG="$PISMOLOT_SOURCE/data/changelog.in" -DSTAGE="$stage" -DSIGN="$PISMOLOT_SOURCE/scripts/sign" \
        -P "$PISMOLOT_SOURCE/cmake/PismolotZip.cmake" >"$work/zip.log" 2>&1 || { cat "$work/zip.log"; fail "the signed zip was not made"; finish; }
    cmake -DSTAGE="$stage/$folder" -DOUTFILE="$work/setup.exe" -DVERSION="$PISMOLOT_VERSION" -DICON="$PISMOLOT_ICO" \
        -DMAKENSIS="$PISMOLOT_MAKENSIS" -DNSI="$PISMOLOT_SOURCE/data/windows/pismolot.nsi" \
        -DCHANGELOG="$PISMOLOT_SOURCE/data/changelog.in" -DSIGN="$PISMOLOT_SOURCE/scripts/sign" \
        -P "$PISMOLOT_SOURCE/cmake/PismolotSetup.cmake" >"$work/setup.log" 2>&1 || { cat "$work/setup.log"; fail "the signed installer was not made"; finish; }
    unset PISMOLOT_SIGN_PFX PISMOLOT_SIGN_PASSWORD
    mkdir "$work/unzipped"
    unzip -q "$work/signed.zip" -d "$work/unzipped"
    for p in "${programs[@]}"; do
        signed "$work/unzipped/$folder/$p.exe" || fail "$p.exe in the signed zip carries no valid signature"
    done
    signed "$work/setup.exe" || fail "the installer carries no valid signature"
    # The installer puts down the signed programs and a signed uninstaller.
    into="$work/Zainstalowany"
    "$wine" "$work/setup.exe" /S "/D=$("$wine" winepath -w "$into" 2>/dev/null | tr -d '\r')" ||
        fail "the signed installer failed"
    for f in pismolot.exe pismolot-render.exe odinstaluj.exe; do
        signed "$into/$f" || fail "the installed $f carries no valid signature"
    done
    cmp -s "$into/pismolot.exe" "$work/unzipped/$folder/pismolot.exe" ||
        fail "the installer and the zip hold different programs"
    "$wine" "$into/odinstaluj.exe" /S || fail "the signed uninstaller failed"
    for _ in $(seq 100); do [[ -e $into ]] || break; sleep 0.3; done
    [[ -e $into ]] && fail "the signed uninstaller left $(find "$into" | tr '\n' ' ')"
    ;;
replace)
    # pismolot-render.exe replacing files as Windows keeps them: paths around
    # the length limit, a file another program holds for a moment or for
    # long, and a hidden file that stays hidden.
    [[ -n $wine ]] || skip "Wine is not installed (Debian package wine64)"
    render=$build/pismolot-render.exe
    work=$(mktemp -d)
    holder_pid=""
    trap '[[ -n $holder_pid ]] && kill "$holder_pid" 2>/dev/null; rm -rf "$work"' EXIT
    windows_path() { echo "Z:${1//\//\\}"; }
    "$wine" "$render" -o "$work/wzór.bmp" "Stary" || fail "the renderer failed"
    old_size=$(stat -c %s "$work/wzór.bmp")
    # LENGTH of the whole Windows path: written whole up to 259, refused from
    # 260 on; nothing else is left in the folder either way.
    folder="$work/długie"
    mkdir "$folder"
    prefix="$(windows_path "$folder")\\"
    # 259 is also written over an existing file: ReplaceFileW's names.
    for length in 250 258 259 259 260 261; do
        name=$(printf 'n%.0s' $(seq $((length - ${#prefix} - 4)))).bmp
        [[ $name == "${previous:-}" ]] || rm -f "$folder"/*
        previous=$name
        status=0
        message=$("$wine" "$render" -o "$prefix$name" "Długa ścieżka" 2>&1) || status=$?
        if ((length <= 259)); then
            ((status == 0)) || fail "a path of $length characters was not written: ${message//$'\r'/}"
            [[ $(head -c 2 "$folder/$name" 2>/dev/null) == BM ]] || fail "no BMP at a path of $length characters"
        else
            ((status == 1)) || fail "a path of $length characters ended with $status, not 1"
            [[ $message == *"longer than the 259 characters"* ]] || fail "a path of $length characters: ${message//$'\r'/}"
        fi
        others=$(ls -A "$folder" | grep -v -x -e "$name" || true)
        [[ -z $others ]] || fail "a path of $length characters left: $others"
    done

    # hold FILE MILLISECONDS: another program holds FILE, until MILLISECONDS
    # after the renderer's temporary file shows; back once it has FILE.
    hold() {
        rm -f "$work/held"
        "$wine" "$PISMOLOT_HOLDFILE" "$(windows_path "$1")" "$2" >"$work/held" 2>&1 &
        holder_pid=$!
        for _ in $(seq 100); do
            grep -q held "$work/held" 2>/dev/null && return 0
            sleep 0.1
        done
        fail "the holding program did not take $1: $(cat "$work/held")"
    }
    target="$work/trzymany.bmp"
    if [[ -n ${PISMOLOT_HOLDFILE:-} && -f $PISMOLOT_HOLDFILE ]]; then
        cp "$work/wzór.bmp" "$target"
        hold "$target" 500
        status=0
        message=$("$wine" "$render" --size 40 -o "$target" "Nowy" 2>&1) || status=$?
        wait "$holder_pid" || true
        holder_pid=""
        ((status == 0)) || fail "a file held for a moment was not replaced: ${message//$'\r'/}"
        [[ $(stat -c %s "$target") != "$old_size" ]] || fail "a file held for a moment still holds the old picture"
        cp "$work/wzór.bmp" "$target"
        hold "$target" 6000
        status=0
        message=$("$wine" "$render" --size 40 -o "$target" "Nowy" 2>&1) || status=$?
        ((status == 1)) || fail "a file held for long: the renderer ended with $status, not 1"
        [[ $message == *"open in another program"* ]] || fail "a file held for long: ${message//$'\r'/}"
        wait "$holder_pid" || true
        holder_pid=""
        cmp -s "$target" "$work/wzór.bmp" || fail "a file held for long lost its old picture"
        left=$(cd "$work" && ls -A | grep -v -x -e wzór.bmp -e trzymany.bmp -e długie -e held || true)
        [[ -z $left ]] || fail "the held file's save left: $left"
    else
        fail "the holding program is missing (the pismolot_holdfile target)"
    fi

    # A hidden file stays hidden when replaced (Wine keeps the attribute).
    hidden="$work/ukryty.bmp"
    cp "$work/wzór.bmp" "$hidden"
    "$wine" attrib +h "$(windows_path "$hidden")" >/dev/null 2>&1 || fail "attrib +h failed"
    # attrib prints the attribute letters, then the name.
    attributes=$("$wine" attrib "$(windows_path "$hidden")" 2>/dev/null | tr -d '\r')
    [[ ${attributes%%Z:*} == *H* ]] || fail "Wine did not make the file hidden: $attributes"
    "$wine" "$render" --size 40 -o "$hidden" "Ukryty" || fail "the hidden file was not replaced"
    cmp -s "$hidden" "$work/wzór.bmp" && fail "the hidden file still holds the old picture"
    attributes=$("$wine" attrib "$(windows_path "$hidden")" 2>/dev/null | tr -d '\r')
    [[ ${attributes%%Z:*} == *H* ]] || fail "the replaced file is no longer hidden: $attributes"
    ;;
devices)
    # Windows' device names: only the bare NUL writes nothing; CON is the
    # console; every device name with an extension is refused, and nothing
    # is written anywhere.
    [[ -n $wine ]] || skip "Wine is not installed (Debian package wine64)"
    render=$build/pismolot-render.exe
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cd "$work"
    for name in NUL nul; do
        status=0
        out=$("$wine" "$render" -o "$name" "Nic" 2>&1) || status=$?
        ((status == 0)) || fail "-o $name ended with $status: ${out//$'\r'/}"
        [[ -z $out ]] || fail "-o $name said: ${out//$'\r'/}"
    done
    for name in nul.bmp con.png com1.bmp; do
        status=0
        out=$("$wine" "$render" -o "$name" "Nic" 2>&1) || status=$?
        ((status == 1)) || fail "-o $name ended with $status, not 1"
        [[ $out == *"Windows does not allow this file name"* ]] || fail "-o $name said: ${out//$'\r'/}"
    done
    # The rest in one batch, each line refused on its own (the bare NUL
    # line writes nothing and says nothing).
    names=(lpt1.x 'COM¹.bmp' 'lpt³.png' 'conout$.txt' 'conin$' 'aux .bmp' 'Nul.tar.gz')
    status=0
    out=$({ printf '%s\tNic\n' "${names[@]}" NUL; } | "$wine" "$render" --format bmp --batch - 2>&1) || status=$?
    out=${out//$'\r'/}
    ((status == 1)) || fail "the batch of device names ended with $status, not 1"
    for i in "${!names[@]}"; do
        [[ $out == *"$((i + 1)): cannot write \"${names[i]}\": Windows does not allow this file name"* ]] ||
            fail "batch line ${names[i]} was not refused as a reserved name: $out"
    done
    (($(grep -c . <<<"$out") == ${#names[@]})) || fail "the batch said more than its refusals: $out"
    left=$(ls -A)
    [[ -z $left ]] || fail "device names left files behind: $left"
    # CON is the console, refused as a terminal is: run on a terminal, so
    # that Wine gives the program a console, its message into a file.
    status=0
    script -qec "'$wine' '$render' -o CON Konsola 2>'$work/con.txt'" /dev/null >/dev/null 2>&1 ||
        status=$?
    out=$(tr -d '\r' <"$work/con.txt")
    ((status == 2)) || fail "-o CON ended with $status, not 2: $out"
    [[ $out == *"is a terminal"* ]] || fail "-o CON said: $out"
    cd /
    ;;
*)
    echo "unknown step $step" >&2
    exit 2
    ;;
esac
finish
