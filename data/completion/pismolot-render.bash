# bash completion for pismolot-render                         -*- shell-script -*-

# Offers the lines of standard input that begin with the word being
# completed. Unquoted, each is escaped, since style and font names hold
# blanks; after an opening quote readline keeps the quote, and the name goes
# in as it is.
_pismolot_render_matching() {
    local cur="$1" quoted=false item
    case "$cur" in
    \"* | \'*)
        quoted=true
        cur="${cur:1}"
        cur="${cur%[\"\']}"
        ;;
    *) cur="${cur//\\/}" ;;
    esac
    while IFS= read -r item; do
        [[ -n "$item" && "$item" == "$cur"* ]] || continue
        if $quoted; then
            COMPREPLY+=("$item")
        else
            COMPREPLY+=("$(printf '%q' "$item")")
        fi
    done
}

_pismolot_render() {
    local cur="${COMP_WORDS[COMP_CWORD]}"
    local prev="${COMP_WORDS[COMP_CWORD - 1]}"
    COMPREPLY=()
    # "--style=Sz" reaches us as "--style" "=" "Sz" where "=" breaks words,
    # and as one word where it does not.
    if [[ "$cur" == "=" ]]; then
        cur=""
    elif [[ "$prev" == "=" && COMP_CWORD -ge 2 ]]; then
        prev="${COMP_WORDS[COMP_CWORD - 2]}"
    elif [[ "$cur" == --*=* ]]; then
        prev="${cur%%=*}"
        cur="${cur#*=}"
    fi

    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ "${COMP_WORDS[i]}" == "--" ]] && return 0 # only TEXT follows
    done

    case "$prev" in
    --style)
        _pismolot_render_matching "$cur" <<'EOF'
Różowo granatowy
Niebieski
Różowo błękitny
Szary
Fioletowy
Czerwony
Żółty
Losowe kreski
Pomarańczowo - zielony
Zielony
Śmieszny - czerwony
Zielono - pomarańczowy
Fioletowo - zielony
EOF
        return 0
        ;;
    --format)
        _pismolot_render_matching "$cur" <<'EOF'
bmp
png
jpg
jpeg
ppm
webp
svg
pdf
EOF
        return 0
        ;;
    --font)
        _pismolot_render_matching "$cur" < <("${COMP_WORDS[0]}" --list-fonts 2>/dev/null)
        return 0
        ;;
    -o | --output | --text-file | --batch)
        [[ "-" == "$cur"* ]] && COMPREPLY+=("-")
        if declare -F _filedir >/dev/null; then
            _filedir
        else
            compopt -o filenames 2>/dev/null
            COMPREPLY+=($(compgen -f -- "$cur"))
        fi
        return 0
        ;;
    --jobs)
        # The processors' count once, where it is 1, 2 or 4 too.
        COMPREPLY=($(compgen -W "$(printf '%s\n' 1 2 4 $(nproc 2>/dev/null) | sort -nu)" -- "$cur"))
        return 0
        ;;
    --dpi)
        COMPREPLY=($(compgen -W "96 120 144 168 192" -- "$cur"))
        return 0
        ;;
    --screen)
        COMPREPLY=($(compgen -W "1920x1080 2560x1440 3840x2160" -- "$cur"))
        return 0
        ;;
    --size | --background)
        return 0 # a number or a colour of the user's own
        ;;
    esac

    if [[ "$cur" == -* ]]; then
        COMPREPLY=($(compgen -W "-o --output --format --transparent --text-file --font --size
            --bold --italic --underline --style --background --screen --dpi --batch --jobs
            --list-styles --list-fonts --list-formats -h --help --version --" -- "$cur"))
    fi
    return 0
}

complete -F _pismolot_render pismolot-render
